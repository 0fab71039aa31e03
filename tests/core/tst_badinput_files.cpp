// The bad-input matrix of the core: the five log conversions, the setup file
// and the settings file against missing, unreadable, malformed, huge and
// unwritable files. Each row names what the pilot is told, and checks that no
// file of theirs is lost or left half written and that memory stays bounded.
#include "common/badinput.h"
#include "common/badlogs.h"
#include "core/settingsfile.h"
#include "setup/setupfile.h"

#include <QTemporaryDir>
#include <QTest>
#include <functional>

namespace {

const FirmwareVariant V500{500, 0};
const QString Ok = QStringLiteral("ok");
const QString Denied = QStringLiteral("Dateizugriff verweigert");
const QString NotFound = QStringLiteral("Datei nicht gefunden");
const QString DiskFull = QStringLiteral("E/A-Fehler 28");
const QString CannotWrite = QStringLiteral("In AltorinTool.ini kann nicht geschrieben werden.");
// Room for the huge line itself and twice as much again.
constexpr long HugeBoundKiB = 3 * HugeLineBytes / 1024;
// Work that must not read a huge file whole.
constexpr long SmallBoundKiB = 8 * 1024;

QString textOf(const Status& failure) {
    return failure ? failure->message : Ok;
}

// A conversion's failure as the window's box says it.
QString textOf(const Result<Conversion>& conversion) {
    return conversion ? Ok : conversionFailureText(conversion.failure());
}

// The outcome of `work`, measured in a child when `bound` is given.
QString outcome(const std::function<QString()>& work, long boundKiB = 0) {
    if (boundKiB == 0 || !MemoryMeasurable)
        return work();
    const MeasuredRun run = runMeasured(work);
    if (!run.ran)
        return QStringLiteral("<the measured child failed>");
    qInfo("peak memory grew by %ld KiB (bound %ld KiB)", run.growthKiB, boundKiB);
    if (run.growthKiB > boundKiB)
        return QStringLiteral("<peak memory grew by %1 KiB, more than %2 KiB>")
            .arg(run.growthKiB)
            .arg(boundKiB);
    return run.text;
}

// Sections of another program may share the file; this one's line runs on.
QByteArray hugeIniLine() {
    return "[Top]\nTop=12\n[Pilot]\nNote=";
}

// What writing the defaults with Top 99 adds to a file holding only Top.
const QByteArray AddedSections = "\n[Left]\nLeft=239\n[Width]\nWidth=865\n[Height]\nHeight=784\n"
                                 "[AR_Version]\nAR_Version=407\n[OptionInt]\nOptionInt=0\n"
                                 "[english]\nenglish=0\n";

} // namespace

