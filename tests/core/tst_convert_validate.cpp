// Our GPX against the published GPX 1.1 schema (xmllint), and GPSBabel reading
// our GPX and KML back with every point. Skips where the tools are not
// installed.
#include "convert/conversions.h"
#include "core/convert_support.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace convert_support;

namespace {

constexpr int Points = 120;

// A log with positioned lines, lines without position and a header.
QByteArray flightLog() {
    QByteArray log = "Altorin Log V500\r\n";
    for (int i = 0; i < Points + 10; ++i) {
        const bool positioned = i % 13 != 5;
        const QByteArray lat = positioned ? QByteArray::number(48120000 + i * 37) : "0";
        // The track crosses the prime meridian: some longitudes are tiny.
        const QByteArray lon = QByteArray::number(4000 - i * 53);
        log += "01;14:22:01;" + QByteArray::number(i) + ";-2;" + QByteArray::number(400 + i) +
               ";4.9;5.1;21;0;12;" + lon + ';' + lat + ';' + QByteArray::number(520 + i) + ';' +
               QByteArray::number(40 + i % 9) + ";180;7;1\r\n";
    }
    return log;
}

int positionedLines() {
    int n = 0;
    for (int i = 0; i < Points + 10; ++i)
        n += i % 13 != 5;
    return n;
}

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run run(const QString& program, const QStringList& args) {
    QProcess process;
    process.start(program, args);
    Run r;
    if (!process.waitForFinished(60000))
        return r;
    r.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    r.out = process.readAllStandardOutput();
    r.err = process.readAllStandardError();
    return r;
}

} // namespace

class TestConvertValidate : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_log;

  private slots:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        m_log = m_dir.filePath("LOG00042.CSV");
        QVERIFY(writeBytes(m_log, flightLog()));
    }

    void gpxMatchesSchema() {
        const QString xmllint = QStandardPaths::findExecutable("xmllint");
        if (xmllint.isEmpty())
            QSKIP("xmllint not installed (Debian package libxml2-utils)");
        // The published schema, kept with the test data.
        const QString schema = sourceDir() + QStringLiteral("/tests/data/schemas/gpx11.xsd");
        QVERIFY2(QFile::exists(schema), qPrintable(schema));
        for (const FirmwareVariant fw : {FirmwareVariant{500, 0}, FirmwareVariant{500, 1}}) {
            const Result<Conversion> result = ConvertToGpx(m_log, fw);
            QVERIFY(result.ok());
            const Run check =
                run(xmllint, {"--noout", "--nonet", "--schema", schema, result->outputPath});
            QVERIFY2(check.exitCode == 0, check.err.constData());
        }
    }

    // Every conversion whose output GPSBabel reads (all but the plotter's).
    void gpsbabelReadsEveryPoint_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("babelFormat");
        for (const ConversionFormat& format : conversionFormats()) {
            const QString name = QLatin1String(format.name);
            const QString babelFormat = name == QLatin1String("gpx") ? QStringLiteral("gpx")
                                        : name.startsWith(QLatin1String("kml"))
                                            ? QStringLiteral("kml")
                                            : QString();
            if (!babelFormat.isEmpty())
                QTest::newRow(format.name) << name << babelFormat;
        }
    }
    void gpsbabelReadsEveryPoint() {
        QFETCH(QString, format);
        QFETCH(QString, babelFormat);
        const QString gpsbabel = QStandardPaths::findExecutable("gpsbabel");
        if (gpsbabel.isEmpty())
            QSKIP("gpsbabel not installed");
        const Result<Conversion> result =
            conversionFormatNamed(format)->convert(m_log, FirmwareVariant{500, 0});
        QVERIFY(result.ok());
        const Run read = run(gpsbabel, {"-t", "-i", babelFormat, "-f", result->outputPath, "-o",
                                        "unicsv", "-F", "-"});
        QVERIFY2(read.exitCode == 0, read.err.constData());
        const QList<QByteArray> lines = read.out.trimmed().split('\n');
        QCOMPARE(int(lines.size()) - 1, positionedLines()); // less the header
        // First point: latitude 48 12.0000', longitude 0 0.4000' (east).
        QVERIFY2(lines.value(1).contains("48.200000,0.006667"), lines.value(1).constData());
        // Longitude 0 0.0025', written with an exponent in KML: read all the same.
        QVERIFY(read.out.contains(",0.000042,"));
    }
};

QTEST_GUILESS_MAIN(TestConvertValidate)
#include "tst_convert_validate.moc"
