// What a conversion reports beyond its output, and what callers may ask of
// it: track points and lines of the other firmware's layout, the output
// folder, and refusing a log of the other firmware without touching an older
// output. (The line a failure stopped at shows in altorin-convert's tests.)
#include "convert/conversions.h"
#include "core/convert_support.h"

#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>

using namespace convert_support;

namespace {

const FirmwareVariant V407{407, 0};
const FirmwareVariant V500{500, 0};
const FirmwareVariant Duo{500, 1};

const QByteArray Line500 =
    "01;14:22:01;75;-2;4312;4.9;5.1;21;0;12;8123456;48123456;500;42;180;7;1\r\n";
const QByteArray Line407 = "01;14:22:01;75;-2;431;4.9;5.1;21;0;12;8123456;48123456;500\r\n";
const QByteArray NoFix500 = "01;14:22:01;76;-2;4312;4.9;5.1;21;0;12;0;0;500;42;180;7;1\r\n";

} // namespace

Q_DECLARE_METATYPE(FirmwareVariant)

class TestConvertOptions : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_case = 0;

    // A log in a fresh folder of its own.
    QString writeLog(const QByteArray& bytes, const QString& name = "LOG00001.CSV") {
        const QString folder = m_dir.filePath(QString::number(++m_case));
        QDir().mkpath(folder);
        const QString path = folder + '/' + name;
        writeBytes(path, bytes);
        return path;
    }

  private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    // Every format counts its points and the skipped lines of the other
    // layout; a log of only such lines is a log of the other firmware.
    void countsPointsAndOtherLayout_data() {
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<FirmwareVariant>("firmware");
        QTest::addColumn<qint64>("points");
        QTest::addColumn<qint64>("other");
        QTest::addColumn<int>("otherFields");
        QTest::addColumn<bool>("wrong");
        QTest::newRow("500 log under 407")
            << "Altorin\r\n" + Line500 + Line500 << V407 << 0LL << 2LL << 17 << true;
        QTest::newRow("407 log under 500") << Line407 << V500 << 0LL << 1LL << 13 << true;
        QTest::newRow("407 log under Duo") << Line407 << Duo << 0LL << 1LL << 13 << true;
        QTest::newRow("fitting log")
            << Line500 + NoFix500 + Line500 << V500 << 2LL << 0LL << 13 << false;
        QTest::newRow("mixed log") << Line407 + Line500 << V500 << 1LL << 1LL << 13 << false;
        QTest::newRow("no Data lines")
            << QByteArray("Altorin\r\n\r\n") << V500 << 0LL << 0LL << 13 << false;
    }
    void countsPointsAndOtherLayout() {
        QFETCH(QByteArray, log);
        QFETCH(FirmwareVariant, firmware);
        QFETCH(qint64, points);
        QFETCH(qint64, other);
        QFETCH(int, otherFields);
        QFETCH(bool, wrong);
        const QString path = writeLog(log);
        for (const ConversionFormat& format : conversionFormats()) {
            const Result<Conversion> result = format.convert(path, firmware);
            QVERIFY2(result.ok(), format.name);
            QCOMPARE(result->trackPoints, points);
            QCOMPARE(result->otherLayoutLines, other);
            QCOMPARE(result->wrongFirmware(), wrong);
            if (other)
                QCOMPARE(result->otherLayout.logFieldCount(), otherFields);
            // Without the option the output is written as the conversion writes it.
            QVERIFY(QFile::exists(result->outputPath));
        }
    }

    // Asked to refuse, a conversion of the other firmware's log fails before
    // the commit: no file appears and an older output stays as it was.
    void refusesWrongFirmware() {
        const QString path = writeLog(Line500);
        const QString folder = QFileInfo(path).path();
        for (const ConversionFormat& format : conversionFormats()) {
            const Result<Conversion> first = format.convert(path, V500);
            QVERIFY(first.ok());
            const QByteArray before = readBytes(first->outputPath);
            const Result<Conversion> result = format.convert(path, V407, {QString(), true});
            QVERIFY2(!result.ok(), format.name);
            QCOMPARE(result.failure().kind, FailureKind::WrongFirmware);
            QCOMPARE(result.failure().message,
                     QStringLiteral("Keine Trackpunkte: die Log-Datei hat Zeilen mit 17 Feldern"));
            QCOMPARE(result.failure().line, 0);
            QCOMPARE(readBytes(first->outputPath), before);
        }
        QCOMPARE(filesIn(folder).size(), 4); // the log, .kml, .GPX, TMD
        // A log that fits, or one without any Data lines, converts as ever.
        for (const QByteArray& bytes : {Line500, QByteArray("Altorin\r\n")})
            QVERIFY(ConvertToGpx(writeLog(bytes), V500, {QString(), true}).ok());
    }

    // The output goes into the folder asked for under its usual name, and the
    // log's folder may be read-only.
    void outputFolder() {
        const QString log = writeLog(Line500);
        const QString logFolder = QFileInfo(log).path();
        const QString out = m_dir.filePath("out");
        QVERIFY(QDir().mkpath(out));
        QVERIFY(::chmod(QFile::encodeName(logFolder), 0555) == 0);
        const bool dropsRights = ::access(QFile::encodeName(logFolder), W_OK) != 0;
        for (const ConversionFormat& format : conversionFormats()) {
            const Result<Conversion> result = format.convert(log, V500, {out + '/'});
            QVERIFY2(result.ok(), qPrintable(result.status() ? result.failure().message : ""));
            QCOMPARE(QFileInfo(result->outputPath).path(), out);
        }
        QVERIFY(::chmod(QFile::encodeName(logFolder), 0755) == 0);
        QCOMPARE(filesIn(out), (QStringList{"LOG00001.GPX", "LOG00001.kml", "TMD00001.CSV"}));
        if (dropsRights)
            QCOMPARE(filesIn(logFolder), QStringList{"LOG00001.CSV"});
    }
};

QTEST_GUILESS_MAIN(TestConvertOptions)
#include "tst_convert_options.moc"
