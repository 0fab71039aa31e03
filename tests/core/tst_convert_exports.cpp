// The five exports end to end: whole output files byte for byte, output names,
// failures, and the faults this implementation mends (no writing over the
// log, no partial outputs, UTC point times, 13-field GPX names, western
// plotter longitudes, '.' plotter altitudes, lines with too few fields).
#include "convert/conversions.h"
#include "core/convert_support.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <ctime>
#include <functional>
#include <span>
#include <sys/resource.h>
#include <unistd.h>

using namespace convert_support;

namespace {

const FirmwareVariant V407{407, 0};
const FirmwareVariant V500{500, 0};
const FirmwareVariant Duo{500, 1};

using Export = std::function<Result<Conversion>(const QString&, const FirmwareVariant&)>;

// The conversion of that command-line name.
Export exportNamed(const QString& format) {
    const ConversionFormat* row = conversionFormatNamed(format);
    return [row](const QString& log, const FirmwareVariant& fw) { return row->convert(log, fw); };
}

const QByteArray KmlTail = "</coordinates>\r\n</LineString></Placemark>\r\n</Document></kml>\r\n";
const QByteArray GpxHead =
    "<?xml version=\"1.0\" standalone=\"yes\" ?>\r<gpx version=\"1.1\" creator=\"Norwen\" "
    "xmlns=\"http://www.topografix.com/GPX/1/1\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
    "xsi:schemaLocation=\"http://www.topografix.com/GPX/1/1 "
    "http://www.topografix.com/GPX/1/1/gpx.xsd\">\r\n"
    "<trk>\r\n<name>Track</name>\r\n<number>1</number>\r\n<trkseg>\r\n";
const QByteArray GpxTail = "</trkseg>\r\n</trk>\r\n</gpx>\r\n";
const QByteArray TrakmondHead = "2;126;71;49;0;0;0;10;\r\n0;0;0;\r\n";

QByteArray kmlHead(const char* altitudeMode) {
    return QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><kml "
                      "xmlns=\"http://earth.google.com/kml/2.0\"><Document>\r<description><![CDATA["
                      "This route was created by<br><a href=\"https://example.org/altorintool/\">"
                      "AltorinTool</a>]]></description>\r<Placemark><name>route</name><Style><"
                      "LineStyle><color>ff00ff00</color><width>3</width></LineStyle><IconStyle><"
                      "Icon></Icon></IconStyle></Style><LineString><tessellate>1</tessellate><"
                      "altitudeMode>") +
           altitudeMode + "</altitudeMode><coordinates>\r\n";
}

// A 17-field Data line with the fields that matter set, the rest plausible.
QByteArray line500(const char* f2, const char* f4, const char* lon, const char* lat,
                   const char* f12, const char* f13) {
    return QByteArray("01;14:22:01;") + f2 + ";-2;" + f4 + ";4.9;5.1;21;0;12;" + lon + ';' + lat +
           ';' + f12 + ';' + f13 + ";180;7;1\r\n";
}

QByteArray line407(const char* f2, const char* f4, const char* lon, const char* lat,
                   const char* f12) {
    return QByteArray("01;14:22:01;") + f2 + ";-2;" + f4 + ";4.9;5.1;21;0;12;" + lon + ';' + lat +
           ';' + f12 + "\r\n";
}

// Sets TZ for the process (and back) so local file dates can be checked.
class TimeZone {
  public:
    explicit TimeZone(const char* zone) : m_saved(qgetenv("TZ")) {
        qputenv("TZ", zone);
        tzset();
    }
    ~TimeZone() {
        qputenv("TZ", m_saved);
        tzset();
    }

  private:
    QByteArray m_saved;
};

} // namespace

