#include "core/programstate.h"
#include "core/settingsfile.h"
#include "app/tform1.h"
#include "app/ui/tupdown.h"
#include "common/fakedialogs.h"
#include "setup/setupmodel.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

namespace {

const QString Title407 = QStringLiteral("AltorinTool V0.45 für   Altorin   bis Version 407x");
const QString Title500 = QStringLiteral("AltorinTool V0.45 für   Altorin   ab Version 500");
const QString TitleDuo = QStringLiteral("AltorinTool V0.45 für   Altorin Duo   ab Version 500");
const QString DesignTitle = QStringLiteral("Altorin Tool ");
const QString CannotWrite = QStringLiteral("In AltorinTool.ini kann nicht geschrieben werden.");

QString reminder(const char* variant) {
    return QStringLiteral("Wichtig: Das AltorinTool muss die korrekte Firmware des Variometers "
                          "kennen!\r\rGewählt ist:         Altorin ") +
           QLatin1String(variant) +
           QStringLiteral("\r\rFirmware-Version gegebenenfalls im Menue >Einstellungen< "
                          "angepasst werden!");
}

QByteArray settingsText(int top, int left, int width, int height, int version, int duo,
                        int language) {
    return QStringLiteral("[Top]\nTop=%1\n[Left]\nLeft=%2\n[Width]\nWidth=%3\n[Height]\n"
                          "Height=%4\n[AR_Version]\nAR_Version=%5\n[OptionInt]\nOptionInt=%6\n"
                          "[english]\nenglish=%7\n")
        .arg(top)
        .arg(left)
        .arg(width)
        .arg(height)
        .arg(version)
        .arg(duo)
        .arg(language)
        .toLatin1();
}

std::array<quint8, 19> defaultBytes() {
    SetupImage image;
    LoadDefaultSetup(image);
    std::array<quint8, 19> bytes;
    std::copy_n(image.bytes.begin(), 19, bytes.begin());
    return bytes;
}

} // namespace

class TestShellWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakeDialogs> fake;
    std::unique_ptr<TForm1> form;

    void writeSettings(const QByteArray& content) {
        QFile file(settingsFilePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    QByteArray settingsContent() const {
        QFile file(settingsFilePath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<no file>");
    }
    // The controls that only firmware from V500 offers.
    QList<QWidget*> lateControls() const {
        return {form->RadioButton29, form->CheckBox4, form->UpDown9, form->Memo10,
                form->Label22,       form->Label19,   form->Label20, form->GroupBox19,
                form->GroupBox20,    form->GroupBox21};
    }
    void verifyLateControlsHidden(bool hidden) {
        for (QWidget* control : lateControls())
            QVERIFY2(control->isHidden() == hidden, qPrintable(control->objectName()));
        QVERIFY(!form->GroupBox14->isHidden());
        QVERIFY(!form->RadioButton21->isHidden());
        QVERIFY(!form->RadioButton22->isHidden());
    }
    void blockSettingsFolder() {
        QFile blocker(dir->filePath("blocker"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        setSettingsFolder(blocker.fileName());
    }
    void runCommand(const QString& command) {
        if (command == "407")
            form->bisV407x1->trigger();
        else if (command == "500")
            form->abV408x1->trigger();
        else
            form->Duo_ab50x->trigger();
    }

  private slots:
    void init() {
        resetProgramState();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        setSettingsFolder(dir->path());
        fake = std::make_unique<FakeDialogs>(); // FormCreate shows the reminder
    }
    void cleanup() {
        form.reset();
        fake.reset();
        setSettingsFolder(QString());
        dir.reset();
    }

    // The setup table and the window's layout name the same controls: each
    // in its setup's group (setup 0's spinner on the window, over its group),
    // and firmware 407 hides exactly those the table gives it.
    void setupTableMatchesTheWindow() {
        form = std::make_unique<TForm1>(); // firmware 407 without settings
        const QWidget* canvas = form->findChild<QWidget*>(QStringLiteral("canvas"));
        for (const SetupDefinition& s : setupDefinitions()) {
            const QGroupBox* group = form->findChild<QGroupBox*>(QLatin1String(s.group));
            QVERIFY2(group, s.group);
            QList<const char*> names{s.spinner, s.display,          s.unit,
                                     s.box,     s.frequencyDisplay, s.displayLabel};
            names.append(QList<const char*>(s.labels.begin(), s.labels.end()));
            for (const SetupOption& option : s.options)
                names << option.button;
            for (const char* name : names) {
                if (!name)
                    continue;
                const QWidget* control = form->findChild<QWidget*>(QLatin1String(name));
                QVERIFY2(control, name);
                const bool onWindow = s.kind == SetupKind::Channel && name == s.spinner;
                QVERIFY2(onWindow ? control->parentWidget() == canvas
                                  : group->isAncestorOf(control),
                         name);
            }
        }
        const auto hiddenControls = [&] {
            QStringList names;
            // Every control is named; unnamed parts of controls are left aside.
            for (const QWidget* w : canvas->findChildren<QWidget*>())
                if (w->isHidden() && !w->objectName().isEmpty())
                    names << w->objectName();
            names.sort();
            return names;
        };
        QStringList late = lateFirmwareControls();
        late.sort();
        QCOMPARE(hiddenControls(), late);
        runCommand("500");
        QCOMPARE(hiddenControls(), QStringList());
    }

    void firstStartWithoutSettingsFile() {
        form = std::make_unique<TForm1>();
        QCOMPARE(form->pos(), QPoint(239, 160));
        QCOMPARE(form->size(), QSize(865, 784));
        QCOMPARE(form->windowTitle(), Title407);
        QCOMPARE(fake->infos, QStringList{reminder("407x")});
        QVERIFY(fake->errors.isEmpty());
        // German design-time captions, not the German table.
        QCOMPARE(form->GroupBox1->title(), QStringLiteral("Setup 0  Sendekanal / Sendefrequenz"));
        QCOMPARE(form->Label1->text(), QStringLiteral("Sendekanal"));
        QCOMPARE(form->FirmwareVersiondesAltorin1->title(),
                 QStringLiteral("Altorin Firmware Version einstellen"));
        QCOMPARE(form->bisV407x1->text(), QStringLiteral("Altorin        bis V. 407x"));
        verifyLateControlsHidden(true);
        // The default setup stands in the image and on the controls.
        const ProgramState& state = programState();
        QVERIFY(std::equal(state.image.bytes.begin(), state.image.bytes.begin() + 19,
                           defaultBytes().begin()));
        QCOMPARE(state.image.announcementStep, 0);
        QCOMPARE(state.firmware.version, 407);
        QCOMPARE(state.language, 0);
        QCOMPARE(form->Memo3->text(), QStringLiteral("60"));
        QCOMPARE(form->Memo13->text(), QStringLiteral("3"));
        QVERIFY(!QFile::exists(settingsFilePath())); // start writes nothing
    }

    void startWithStoredSettings_data() {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("lateHidden");
        QTest::addColumn<QPoint>("pos");
        QTest::addColumn<QSize>("size");
        const QPoint designPos(239, 160);
        const QSize designSize(865, 784);
        QTest::newRow("Duo") << settingsText(10, 20, 700, 600, 500, 1, 0) << TitleDuo
                             << reminder("Duo 500x") << false << QPoint(20, 10) << QSize(700, 600);
        QTest::newRow("408") << QByteArray("[AR_Version]\nAR_Version=408\n") << DesignTitle
                             << reminder("408x") << false << designPos << designSize;
        QTest::newRow("Duo flag 2")
            << QByteArray("[AR_Version]\nAR_Version=500\n[OptionInt]\nOptionInt=2\n") << DesignTitle
            << reminder("500x") << false << designPos << designSize;
        // A window partly off the screen is moved inside.
        QTest::newRow("hex, garbage, negative")
            << QByteArray("[AR_Version]\nAR_Version=0x1F4\n[Top]\nTop=abc\n[Left]\nLeft=-20\n"
                          "[Height]\nHeight=\n")
            << Title500 << reminder("500x") << false << QPoint(0, 160) << designSize;
        QTest::newRow("one common section")
            << QByteArray("[AltorinTool]\nTop=1\nLeft=2\nAR_Version=500\nOptionInt=1\n") << Title407
            << reminder("407x") << true << designPos << designSize;
    }
    void startWithStoredSettings() {
        QFETCH(QByteArray, file);
        QFETCH(QString, title);
        QFETCH(QString, shown);
        QFETCH(bool, lateHidden);
        QFETCH(QPoint, pos);
        QFETCH(QSize, size);
        writeSettings(file);
        form = std::make_unique<TForm1>();
        QCOMPARE(form->windowTitle(), title);
        QCOMPARE(fake->infos, QStringList{shown});
        verifyLateControlsHidden(lateHidden);
        QCOMPARE(form->pos(), pos);
        QCOMPARE(form->size(), size);
        QCOMPARE(settingsContent(), file); // reading never writes
    }

    void startWithLanguageFlag() {
        writeSettings("[english]\nenglish=1\n");
        form = std::make_unique<TForm1>();
        QCOMPARE(form->GroupBox1->title(), QStringLiteral("Setup 0 Channel / Frequency"));
        QCOMPARE(form->GroupBox11->title(), QStringLiteral("Setup 10  Pitot-Speed-Sensor Auswahl"));
        QCOMPARE(form->FirmwareVersiondesAltorin1->title(),
                 QStringLiteral("Pellimar Firmware Version einstellen"));
        QCOMPARE(form->windowTitle(), Title407); // title and reminder stay German
        QCOMPARE(fake->infos, QStringList{reminder("407x")});
        form.reset();

        // Any flag but 1 starts German and is kept until a language is chosen.
        resetProgramState();
        writeSettings("[english]\nenglish=2\n");
        form = std::make_unique<TForm1>();
        QCOMPARE(form->GroupBox1->title(), QStringLiteral("Setup 0  Sendekanal / Sendefrequenz"));
        QCOMPARE(programState().language, 2);
        form->Proframmbeenden1->trigger();
        QVERIFY(settingsContent().startsWith("[english]\nenglish=2\n[Top]"));
    }

    void quitSavesButClosingDoesNot() {
        form = std::make_unique<TForm1>();
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        form->move(300, 200);
        form->resize(700, 500);
        form->close(); // title bar: nothing written
        QVERIFY(!QFile::exists(settingsFilePath()));

        form->show();
        form->Proframmbeenden1->trigger();
        QVERIFY(!form->isVisible());
        QCOMPARE(settingsContent(), settingsText(200, 300, 700, 500, 407, 0, 0));
        form.reset();

        // The next start opens where "Programm beenden" left the window.
        resetProgramState();
        form = std::make_unique<TForm1>();
        QCOMPARE(form->pos(), QPoint(300, 200));
        QCOMPARE(form->size(), QSize(700, 500));
        form->move(50, 60);
        form->close();
        QCOMPARE(settingsContent(), settingsText(200, 300, 700, 500, 407, 0, 0));
    }

    void quitFailureKeepsTheWindowOpen() {
        form = std::make_unique<TForm1>();
        form->show();
        blockSettingsFolder();
        form->Proframmbeenden1->trigger();
        QCOMPARE(fake->errors, QStringList{CannotWrite});
        QVERIFY(form->isVisible());
    }

    void infoBox() {
        form = std::make_unique<TForm1>();
        fake->infos.clear();
        form->Info1->trigger();
        QCOMPARE(fake->infos.size(), 1);
        const QStringList lines = fake->infos.first().split('\r');
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0], QStringLiteral("AltorinTool für Norwen Variometer QZ Altorin"));
        QCOMPARE(lines[1], QStringLiteral("V0.45"));
        QCOMPARE(lines[2],
                 QStringLiteral("Zur Setup-Erstellung und Konvertierung der Logger-Daten"));
        QVERIFY(lines[4].startsWith(QStringLiteral("Download unter User Info bei ")));
    }

    void firmwareCommandFromEachVariant_data() {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("title");
        const QList<QPair<const char*, QByteArray>> starts = {
            {"407", "[AR_Version]\nAR_Version=407\n"},
            {"500", "[AR_Version]\nAR_Version=500\n"},
            {"Duo", "[AR_Version]\nAR_Version=500\n[OptionInt]\nOptionInt=1\n"}};
        const QList<QPair<const char*, QString>> commands = {
            {"407", Title407}, {"500", Title500}, {"Duo", TitleDuo}};
        for (const auto& start : starts)
            for (const auto& command : commands)
                QTest::addRow("%s to %s", start.first, command.first)
                    << start.second << QString::fromLatin1(command.first) << command.second;
    }
    void firmwareCommandFromEachVariant() {
        QFETCH(QByteArray, from);
        QFETCH(QString, command);
        QFETCH(QString, title);
        writeSettings(from);
        form = std::make_unique<TForm1>();
        form->move(30, 40);
        QTest::mouseClick(form->UpDown2->upButton(), Qt::LeftButton); // thrown away below
        QCOMPARE(form->Memo3->text(), QStringLiteral("70"));
        runCommand(command);

        const bool to407 = command == "407";
        const qint32 duo = command == "Duo" ? 1 : 0;
        QCOMPARE(form->windowTitle(), title);
        verifyLateControlsHidden(to407);
        QCOMPARE(programState().firmware.version, to407 ? 407 : 500);
        QCOMPARE(programState().firmware.duo, duo);
        // The variant entries replaced in place, the others appended in order.
        const QByteArray version = to407 ? "407" : "500";
        const QByteArray geometry =
            "[Top]\nTop=40\n[Left]\nLeft=30\n[Width]\nWidth=865\n[Height]\nHeight=784\n";
        const QByteArray option = "[OptionInt]\nOptionInt=" + QByteArray::number(duo) + "\n";
        const QByteArray expected =
            "[AR_Version]\nAR_Version=" + version + "\n" +
            (from.contains("OptionInt") ? option + geometry : geometry + option) +
            "[english]\nenglish=0\n";
        QCOMPARE(settingsContent(), expected);
        // The reset image is what the controls show, setup 13 switched off.
        const SetupImage& image = programState().image;
        QVERIFY(std::equal(image.bytes.begin(), image.bytes.begin() + 19, defaultBytes().begin()));
        QCOMPARE(form->Memo3->text(), QStringLiteral("60"));
        QCOMPARE(image.announcementStep, 0);
        QVERIFY(!form->CheckBox4->isChecked());
        QVERIFY(form->CheckBox5->isChecked());
        QVERIFY(form->Memo10->text().isEmpty());
        QVERIFY(form->Memo14->text().isEmpty());
        QVERIFY(form->Memo15->text().isEmpty());
        QCOMPARE(form->Memo13->text(), QStringLiteral("3"));
        QVERIFY(fake->errors.isEmpty());
    }

    void ab50KeepsValueModeTwo() {
        form = std::make_unique<TForm1>();
        form->RadioButton22->click();
        QCOMPARE(programState().image[13], quint8(2));
        form->abV408x1->trigger();
        QCOMPARE(programState().image[13], quint8(2));
        QVERIFY(form->RadioButton22->isChecked());
        QCOMPARE(form->UpDown9->position(), 1);
        QVERIFY(!form->CheckBox4->isChecked());
        QVERIFY(form->CheckBox5->isChecked());
    }

    void duoSwitchesTheAnnouncementOff() {
        writeSettings("[AR_Version]\nAR_Version=500\n");
        form = std::make_unique<TForm1>();
        form->CheckBox4->click();
        QTest::mouseClick(form->UpDown9->upButton(), Qt::LeftButton);
        QCOMPARE(programState().image[13], quint8(5));
        QCOMPARE(form->Memo10->text(), QStringLiteral("5"));
        form->CheckBox5->click(); // capacity alarm on: byte 18 from the spinner
        QVERIFY(programState().image[18] != 0);
        QVERIFY(!form->Memo15->text().isEmpty());

        form->Duo_ab50x->trigger();
        const SetupImage& image = programState().image;
        QCOMPARE(image[13], quint8(1));
        QCOMPARE(image.announcementStep, 0);
        QVERIFY(!form->CheckBox4->isChecked());
        QVERIFY(form->Memo10->text().isEmpty());
        // The whole reset image is shown: step 0 puts the spinner at its lower end.
        QCOMPARE(form->UpDown9->position(), 1);
        QCOMPARE(image[18], quint8(0));
        QVERIFY(form->CheckBox5->isChecked());
        QVERIFY(form->Memo15->text().isEmpty());
        QCOMPARE(programState().firmware.duo, 1);
        QCOMPARE(form->windowTitle(), TitleDuo);
    }

    void bis407DropsTheAnnouncement() {
        writeSettings("[AR_Version]\nAR_Version=500\n");
        form = std::make_unique<TForm1>();
        form->CheckBox4->click();
        QTest::mouseClick(form->UpDown9->upButton(), Qt::LeftButton);
        QTest::mouseClick(form->UpDown9->upButton(), Qt::LeftButton);
        QCOMPARE(programState().image[13], quint8(7));

        form->bisV407x1->trigger();
        QCOMPARE(programState().image[13], quint8(1));
        verifyLateControlsHidden(true);
        // No tick left behind on the hidden box: the window shows what a save writes.
        QVERIFY(!form->CheckBox4->isChecked());
        QVERIFY(form->Memo10->text().isEmpty());

        form->abV408x1->trigger();
        QVERIFY(!form->CheckBox4->isChecked());
        QVERIFY(form->Memo10->text().isEmpty());
        QCOMPARE(programState().image[13], quint8(1));
    }

    void valueModeZeroSurvivesEveryCommand_data() {
        QTest::addColumn<QString>("command");
        QTest::newRow("407") << "407";
        QTest::newRow("500") << "500";
        QTest::newRow("Duo") << "Duo";
    }
    void valueModeZeroSurvivesEveryCommand() {
        QFETCH(QString, command);
        form = std::make_unique<TForm1>();
        programState().image[13] = 0; // as after loading such a setup file
        form->ShowSetupImage();
        QCOMPARE(programState().image.valueMode, 0);
        runCommand(command);
        QCOMPARE(programState().image[13], quint8(0));
        QCOMPARE(programState().image.valueMode, 0);
    }

    void failedWriteStopsTheCommand() {
        form = std::make_unique<TForm1>();
        form->RadioButton22->click();
        programState().image[1] = 70;
        blockSettingsFolder();
        form->abV408x1->trigger();
        QCOMPARE(fake->errors, QStringList{CannotWrite});
        // Variant and reset image stand; title, controls and byte 13 are the old ones.
        QCOMPARE(programState().firmware.version, 500);
        QCOMPARE(programState().image[1], quint8(60));
        QCOMPARE(programState().image[13], quint8(1));
        QCOMPARE(form->windowTitle(), Title407);
        verifyLateControlsHidden(true);
    }
};

QTEST_MAIN(TestShellWindow)
#include "tst_shell_window.moc"