class TestBadInputFiles : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_folders = 0;

    QString freshFolder() { return m_dir.filePath(QString::number(++m_folders)); }

  private slots:
    void cleanup() { setSettingsFolder(QString()); }

    // One expected outcome per conversion, in the order of conversionFormats().
    void conversions_data() { addBadLogRows(); }
    void conversions() {
        QFETCH(BadLog, row);
        QFETCH(QStringList, outcomes);
        const auto formats = conversionFormats();
        QCOMPARE(qsizetype(formats.size()), outcomes.size());
        for (size_t i = 0; i < formats.size(); ++i) {
            const QString format = QLatin1String(formats[i].name);
            LogScene scene(row, freshFolder(), format);
            if (!scene.skip().isEmpty())
                QSKIP(qPrintable(scene.skip()));
            const QString got =
                outcome([&] { return textOf(formats[i].convert(scene.log(), V500)); },
                        row == BadLog::LongLine ? HugeBoundKiB : 0);
            QVERIFY2(got == outcomes[qsizetype(i)], qPrintable(format + ": " + got.left(200)));
            if (got != Ok) {
                const QString damage = scene.damageAfterFailure();
                QVERIFY2(damage.isEmpty(), qPrintable(format + ": " + damage));
            } else {
                scene.release();
                QVERIFY2(readBytes(scene.target) != scene.oldTarget, qPrintable(format));
            }
        }
    }

    // Callers act on the cause, not on the German text: each failure names its
    // kind. The log rows through GPX, then the setup and the settings file.
    void failureKinds() {
        const auto kindOf = [](const Status& failure) { return failure ? int(failure->kind) : -1; };
        const ConversionFormat& gpx = *conversionFormatNamed(QStringLiteral("gpx"));
        const std::pair<BadLog, FailureKind> logRows[] = {
            {BadLog::Missing, FailureKind::FileNotFound},
            {BadLog::Folder, FailureKind::AccessDenied},
            {BadLog::Unreadable, FailureKind::AccessDenied},
            {BadLog::BigInteger, FailureKind::NotANumber},
            {BadLog::OpenQuote, FailureKind::TooFewFields},
            {BadLog::OutputIsInput, FailureKind::OutputIsLog},
            {BadLog::LinkToInput, FailureKind::OutputIsLog},
        };
        for (const auto& [row, kind] : logRows) {
            LogScene scene(row, freshFolder(), QLatin1String(gpx.name));
            if (!scene.skip().isEmpty()) {
                qInfo("row %d skipped: %s", int(row), qPrintable(scene.skip()));
                continue;
            }
            QCOMPARE(kindOf(gpx.convert(scene.log(), V500).status()), int(kind));
        }

        SetupImage image;
        const QString nowhere = freshFolder() + QStringLiteral("/SETUPUPL.HEX");
        QCOMPARE(kindOf(loadSetupFile(image, nowhere).status()), int(FailureKind::FileNotFound));
        FileScene setupFolder = setupFileScene(BadFile::Folder, freshFolder(), {});
        QCOMPARE(kindOf(loadSetupFile(image, setupFolder.path).status()),
                 int(FailureKind::AccessDenied));

        const QString settings = freshFolder();
        FileScene settingsFolder(BadFile::Folder, settings, QLatin1String(SettingsFileName), {});
        setSettingsFolder(settings);
        QCOMPARE(kindOf(writeToolSettings(ToolSettings{})), int(FailureKind::NotWritable));
    }

    // Loading the file (bytes read, or the failure) and then saving the image
    // over the same name (the output is the input).
    void setupFile_data() {
        QTest::addColumn<BadFile>("row");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("load");
        QTest::addColumn<QString>("save");
        const QByteArray setup(20, '\x05');
        QTest::newRow("missing file") << BadFile::Missing << QByteArray() << NotFound << Ok;
        QTest::newRow("a folder") << BadFile::Folder << QByteArray() << Denied << Denied;
        QTest::newRow("unreadable file") << BadFile::Unreadable << setup << Denied << Denied;
        QTest::newRow("empty file") << BadFile::Content << QByteArray() << "0 bytes" << Ok;
        // Twenty NUL bytes are a valid (if odd) setup.
        QTest::newRow("NUL bytes") << BadFile::Content << QByteArray(20, '\0') << "20 bytes" << Ok;
        // A 100 MB file: 21 bytes tell it is no setup.
        QTest::newRow("file of 100 MB")
            << BadFile::Content << QByteArray("huge") << "21 bytes" << Ok;
        QTest::newRow("read-only folder")
            << BadFile::ReadOnlyFolder << setup << "20 bytes" << Denied;
        QTest::newRow("full disk") << BadFile::FullDisk << setup << "20 bytes" << DiskFull;
        // Saved through the link into the pilot's file, the link stays.
        QTest::newRow("link to the pilot's file") << BadFile::Link << setup << "20 bytes" << Ok;
    }
    void setupFile() {
        QFETCH(BadFile, row);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, load);
        QFETCH(QString, save);
        const QString folder = freshFolder();
        const bool huge = bytes == "huge";
        FileScene scene = setupFileScene(row, folder, bytes);
        if (!scene.skip.isEmpty())
            QSKIP(qPrintable(scene.skip));

        SetupImage image;
        image.bytes.fill(0x77);
        const auto loadOutcome = [&] {
            const auto loaded = loadSetupFile(image, scene.path);
            if (!loaded)
                return loaded.failure().message;
            return QStringLiteral("%1 bytes").arg(*loaded);
        };
        QCOMPARE(outcome(loadOutcome, huge ? SmallBoundKiB : 0), load);
        if (huge)
            loadOutcome(); // the image of the parent too
        const quint8 expectedFirst = load == "20 bytes" ? quint8(bytes[0]) : 0x77;
        QCOMPARE(image[0], expectedFirst);

        image.bytes.fill(0x42);
        QCOMPARE(textOf(saveSetupFile(image, folder)), save);
        if (save == Ok) {
            QCOMPARE(scene.added(), QStringList());
            QCOMPARE(readBytes(scene.path), QByteArray(20, '\x42'));
            QCOMPARE(QFileInfo(scene.path).isSymLink(), row == BadFile::Link);
        } else {
            QVERIFY(scene.unchanged());
        }
    }

    // Reading at start (Top and Left; the others keep their defaults) and
    // writing all seven values back.
    void settingsFile_data() {
        QTest::addColumn<BadFile>("row");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("left");
        QTest::addColumn<QString>("write");
        const QByteArray good = "[Top]\nTop=12\n[Left]\nLeft=34\n";
        const int defTop = ToolSettings{}.top, defLeft = ToolSettings{}.left;
        QTest::newRow("missing file")
            << BadFile::Missing << QByteArray() << defTop << defLeft << Ok;
        QTest::newRow("a folder") << BadFile::Folder << QByteArray() << defTop << defLeft
                                  << CannotWrite;
        // Rewriting a file it cannot read would lose its other lines.
        QTest::newRow("unreadable file")
            << BadFile::Unreadable << good << defTop << defLeft << CannotWrite;
        QTest::newRow("empty file") << BadFile::Content << QByteArray() << defTop << defLeft << Ok;
        QTest::newRow("NUL bytes")
            << BadFile::Content << QByteArray("[Top]\nTop=1\0002\n[Left]\nLeft=34\n\0\n", 31)
            << defTop << 34 << Ok;
        QTest::newRow("line of 100 MB") << BadFile::Content << hugeIniLine() << 12 << defLeft << Ok;
        QTest::newRow("integers beyond 32 bits")
            << BadFile::Content << QByteArray("[Top]\nTop=4294967308\n[Left]\nLeft=-2147483649\n")
            << defTop << defLeft << Ok;
        QTest::newRow("unterminated quotes")
            << BadFile::Content << QByteArray("[Top]\nTop=\"12\n[Left]\nLeft='34'\n") << defTop
            << 34 << Ok;
        QTest::newRow("read-only folder")
            << BadFile::ReadOnlyFolder << good << 12 << 34 << CannotWrite;
        QTest::newRow("full disk") << BadFile::FullDisk << good << 12 << 34 << CannotWrite;
        QTest::newRow("link to the pilot's file") << BadFile::Link << good << 12 << 34 << Ok;
    }
    void settingsFile() {
        QFETCH(BadFile, row);
        QFETCH(QByteArray, bytes);
        QFETCH(int, top);
        QFETCH(int, left);
        QFETCH(QString, write);
        const QString folder = freshFolder();
        setSettingsFolder(folder);
        const bool huge = bytes == hugeIniLine();
        FileScene scene(row, folder, QLatin1String(SettingsFileName), huge ? QByteArray() : bytes,
                        [&](const QString& path) {
                            return huge ? writeHugeFile(path, bytes, HugeLineBytes, '7')
                                        : writeBytes(path, bytes);
                        });
        if (!scene.skip.isEmpty())
            QSKIP(qPrintable(scene.skip));
        const long bound = huge ? HugeBoundKiB : 0;

        const QString read = outcome(
            [] {
                const ToolSettings s = readToolSettings(ToolSettings{});
                return QStringLiteral("%1,%2").arg(s.top).arg(s.left);
            },
            bound);
        QCOMPARE(read, QStringLiteral("%1,%2").arg(top).arg(left));

        ToolSettings written;
        written.top = 99;
        QCOMPARE(outcome([&] { return textOf(writeToolSettings(written)); }, bound), write);
        if (write != Ok) {
            QVERIFY(scene.unchanged());
            return;
        }
        scene.release();
        QCOMPARE(scene.added(), QStringList());
        QCOMPARE(QFileInfo(scene.path).isSymLink(), row == BadFile::Link);
        if (huge) {
            // The other program's long line is kept whole.
            QFile file(scene.path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.size(), bytes.size() + HugeLineBytes + AddedSections.size());
            QCOMPARE(file.read(13), QByteArray("[Top]\nTop=99\n"));
            QVERIFY(file.seek(file.size() - AddedSections.size() - 1));
            QCOMPARE(file.readAll(), '7' + AddedSections);
        } else {
            QCOMPARE(readToolSettings(ToolSettings{}).top, 99);
            // Every line that is not one of the seven entries comes back.
            if (row == BadFile::Content && bytes.contains('\0'))
                QVERIFY(readBytes(scene.path).contains(QByteArray("\n\0\n", 3)));
        }
    }
};

QTEST_GUILESS_MAIN(TestBadInputFiles)
#include "tst_badinput_files.moc"
