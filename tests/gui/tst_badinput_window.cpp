// The bad-input matrix through the window: the five conversion commands, the
// setup load and save commands and the settings file read at start and
// written by "Programm beenden". Each row names the box the pilot sees and
// checks that the window goes on and no file of theirs is lost.
#include "core/programstate.h"
#include "core/settingsfile.h"
#include "app/tform1.h"
#include "common/badinput.h"
#include "common/badlogs.h"
#include "common/conversionmenu.h"
#include "common/fakedialogs.h"
#include "setup/setupfile.h"

#include <QAction>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <memory>

namespace {

const QString Denied = QStringLiteral("Dateizugriff verweigert");
const QString NotFound = QStringLiteral("Datei nicht gefunden");
const QString NoSetup = QStringLiteral("Keine gültige Altorin Setup-Datei!");
const QString CannotWrite = QStringLiteral("In AltorinTool.ini kann nicht geschrieben werden.");
const QString Done = QStringLiteral("Fertig mit Konvertierung nach:\r");

// The box a command left: "error: ...", "info: ..." or "none".
QString boxOf(FakeDialogs& fake) {
    QString box = QStringLiteral("none");
    if (!fake.errors.isEmpty())
        box = QStringLiteral("error: ") + fake.errors.join(QLatin1Char('|'));
    else if (!fake.infos.isEmpty())
        box = QStringLiteral("info: ") + fake.infos.join(QLatin1Char('|'));
    fake.errors.clear();
    fake.infos.clear();
    return box;
}

} // namespace