class TestConvertExports : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

    // The log copied into a fresh folder, dated 2010-05-07 14:22:01 local time.
    QString placeLog(const QString& name, const QByteArray& bytes) {
        const QString folder = m_dir.filePath(QString::number(++m_folders));
        QDir().mkpath(folder);
        const QString path = folder + QLatin1Char('/') + name;
        if (!writeBytes(path, bytes) ||
            !setModified(path, QDateTime(QDate(2010, 5, 7), QTime(14, 22, 1))))
            qFatal("cannot place %s", qPrintable(path));
        return path;
    }
    int m_folders = 0;

  private slots:
    void initTestCase() { QVERIFY(m_dir.isValid()); }

    void expectedFiles_data() {
        QTest::addColumn<QString>("log");
        QTest::addColumn<QString>("variant");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("outputName");
        for (const QString variant : {"500", "duo", "407"}) {
            const QString log = variant == "407" ? "LOG00407.CSV" : "LOG00500.CSV";
            const QString number = log.mid(3, 5);
            for (const ConversionFormat& row : conversionFormats()) {
                const QString format = QLatin1String(row.name);
                const QString expected = variant + '.' + format;
                if (!QFile::exists(dataPath("expected/" + expected)))
                    continue;
                const QString name = format == "gpx"        ? "LOG" + number + ".GPX"
                                     : format == "trakmond" ? "TMD" + number + ".CSV"
                                                            : "LOG" + number + ".kml";
                QTest::newRow(qPrintable(expected)) << log << variant << format << name;
            }
        }
    }
    // Both layouts under both variants and Duo; the logs hold lines without
    // position, "00", quotes, blanks, hex and signed fields, a lone CR, a line
    // of the other layout and text after Ctrl-Z.
    void expectedFiles() {
        QFETCH(QString, log);
        QFETCH(QString, variant);
        QFETCH(QString, format);
        QFETCH(QString, outputName);
        const FirmwareVariant fw = variant == "407" ? V407 : variant == "duo" ? Duo : V500;
        const QString path = placeLog(log, readBytes(dataPath(log)));
        const Result<Conversion> result = exportNamed(format)(path, fw);
        QVERIFY2(result.ok(),
                 qPrintable(result.status().value_or(Failure{FailureKind::IoError, {}}).message));
        QCOMPARE(QFileInfo(result->outputPath).fileName(), outputName);
        QCOMPARE(QFileInfo(result->outputPath).absolutePath(), QFileInfo(path).absolutePath());
        QVERIFY(sameBytes(readBytes(result->outputPath),
                          readBytes(dataPath("expected/" + variant + '.' + format)),
                          qPrintable(variant + ' ' + format)));
    }

    void outputNames() {
        QCOMPARE(kmlOutputName("LOG00012.CSV"), QStringLiteral("LOG00012.kml"));
        QCOMPARE(gpxOutputName("LOG00012.CSV"), QStringLiteral("LOG00012.GPX"));
        QCOMPARE(trakmondOutputName("LOG00012.CSV"), QStringLiteral("TMD00012.CSV"));
        QCOMPARE(kmlOutputName("flight.2010.csv"), QStringLiteral("flight.2010.kml"));
        QCOMPARE(gpxOutputName("LOG00012"), QStringLiteral("LOG00012.GPX"));
        QCOMPARE(trakmondOutputName("ABC"), QStringLiteral("TMD"));
        QCOMPARE(trakmondOutputName("A"), QStringLiteral("TMD"));
        // Only the file name counts, not a dot in the folder.
        const QString log =
            placeLog("LOG1", line500("75", "431", "8123456", "48123456", "500", "42"));
        const Result<Conversion> result = ConvertToGpx(log, V500);
        QVERIFY(result.ok());
        QCOMPARE(result->outputPath, log + ".GPX");
    }

    // Head and tail only, for a log without Data lines or of the other layout.
    void withoutDataLines_data() {
        QTest::addColumn<QByteArray>("log");
        QTest::addColumn<bool>("longLines");
        QTest::newRow("empty") << QByteArray() << true;
        QTest::newRow("header only") << QByteArray("Altorin\r\n\r\n") << false;
        QTest::newRow("407 lines, variant 500")
            << line407("75", "431", "8123456", "48123456", "500") << true;
        QTest::newRow("500 lines, variant 407")
            << line500("75", "431", "8123456", "48123456", "500", "42") << false;
    }
    void withoutDataLines() {
        QFETCH(QByteArray, log);
        QFETCH(bool, longLines);
        const FirmwareVariant fw = longLines ? V500 : V407;
        const QString path = placeLog("LOG00001.CSV", log);
        auto output = [](const Result<Conversion>& r) {
            return r.ok() ? readBytes(r->outputPath) : r.failure().message.toUtf8();
        };
        QCOMPARE(output(ConvertToKml(path, false, false, fw)),
                 kmlHead("clampedToGround") + KmlTail);
        QCOMPARE(output(ConvertToKml(path, true, false, fw)),
                 kmlHead("relativeToGround") + KmlTail);
        QCOMPARE(output(ConvertToKml(path, true, true, fw)), kmlHead("absolute") + KmlTail);
        QCOMPARE(output(ConvertToGpx(path, fw)), GpxHead + GpxTail);
        QCOMPARE(output(ConvertToTrakmond(path, fw)), TrakmondHead);
    }

    void replacesEarlierOutput() {
        const QString log =
            placeLog("LOG00012.CSV", line500("75", "431", "8123456", "48123456", "500", "42"));
        QVERIFY(ConvertToKml(log, false, false, V500).ok());
        const Result<Conversion> gps = ConvertToKml(log, true, true, V500);
        QVERIFY(gps.ok());
        QCOMPARE(readBytes(gps->outputPath),
                 kmlHead("absolute") + "8.20576000213623,48.2057600021362,500\r\n" + KmlTail);
        QCOMPARE(filesIn(QFileInfo(log).path()), QStringList({"LOG00012.CSV", "LOG00012.kml"}));
    }

    // A bad field stops the export; the target keeps its earlier content and
    // no temporary file is left behind.
    void badFieldMidFile_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("variant");
        QTest::addColumn<QByteArray>("badLine");
        QTest::addColumn<QString>("message");
        const QString notInt = QStringLiteral("'%1' ist kein gültiger Integerwert");
        const QString notFloat = QStringLiteral("'%1' ist kein gültiger Gleitkommawert");
        QTest::newRow("kml latitude")
            << "kml2d"
            << "500" << line500("76", "431", "8123456", "4812x456", "500", "42")
            << notInt.arg("4812x456");
        QTest::newRow("kml empty altitude")
            << "kml3d-baro"
            << "500" << line500("76", "", "8123456", "48123456", "500", "42") << notInt.arg("");
        QTest::newRow("kml gps decimal")
            << "kml3d-gps"
            << "duo" << line500("76", "431", "8123456", "48123456", "50.5", "42")
            << notInt.arg("50.5");
        QTest::newRow("gpx time, no position")
            << "gpx"
            << "500" << line500("7x", "431", "0", "0", "500", "42") << notInt.arg("7x");
        QTest::newRow("gpx speed")
            << "gpx"
            << "500" << line500("76", "431", "8123456", "48123456", "500", "fast")
            << notInt.arg("fast");
        QTest::newRow("gpx out of range")
            << "gpx"
            << "407" << line407("76", "431", "8123456", "48123456", "3000000000")
            << notInt.arg("3000000000");
        QTest::newRow("plotter altitude, no position")
            << "trakmond"
            << "500" << line500("76", "431", "0", "0", "abc", "42") << notFloat.arg("abc");
        QTest::newRow("plotter comma")
            << "trakmond"
            << "407" << line407("76", "431,5", "8123456", "48123456", "500")
            << notFloat.arg("431,5");
    }
    void badFieldMidFile() {
        QFETCH(QString, format);
        QFETCH(QString, variant);
        QFETCH(QByteArray, badLine);
        QFETCH(QString, message);
        const FirmwareVariant fw = variant == "407" ? V407 : variant == "duo" ? Duo : V500;
        const QByteArray good = fw.hasV500Layout()
                                    ? line500("75", "431", "8123456", "48123456", "500", "42")
                                    : line407("75", "431", "8123456", "48123456", "500");
        const QString log = placeLog("LOG00012.CSV", good);
        const Result<Conversion> first = exportNamed(format)(log, fw);
        QVERIFY(first.ok());
        const QByteArray earlier = readBytes(first->outputPath);

        QVERIFY(writeBytes(log, good + badLine + good));
        const Result<Conversion> second = exportNamed(format)(log, fw);
        QVERIFY(!second.ok());
        QCOMPARE(second.failure().message, message);
        QCOMPARE(second.failure().line, 2);
        QCOMPARE(readBytes(first->outputPath), earlier);
        QCOMPARE(filesIn(QFileInfo(log).path()).size(), 2);

        // Without an earlier output nothing is left at all.
        QVERIFY(QFile::remove(first->outputPath));
        QVERIFY(!exportNamed(format)(log, fw).ok());
        QCOMPARE(filesIn(QFileInfo(log).path()), QStringList{"LOG00012.CSV"});
    }

    // Lines without position never reach the field conversions of KML.
    void kmlIgnoresFieldsOfLinesWithoutPosition() {
        const QString log =
            placeLog("LOG00001.CSV", line500("x", "y", "0", "48123456", "z", "w") +
                                         line500("x", "y", "8123456", "0", "z", "w"));
        const Result<Conversion> result = ConvertToKml(log, true, true, V500);
        QVERIFY(result.ok());
        QCOMPARE(readBytes(result->outputPath), kmlHead("absolute") + KmlTail);
    }

    // Writing the output over the log would destroy it: refused up front.
    void outputWouldBeTheLog_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("format");
        QTest::newRow("plotter of its own output") << "TMD00012.CSV"
                                                   << "trakmond";
        QTest::newRow("log named .kml") << "LOG1.kml"
                                        << "kml2d";
        QTest::newRow("log named .GPX") << "LOG1.GPX"
                                        << "gpx";
    }
    void outputWouldBeTheLog() {
        QFETCH(QString, name);
        QFETCH(QString, format);
        const QByteArray bytes = line500("75", "431", "8123456", "48123456", "500", "42");
        const QString log = placeLog(name, bytes);
        const Result<Conversion> result = exportNamed(format)(log, V500);
        QVERIFY(!result.ok());
        QCOMPARE(result.failure().kind, FailureKind::OutputIsLog);
        QCOMPARE(result.failure().message, "Ausgabe wäre die Log-Datei selbst: " + name);
        QCOMPARE(readBytes(log), bytes);
        QCOMPARE(filesIn(QFileInfo(log).path()), QStringList{name});
    }

    void outputIsALinkToTheLog() {
        const QByteArray bytes = line500("75", "431", "8123456", "48123456", "500", "42");
        const QString log = placeLog("LOG00012.CSV", bytes);
        const QString link = QFileInfo(log).path() + "/LOG00012.GPX";
        QVERIFY(QFile::link(log, link));
        const Result<Conversion> result = ConvertToGpx(log, V500);
        QVERIFY(!result.ok());
        QCOMPARE(readBytes(log), bytes);
    }

    void missingLog() {
        const Result<Conversion> result =
            ConvertToGpx(m_dir.filePath("nowhere/LOG00001.CSV"), V500);
        QVERIFY(!result.ok());
        QCOMPARE(result.failure().message, QStringLiteral("Datei nicht gefunden"));
        QVERIFY(!QFile::exists(m_dir.filePath("nowhere")));
    }

    void unwritableFolder() {
        const QByteArray bytes = line500("75", "431", "8123456", "48123456", "500", "42");
        const QString log = placeLog("LOG00001.CSV", bytes);
        const QString folder = QFileInfo(log).path();
        QVERIFY(QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const bool enforced = !QFile(folder + "/probe").open(QIODevice::WriteOnly);
        const Result<Conversion> result = ConvertToKml(log, false, false, V500);
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
        if (!enforced)
            QSKIP("running with rights that ignore folder permissions");
        QVERIFY(!result.ok());
        QCOMPARE(result.failure().message, QStringLiteral("Dateizugriff verweigert"));
        QCOMPARE(filesIn(folder), QStringList{"LOG00001.CSV"});
    }

    // A folder where the output should go also stops the export, for any user.
    void folderInTheWay() {
        const QString log =
            placeLog("LOG00001.CSV", line500("75", "431", "8123456", "48123456", "500", "42"));
        QVERIFY(QDir().mkdir(QFileInfo(log).path() + "/TMD00001.CSV"));
        const Result<Conversion> result = ConvertToTrakmond(log, V500);
        QVERIFY(!result.ok());
        QVERIFY(!result.failure().message.isEmpty());
        QVERIFY(QFileInfo(QFileInfo(log).path() + "/TMD00001.CSV").isDir());
    }

    // Quoted fields that swallow ';' leave fewer fields than the export reads.
    void tooFewFields_data() {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("variant");
        QTest::addColumn<QString>("message");
        const QString text = QStringLiteral("nur %1 Felder, die Konvertierung braucht %2 "
                                            "(Anführungszeichen um ';'?)");
        QTest::newRow("kml 407") << "kml2d"
                                 << "407" << text.arg(9).arg(12);
        QTest::newRow("gpx 500") << "gpx"
                                 << "500" << text.arg(13).arg(14);
        QTest::newRow("plotter 500") << "trakmond"
                                     << "500" << text.arg(12).arg(15);
        QTest::newRow("plotter 407") << "trakmond"
                                     << "407" << text.arg(8).arg(11);
    }
    void tooFewFields() {
        QFETCH(QString, format);
        QFETCH(QString, variant);
        QFETCH(QString, message);
        const FirmwareVariant fw = variant == "407" ? V407 : V500;
        // Four of the line's ';' stand inside quotes.
        const QByteArray quoted =
            fw.hasV500Layout()
                ? "01;\"a;b;c;d;e\";75;-2;431;4.9;5.1;21;0;8123456;48123456;500;42\r\n"
                : "01;\"a;b;c;d;e\";75;-2;431;4.9;8123456;48123456;500\r\n";
        const QString log = placeLog("LOG00001.CSV", "Altorin\r\n\r\n" + quoted);
        const Result<Conversion> result = exportNamed(format)(log, fw);
        QVERIFY(!result.ok());
        QCOMPARE(result.failure().message, message);
        QCOMPARE(result.failure().line, 3);
        // The window's box has no other place for the line.
        QCOMPARE(conversionFailureText(result.failure()), "Zeile 3: " + message);
        QCOMPARE(filesIn(QFileInfo(log).path()), QStringList{"LOG00001.CSV"});
    }

    // The log date is local time; point times are the true UTC instants.
    void gpxTimes_data() {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QDateTime>("modified"); // local time of the zone
        QTest::addColumn<QByteArray>("elapsed");
        QTest::addColumn<QByteArray>("time");
        QTest::newRow("UTC, example")
            << QByteArray("UTC") << QDateTime(QDate(2010, 5, 7), QTime(14, 22, 1))
            << QByteArray("75") << QByteArray("2010-05-07T14:23:15Z");
        QTest::newRow("UTC, field 2 zero")
            << QByteArray("UTC") << QDateTime(QDate(2010, 5, 7), QTime(14, 22, 2))
            << QByteArray("0") << QByteArray("2010-05-07T14:22:02Z");
        QTest::newRow("UTC, midnight")
            << QByteArray("UTC") << QDateTime(QDate(2010, 5, 7), QTime(0, 0, 0)) << QByteArray("0")
            << QByteArray("2010-05-07T00:00:00Z");
        QTest::newRow("UTC, year end")
            << QByteArray("UTC") << QDateTime(QDate(2010, 12, 31), QTime(23, 59, 59))
            << QByteArray("3") << QByteArray("2011-01-01T00:00:01Z");
        QTest::newRow("UTC, leap day")
            << QByteArray("UTC") << QDateTime(QDate(2012, 2, 28), QTime(23, 0, 0))
            << QByteArray("$E10") << QByteArray("2012-02-29T00:00:00Z");
        QTest::newRow("CEST summer") << QByteArray("CET-1CEST,M3.5.0,M10.5.0/3")
                                     << QDateTime(QDate(2010, 5, 7), QTime(14, 22, 1))
                                     << QByteArray("75") << QByteArray("2010-05-07T12:23:15Z");
        QTest::newRow("CET winter, day before")
            << QByteArray("CET-1CEST,M3.5.0,M10.5.0/3")
            << QDateTime(QDate(2010, 1, 1), QTime(0, 30, 0)) << QByteArray("10")
            << QByteArray("2009-12-31T23:30:10Z");
        QTest::newRow("west of UTC") << QByteArray("EST5EDT,M3.2.0,M11.1.0")
                                     << QDateTime(QDate(2010, 5, 31), QTime(21, 0, 0))
                                     << QByteArray("3600") << QByteArray("2010-06-01T02:00:00Z");
    }
    void gpxTimes() {
        QFETCH(QByteArray, zone);
        QFETCH(QDateTime, modified);
        QFETCH(QByteArray, elapsed);
        QFETCH(QByteArray, time);
        const TimeZone tz(zone.constData());
        const QString log = placeLog("LOG00001.CSV", line500(elapsed.constData(), "431", "8123456",
                                                             "48123456", "500", "42"));
        QVERIFY(setModified(log, modified));
        const Result<Conversion> result = ConvertToGpx(log, V500);
        QVERIFY(result.ok());
        const QByteArray gpx = readBytes(result->outputPath);
        QVERIFY2(gpx.contains("<time>" + time + "</time>\r\n"), gpx.constData());
        QTime even = modified.time();
        even = even.addSecs(-(even.second() % 2));
        QCOMPARE(result->logDate.toLocalTime(), QDateTime(modified.date(), even));
    }

    // A card image, or a log cut short by a power loss, holds long zero-filled
    // stretches that join lines into one. They convert by the field rules
    // (splitting ends at a NUL, every ';' counts) in the memory of a short log.
    void zeroFilledStretches() {
        const qint64 Stretch = 64 << 20;
        // Each text but the first follows a stretch.
        const QByteArray texts[] = {
            // All fields before the stretch: a point.
            line500("75", "431", "8123456", "48123456", "500", "42") +
                "01;14:22:02;76;-1;432;4.9;5.1;21;0;12;8123466;48123466;501;43;180;7;1",
            // 14 ';' before, 2 in the stretches: a Data line with 15 fields.
            "\r\n01;14:22:03;77;0;433;4.9;5.1;21;0;12;8123476;48123476;502;44;", ";",
            // 15 ';' before, 2 after: no Data line.
            ";\r\n01;14:22:04;78;0;434;4.9;5.1;21;0;12;8123476;48123476;503;45;7;",
            ";1;\r\n" + line500("79", "435", "8123456", "48123456", "504", "46")};
        const QString log = placeLog("LOG00001.CSV", texts[0]);
        QFile file(log);
        QVERIFY(file.open(QIODevice::ReadWrite));
        for (const QByteArray& text : std::span(texts).subspan(1)) {
            QVERIFY(file.resize(file.size() + Stretch)); // sparse: no disk used
            QVERIFY(file.seek(file.size()) && file.write(text) == text.size());
        }
        file.close();

        struct rusage before {};
        getrusage(RUSAGE_SELF, &before);
        const Result<Conversion> result = ConvertToGpx(log, V500);
        struct rusage after {};
        getrusage(RUSAGE_SELF, &after);
        QVERIFY2(result.ok(),
                 qPrintable(result.status().value_or(Failure{FailureKind::IoError, {}}).message));
        QVERIFY2(after.ru_maxrss - before.ru_maxrss < 32 * 1024,
                 qPrintable(
                     QString("peak memory grew by %1 kB").arg(after.ru_maxrss - before.ru_maxrss)));
        const QByteArray gpx = readBytes(result->outputPath);
        QCOMPARE(gpx.count("<trkpt "), 4);
        for (const char* name : {"t:75s   v=42", "t:76s   v=43", "t:77s   v=44", "t:79s   v=46"})
            QVERIFY2(gpx.contains(name), name);
    }

    // Without field 13 the point name leaves out the speed.
    void gpxName407() {
        const QString log =
            placeLog("LOG00001.CSV", line407("75", "431", "8123456", "48123456", "500"));
        const Result<Conversion> result = ConvertToGpx(log, V407);
        QVERIFY(result.ok());
        QVERIFY(readBytes(result->outputPath).contains("<name>t:75s   h=431m</name>\r\n"));
    }

    void plotterRecords_data() {
        QTest::addColumn<QString>("variant");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("record"); // empty: no record
        QTest::newRow("500") << "500" << line500("75", "431", "8123456", "48123456", "431", "42")
                             << QByteArray(
                                    "0;431;-2;4.9;5.1;7;42;0;12;21;0;180;0;4812345;812345;4310;");
        QTest::newRow("duo") << "duo" << line500("75", "431", "8123456", "48123456", "4312", "42")
                             << QByteArray(
                                    "0;431;-2;4.9;5.1;7;42;0;12;21;0;180;0;4812345;812345;4312;");
        QTest::newRow("407") << "407" << line407("75", "431", "8123456", "48123456", "500")
                             << QByteArray(
                                    "0;431;-2;4.9;5.1;0;0;0;12;21;0;0;0;4812345;812345;4310;");
        QTest::newRow("west and south")
            << "500" << line500("75", "431", "-8123456", "-33123456", "431", "42")
            << QByteArray("0;431;-2;4.9;5.1;7;42;0;12;21;0;180;0;-3312345;-812345;4310;");
        QTest::newRow("explicit plus")
            << "500" << line500("75", "431", "+8123456", "48123456", "431", "42")
            << QByteArray("0;431;-2;4.9;5.1;7;42;0;12;21;0;180;0;4812345;+812345;4310;");
        QTest::newRow("latitude 00 kept empty")
            << "500" << line500("75", "431", "008123456", "00", "431", "42")
            << QByteArray("0;431;-2;4.9;5.1;7;42;0;12;21;0;180;0;;0812345;4310;");
        QTest::newRow("latitude 0 dropped")
            << "500" << line500("75", "431", "8123456", "0", "431", "42") << QByteArray();
        QTest::newRow("longitude 0 dropped")
            << "500" << line500("75", "431", "0", "48123456", "431", "42") << QByteArray();
        QTest::newRow("longitude 01 trims to empty, kept")
            << "500" << line500("75", "431", "01", "48123456", "431", "42")
            << QByteArray("0;431;-2;4.9;5.1;7;42;0;12;21;0;180;0;4812345;;4310;");
        QTest::newRow("altitude decimals cut")
            << "500" << line500("75", "431", "8123456", "48123456", "431.79", "42")
            << QByteArray("0;431;-2;4.9;5.1;7;42;0;12;21;0;180;0;4812345;812345;4317;");
        QTest::newRow("altitude exponent, negative")
            << "500" << line500("75", "431", "8123456", "48123456", "-4.3E1", "42")
            << QByteArray("0;431;-2;4.9;5.1;7;42;0;12;21;0;180;0;4812345;812345;-430;");
        QTest::newRow("3-character field 0 moves the items")
            << "407"
            << QByteArray("001;14:22:01;75;-2;431;4.9;5.1;21;0;12;8123456;48123456;500\r\n")
            << QByteArray("0;-2;75;431;4.9;0;0;0;0;5.1;21;0;0;812345;1;-20;");
    }
    void plotterRecords() {
        QFETCH(QString, variant);
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, record);
        const FirmwareVariant fw = variant == "407" ? V407 : variant == "duo" ? Duo : V500;
        const QString log = placeLog("LOG00001.CSV", line);
        const Result<Conversion> result = ConvertToTrakmond(log, fw);
        QVERIFY2(result.ok(),
                 qPrintable(result.status().value_or(Failure{FailureKind::IoError, {}}).message));
        QCOMPARE(readBytes(result->outputPath),
                 TrakmondHead + (record.isEmpty() ? QByteArray() : record + "\r\n"));
    }

    void kmlAndGpxLines() {
        const QString log =
            placeLog("LOG00012.CSV", line500("75", "4312", "8123456", "48123456", "500", "42"));
        const Result<Conversion> kml = ConvertToKml(log, true, false, Duo);
        QVERIFY(
            readBytes(kml->outputPath).contains("\r\n8.20576000213623,48.2057600021362,431.2\r\n"));
        const Result<Conversion> gps = ConvertToKml(log, true, true, Duo);
        QVERIFY(
            readBytes(gps->outputPath).contains("\r\n8.20576000213623,48.2057600021362,500\r\n"));
        const Result<Conversion> gpx = ConvertToGpx(log, Duo);
        const QByteArray text = readBytes(gpx->outputPath);
        QVERIFY(text.contains("<trkpt lat=\"48.2057600021362\" lon=\"8.20576000213623\">\r\n"
                              "<ele>500</ele>\r\n"));
        QVERIFY(text.contains("<name>t:75s   v=42km/h   h=431.2m</name>\r\n"));
    }

    // GPX coordinates are xsd:decimal: near the equator and the prime meridian
    // they are written without an exponent, while KML keeps the E form.
    void gpxCoordinatesNearZeroArePlainDecimals() {
        const QString log =
            placeLog("LOG00013.CSV", line500("75", "431", "1", "-600", "500", "42"));
        const QByteArray gpx = readBytes(ConvertToGpx(log, V500)->outputPath);
        QVERIFY(
            gpx.contains("<trkpt lat=\"-0.00100000004749745\" lon=\"0.00000166666666245874\">"));
        const QByteArray kml = readBytes(ConvertToKml(log, false, false, V500)->outputPath);
        QVERIFY(kml.contains("\r\n1.66666666245874E-6,-0.00100000004749745,431\r\n"));
    }

    // Output bytes do not depend on the regional settings.
    void commaLocale() {
        const QLocale saved;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        std::setlocale(LC_ALL, "de_DE.UTF-8");
        const QString log = placeLog("LOG00500.CSV", readBytes(dataPath("LOG00500.CSV")));
        const Result<Conversion> gpx = ConvertToGpx(log, Duo);
        const Result<Conversion> plotter = ConvertToTrakmond(log, V500);
        QLocale::setDefault(saved);
        std::setlocale(LC_ALL, "C");
        QVERIFY(gpx.ok() && plotter.ok());
        QVERIFY(
            sameBytes(readBytes(gpx->outputPath), readBytes(dataPath("expected/duo.gpx")), "gpx"));
        QVERIFY(sameBytes(readBytes(plotter->outputPath),
                          readBytes(dataPath("expected/500.trakmond")), "trakmond"));
    }
};

QTEST_GUILESS_MAIN(TestConvertExports)
#include "tst_convert_exports.moc"
