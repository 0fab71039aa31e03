#include "common/fakedialogs.h"
#include "common/testfiles.h"

#include "app/tform1.h"
#include "app/ui/tupdown.h"
#include "core/programstate.h"
#include "setup/setupimage.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>
#include <unistd.h>

namespace {

SetupImage& image() {
    return programState().image;
}

QByteArray imageBytes() {
    return QByteArray(reinterpret_cast<const char*>(image().bytes.data()), SetupImage::Size);
}

const QByteArray DefaultFile("\x01\x3c\x14\x14\x01\x01\x2f\x00\x01\x00"
                             "\x00\x00\x00\x01\x02\x01\x03\x00\x00\x00",
                             20);
const QString Rejected = QString::fromUtf8("Keine gültige Altorin Setup-Datei!");

} // namespace

class TestSetupCommands : public QObject {
    Q_OBJECT

    FakeDialogs fake;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<QTemporaryDir> dir;

    QString path(const char* name) const { return dir->filePath(QString::fromLatin1(name)); }

    void load(const QString& file) {
        fake.fileAnswers = {file};
        form->Setupladen1Click();
    }
    void save(const QString& chosen) {
        fake.fileAnswers = {chosen};
        form->Setupspeichern1Click();
    }
    // What the window shows, to see that a command left it alone.
    QStringList windowState() const {
        QStringList state;
        for (QLineEdit* memo : form->findChildren<QLineEdit*>())
            if (memo->objectName().startsWith(QLatin1String("Memo")))
                state << memo->objectName() + QLatin1Char('=') + memo->text();
        for (QAbstractButton* b : form->findChildren<QAbstractButton*>())
            if (b->isCheckable())
                state << b->objectName() + QLatin1Char('=') + QString::number(b->isChecked());
        for (TUpDown* s : form->findChildren<TUpDown*>())
            state << s->objectName() + QLatin1Char('=') + QString::number(s->position());
        return state;
    }
    void expectDefaultOnWindow() {
        QCOMPARE(form->Memo3->text(), QStringLiteral("60"));
        QCOMPARE(form->Memo6->text(), QStringLiteral("4.7"));
        QCOMPARE(form->Memo1->text(), QStringLiteral("433.075"));
        QVERIFY(form->RadioButton7->isChecked());
        QVERIFY(form->CheckBox3->isChecked());
        QCOMPARE(form->UpDown2->position(), 60);
    }

  private slots:
    void init() {
        resetProgramState();
        dir = std::make_unique<QTemporaryDir>();
        form = std::make_unique<TForm1>();
        LoadDefaultSetup(image());
        form->ShowSetupImage();
        fake.infos.clear();
        fake.errors.clear();
        fake.dialogsRun.clear();
        fake.selectedNames.clear();
    }
    void cleanup() {
        form.reset();
        dir.reset();
    }