class TestBadInputWindow : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_folders = 0;
    std::unique_ptr<FakeDialogs> fake;
    std::unique_ptr<TForm1> form;

    QString freshFolder() { return m_dir.filePath(QString::number(++m_folders)); }

    QAction* command(const QString& name) const { return menuItemOf(*form, name); }

    void startWindow() {
        fake.reset(); // before the next one installs itself
        fake = std::make_unique<FakeDialogs>();
        form = std::make_unique<TForm1>();
        boxOf(*fake); // the firmware reminder
    }

    // The window goes on: a good log converts right after the bad one.
    void convertsAGoodLog(const QString& format) {
        const QString log = freshFolder() + QStringLiteral("/LOG00002.CSV");
        QDir().mkpath(QFileInfo(log).path());
        QVERIFY(writeBytes(log, badLogLine()));
        fake->fileAnswers << log;
        command(format)->trigger();
        QVERIFY(boxOf(*fake).startsWith(QStringLiteral("info: ") + Done));
    }

  private slots:
    void init() {
        resetProgramState();
        setSettingsFolder(freshFolder());
        startWindow();
        programState().firmware = FirmwareVariant{500, 0};
    }
    void cleanup() {
        form.reset();
        fake.reset();
        setSettingsFolder(QString());
    }

    void conversions_data() { addBadLogRows(); }
    void conversions() {
        QFETCH(BadLog, row);
        QFETCH(QStringList, outcomes);
        const auto formats = conversionFormats();
        QCOMPARE(qsizetype(formats.size()), outcomes.size());
        for (qsizetype i = 0; i < outcomes.size(); ++i) {
            const QString format = QLatin1String(formats[size_t(i)].name);
            {
                LogScene scene(row, freshFolder(), format);
                if (!scene.skip().isEmpty())
                    QSKIP(qPrintable(scene.skip()));
                // The rights are given up by the thread the commands run on.
                if (scene.rightsDropped())
                    QCOMPARE(form->thread(), QThread::currentThread());
                fake->fileAnswers << scene.log();
                command(format)->trigger();
                QString expected = QStringLiteral("error: ") + outcomes[i];
                if (outcomes[i] == QLatin1String("ok"))
                    expected = QStringLiteral("info: ") + Done + QFileInfo(scene.target).fileName();
                const QString box = boxOf(*fake);
                QVERIFY2(box.startsWith(expected), qPrintable(format + ": " + box.left(200)));
                if (!expected.startsWith(QLatin1String("info"))) {
                    const QString damage = scene.damageAfterFailure();
                    QVERIFY2(damage.isEmpty(), qPrintable(format + ": " + damage));
                }
            }
            convertsAGoodLog(format);
        }
    }

    // "Setup laden" of the file, then "Setup speichern" into its folder (over
    // the file that was loaded).
    void setupCommands_data() {
        QTest::addColumn<BadFile>("row");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("loadBox");
        QTest::addColumn<QString>("saveBox");
        const QByteArray setup(20, '\x02');
        const QString none = QStringLiteral("none");
        const QString noSetup = QStringLiteral("info: ") + NoSetup;
        QTest::newRow("missing file")
            << BadFile::Missing << QByteArray() << "error: " + NotFound << none;
        QTest::newRow("a folder") << BadFile::Folder << QByteArray() << "error: " + Denied
                                  << "error: " + Denied;
        QTest::newRow("unreadable file")
            << BadFile::Unreadable << setup << "error: " + Denied << "error: " + Denied;
        QTest::newRow("empty file") << BadFile::Content << QByteArray() << noSetup << none;
        QTest::newRow("NUL bytes") << BadFile::Content << QByteArray(20, '\0') << none << none;
        QTest::newRow("file of 100 MB")
            << BadFile::Content << QByteArray("huge") << noSetup << none;
        QTest::newRow("read-only folder")
            << BadFile::ReadOnlyFolder << setup << none << "error: " + Denied;
        QTest::newRow("full disk") << BadFile::FullDisk << setup << none << "error: E/A-Fehler 28";
        QTest::newRow("link to the pilot's file") << BadFile::Link << setup << none << none;
    }
    void setupCommands() {
        QFETCH(BadFile, row);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, loadBox);
        QFETCH(QString, saveBox);
        const QString folder = freshFolder();
        FileScene scene = setupFileScene(row, folder, bytes);
        if (!scene.skip.isEmpty())
            QSKIP(qPrintable(scene.skip));
        programState().image.bytes.fill(0x03);
        SetupImage defaults = programState().image;
        LoadDefaultSetup(defaults);

        fake->fileAnswers << scene.path;
        form->Setupladen1->trigger();
        QCOMPARE(boxOf(*fake), loadBox);
        if (loadBox == QLatin1String("none"))
            QCOMPARE(programState().image[0], quint8(bytes[0]));
        else if (loadBox.startsWith(QLatin1String("info")))
            QCOMPARE(programState().image.bytes, defaults.bytes);
        else
            QCOMPARE(programState().image[0], quint8(0x03));

        fake->fileAnswers << scene.path;
        form->Setupspeichern1->trigger();
        QCOMPARE(boxOf(*fake), saveBox);
        if (saveBox == QLatin1String("none")) {
            QCOMPARE(scene.added(), QStringList());
            QCOMPARE(readBytes(scene.path),
                     QByteArray(reinterpret_cast<const char*>(programState().image.bytes.data()),
                                SetupImage::Size));
        } else {
            QVERIFY(scene.unchanged());
        }
    }

    // The settings file as the window finds it at start (its position), then
    // "Programm beenden": the window closes, or stays open with the error box.
    void settingsAtStartAndQuit_data() {
        QTest::addColumn<BadFile>("row");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QPoint>("position");
        QTest::addColumn<QString>("quitBox");
        const QByteArray good = "[Top]\nTop=12\n[Left]\nLeft=34\n";
        const QPoint start(ToolSettings{}.left, ToolSettings{}.top);
        const QString none = QStringLiteral("none");
        const QString cannot = QStringLiteral("error: ") + CannotWrite;
        QTest::newRow("missing file") << BadFile::Missing << QByteArray() << start << none;
        QTest::newRow("a folder") << BadFile::Folder << QByteArray() << start << cannot;
        QTest::newRow("unreadable file") << BadFile::Unreadable << good << start << cannot;
        QTest::newRow("empty file") << BadFile::Content << QByteArray() << start << none;
        QTest::newRow("NUL bytes")
            << BadFile::Content << QByteArray("[Top]\nTop=1\0002\n[Left]\nLeft=34\n", 29)
            << QPoint(34, start.y()) << none;
        QTest::newRow("line of 100 MB")
            << BadFile::Content << QByteArray("huge") << QPoint(start.x(), 12) << none;
        QTest::newRow("integers beyond 32 bits")
            << BadFile::Content << QByteArray("[Top]\nTop=4294967308\n[Left]\nLeft=34\n")
            << QPoint(34, start.y()) << none;
        QTest::newRow("unterminated quotes")
            << BadFile::Content << QByteArray("[Top]\nTop=\"12\n[Left]\nLeft=34\n")
            << QPoint(34, start.y()) << none;
        QTest::newRow("read-only folder")
            << BadFile::ReadOnlyFolder << good << QPoint(34, 12) << cannot;
        QTest::newRow("full disk") << BadFile::FullDisk << good << QPoint(34, 12) << cannot;
        QTest::newRow("link to the pilot's file")
            << BadFile::Link << good << QPoint(34, 12) << none;
    }
    void settingsAtStartAndQuit() {
        QFETCH(BadFile, row);
        QFETCH(QByteArray, bytes);
        QFETCH(QPoint, position);
        QFETCH(QString, quitBox);
        form.reset();
        const QString folder = freshFolder();
        setSettingsFolder(folder);
        const bool huge = bytes == "huge";
        FileScene scene(row, folder, QLatin1String(SettingsFileName), huge ? QByteArray() : bytes,
                        [&](const QString& path) {
                            return huge ? writeHugeFile(path, "[Top]\nTop=12\n[Pilot]\nNote=",
                                                        HugeLineBytes, '7')
                                        : writeBytes(path, bytes);
                        });
        if (!scene.skip.isEmpty())
            QSKIP(qPrintable(scene.skip));
        resetProgramState();
        startWindow();
        QCOMPARE(form->pos(), position);

        form->show();
        form->Proframmbeenden1->trigger();
        QCOMPARE(boxOf(*fake), quitBox);
        QCOMPARE(form->isVisible(), quitBox != QLatin1String("none"));
        if (quitBox == QLatin1String("none"))
            QCOMPARE(scene.added(), QStringList());
        else
            QVERIFY(scene.unchanged());
    }
};

QTEST_MAIN(TestBadInputWindow)
#include "tst_badinput_window.moc"