    void saveAfterStartAndOnlyTheFolderCounts() {
        form->SaveDialog2->setProperty("fileName", QStringLiteral("OTHER.HEX"));
        QVERIFY(writeBytes(path("SETUPUPL.HEX"), QByteArray(30, 'x')));
        save(path("MYSETUP.HEX"));
        QCOMPARE(fake.dialogsRun, QStringList{"SaveDialog2"});
        QCOMPARE(fake.selectedNames, QStringList{"SETUPUPL.HEX"});
        QCOMPARE(readBytes(path("SETUPUPL.HEX")), DefaultFile);
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList{"SETUPUPL.HEX"});
        // The name is proposed again on every run.
        save(QString());
        QCOMPARE(fake.selectedNames.last(), QStringLiteral("SETUPUPL.HEX"));
        QCOMPARE(fake.errors, QStringList());
        QCOMPARE(fake.infos, QStringList());
    }

    void editedValuesRoundTrip() {
        // Channel 26, 13.0 V and 2.6 Ah put 26 into the file; "keine Ansage"
        // of setup 3 puts 60 there and must come back ticked.
        TForm1& f = *form;
        for (int i = 0; i < 25; ++i)
            QTest::mouseClick(f.UpDown1->upButton(), Qt::LeftButton);
        QTest::mouseClick(f.CheckBox3, Qt::LeftButton, {}, QPoint(6, f.CheckBox3->height() / 2));
        for (int i = 0; i < 16; ++i)
            QTest::mouseClick(f.UpDown8->upButton(), Qt::LeftButton);
        for (int i = 0; i < 21; ++i)
            QTest::mouseClick(f.UpDown11->upButton(), Qt::LeftButton);
        QTest::mouseClick(f.CheckBox1, Qt::LeftButton, {}, QPoint(6, f.CheckBox1->height() / 2));
        QCOMPARE(int(image()[0]), 26);
        QCOMPARE(int(image()[12]), 26);
        QCOMPARE(int(image()[17]), 26);
        QCOMPARE(int(image()[3]), 60);
        const QStringList shown = windowState();
        const QByteArray saved = imageBytes();
        save(path("x"));

        form->SetupGrundeinstellung1Click();
        load(path("SETUPUPL.HEX"));
        QCOMPARE(imageBytes(), saved);
        QCOMPARE(windowState(), shown);
    }

    void fileLengths_data() {
        QTest::addColumn<int>("size");
        for (int size : {0, 15, 16, 20, 21})
            QTest::addRow("%d bytes", size) << size;
    }
    void fileLengths() {
        QFETCH(int, size);
        const bool valid = size >= 16 && size <= 20;
        image()[19] = 77;
        QByteArray content(size, '\0');
        for (int k = 0; k < size; ++k)
            content[k] = char(100 + k);
        QVERIFY(writeBytes(path("SETUPUPL.HEX"), content));
        load(path("SETUPUPL.HEX"));
        QCOMPARE(fake.dialogsRun, QStringList{"OpenDialog2"});
        QCOMPARE(fake.errors, QStringList());
        if (!valid) {
            QCOMPARE(fake.infos, QStringList{Rejected});
            // A rejected file leaves no byte behind, byte 19 included.
            QByteArray expected = DefaultFile;
            expected[19] = 77;
            QCOMPARE(imageBytes().toHex(' '), expected.toHex(' '));
            expectDefaultOnWindow();
            return;
        }
        QCOMPARE(fake.infos, QStringList());
        QByteArray expected = DefaultFile;
        expected[19] = 77;
        expected.replace(0, size, content);
        QCOMPARE(imageBytes().toHex(' '), expected.toHex(' '));
        QCOMPARE(form->Memo3->text(), QStringLiteral("101"));
        QCOMPARE(form->UpDown2->position(), 101);
    }

    void loadFailuresChangeNothing_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing") << QStringLiteral("/nonexistent/SETUPUPL.HEX")
                                 << QStringLiteral("Datei nicht gefunden");
        QTest::newRow("folder") << QStringLiteral("/tmp")
                                << QStringLiteral("Dateizugriff verweigert");
        QTest::newRow("read error")
            << QStringLiteral("/proc/self/mem") << QStringLiteral("E/A-Fehler 5");
    }
    void loadFailuresChangeNothing() {
        QFETCH(QString, file);
        QFETCH(QString, message);
        QTest::mouseClick(form->UpDown2->upButton(), Qt::LeftButton);
        const QByteArray before = imageBytes();
        const QStringList shown = windowState();
        load(file);
        QCOMPARE(fake.errors, QStringList{message});
        QCOMPARE(fake.infos, QStringList());
        QCOMPARE(imageBytes(), before);
        QCOMPARE(windowState(), shown);
    }

    void cancelChangesNothing() {
        QTest::mouseClick(form->UpDown2->upButton(), Qt::LeftButton);
        const QByteArray before = imageBytes();
        const QStringList shown = windowState();
        load(QString());
        save(QString());
        QCOMPARE(fake.dialogsRun, (QStringList{"OpenDialog2", "SaveDialog2"}));
        QCOMPARE(imageBytes(), before);
        QCOMPARE(windowState(), shown);
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files), QStringList());
        QCOMPARE(fake.errors + fake.infos, QStringList());
    }

    void saveFailures() {
        save(path("missing/SETUPUPL.HEX"));
        QCOMPARE(fake.errors, QStringList{"Datei nicht gefunden"});

        // Root writes into a chmod-ed folder, so it gets sysfs instead.
        QString denied = QStringLiteral("/sys/SETUPUPL.HEX");
        if (geteuid() != 0) {
            QVERIFY(QDir(dir->path()).mkdir(QStringLiteral("ro")));
            QVERIFY(QFile::setPermissions(path("ro"), QFile::ReadOwner | QFile::ExeOwner));
            denied = path("ro/SETUPUPL.HEX");
        }
        save(denied);
        QCOMPARE(fake.errors.last(), QStringLiteral("Dateizugriff verweigert"));
        QCOMPARE(imageBytes(), DefaultFile);
    }

    void defaultSetupAfterEdits() {
        TForm1& f = *form;
        image()[19] = 9;
        QTest::mouseClick(f.UpDown2->upButton(), Qt::LeftButton);
        QTest::mouseClick(f.RadioButton9, Qt::LeftButton, {}, QPoint(6, 8));
        QTest::mouseClick(f.CheckBox3, Qt::LeftButton, {}, QPoint(6, f.CheckBox3->height() / 2));
        QTest::mouseClick(f.RadioButton22, Qt::LeftButton, {}, QPoint(6, 8));
        form->SetupGrundeinstellung1Click();
        QByteArray expected = DefaultFile;
        expected[19] = 9;
        QCOMPARE(imageBytes().toHex(' '), expected.toHex(' '));
        expectDefaultOnWindow();
        QVERIFY(f.RadioButton21->isChecked());
        QCOMPARE(image().valueMode, 1);
        QCOMPARE(fake.infos + fake.errors, QStringList());
    }
};

QTEST_MAIN(TestSetupCommands)
#include "tst_setup_commands.moc"
