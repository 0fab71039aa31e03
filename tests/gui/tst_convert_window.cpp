// The five commands of "Daten-Konvertierung" driven through the menu: open
// dialog, conversion with the variant selected at that moment, completion
// message or error box.
#include "app/tform1.h"
#include "common/conversionmenu.h"
#include "common/fakedialogs.h"
#include "common/testfiles.h"
#include "core/programstate.h"
#include "core/settingsfile.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

const QByteArray Line500 =
    "01;14:22:01;75;-2;4312;4.9;5.1;21;0;12;8123456;48123456;500;42;180;7;1\r\n";
const QString Done = QStringLiteral("Fertig mit Konvertierung nach:\r");

} // namespace

class TestConvertWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakeDialogs> fake;
    std::unique_ptr<TForm1> form;
    QString log;

    QAction* command(const QString& name) const { return menuItemOf(*form, name); }
    QStringList filesBesideLog() const {
        return QDir(dir->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

  private slots:
    void init() {
        resetProgramState();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        setSettingsFolder(dir->filePath("settings"));
        fake = std::make_unique<FakeDialogs>();
        form = std::make_unique<TForm1>();
        fake->infos.clear(); // the firmware reminder
        fake->dialogsRun.clear();
        log = dir->filePath("LOG00012.CSV");
        QFile file(log);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("Altorin\r\n" + Line500);
        file.close();
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(QDateTime(QDate(2010, 5, 7), QTime(14, 22, 1)),
                                 QFileDevice::FileModificationTime));
        programState().firmware = FirmwareVariant{500, 0};
    }
    void cleanup() {
        form.reset();
        fake.reset();
        setSettingsFolder(QString());
        dir.reset();
    }

    void commands_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QByteArray>("contains");
        QTest::newRow("nach KML 2D")
            << "kml2d"
            << "LOG00012.kml" << QByteArray("<altitudeMode>clampedToGround</altitudeMode>");
        QTest::newRow("nach KML 3D mit GPS-Höhe")
            << "kml3d-gps"
            << "LOG00012.kml" << QByteArray("<altitudeMode>absolute</altitudeMode>");
        QTest::newRow("nach KML 3D mit barom. Höhe")
            << "kml3d-baro"
            << "LOG00012.kml" << QByteArray("<altitudeMode>relativeToGround</altitudeMode>");
        QTest::newRow("für Trakmond") << "trakmond"
                                      << "TMD00012.CSV" << QByteArray("4812345;812345;5000;\r\n");
    }
    void commands() {
        QFETCH(QString, name);
        QFETCH(QString, output);
        QFETCH(QByteArray, contains);
        fake->fileAnswers << log;
        command(name)->trigger();
        QCOMPARE(fake->dialogsRun, QStringList{"OpenDialog1"});
        QCOMPARE(fake->errors, QStringList{});
        QCOMPARE(fake->infos, QStringList{Done + output});
        QVERIFY(readBytes(dir->filePath(output)).contains(contains));
    }

    // The GPX message adds the log date in the regional short format.
    void gpxMessageWithLogDate() {
        fake->fileAnswers << log;
        form->nachGMX1->trigger();
        const QString date = QLocale().toString(QDateTime(QDate(2010, 5, 7), QTime(14, 22, 0)),
                                                QLocale::ShortFormat);
        QCOMPARE(fake->infos, QStringList{Done + "LOG00012.GPX\r" + date});
        QVERIFY(readBytes(dir->filePath("LOG00012.GPX"))
                    .contains("<time>2010-05-07T14:23:15Z</time>\r\n"
                              "<name>t:75s   v=42km/h   h=4312m</name>"));
    }

    // The menu's boxes stand over the main window; a conversion asked for by
    // another window (the flight view) reports over that one, the box about
    // the other firmware and the failures included.
    void messagesOverTheWindowAsking() {
        fake->boxParents.clear(); // the firmware reminder
        fake->fileAnswers << log;
        form->nachKML2D1->trigger();
        QCOMPARE(fake->boxParents, QList<QWidget*>{form.get()});

        QWidget other;
        fake->boxParents.clear();
        programState().firmware = FirmwareVariant{407, 0};
        const ConversionFormat& gpx = *conversionFormatNamed(QStringLiteral("gpx"));
        form->ConvertAndReport(gpx, log, &other);
        form->ConvertAndReport(gpx, dir->filePath("LOG99999.CSV"), &other);
        QCOMPARE(fake->infos.size(), 3);
        QCOMPARE(fake->errors, QStringList{"Datei nicht gefunden"});
        QCOMPARE(fake->boxParents, (QList<QWidget*>{&other, &other, &other}));
    }

    void cancelDoesNothing() {
        for (const ConversionFormat& format : conversionFormats())
            menuItemOf(*form, format)->trigger();
        QCOMPARE(fake->dialogsRun.size(), qsizetype(conversionFormats().size()));
        QCOMPARE(fake->infos, QStringList{});
        QCOMPARE(fake->errors, QStringList{});
        QCOMPARE(filesBesideLog(), QStringList{"LOG00012.CSV"});
    }

    // The variant in force when the command runs decides how the log is read.
    void usesTheCurrentVariant() {
        programState().firmware = FirmwareVariant{500, 1};
        fake->fileAnswers << log;
        form->nachGMX1->trigger();
        QVERIFY(readBytes(dir->filePath("LOG00012.GPX")).contains("h=431.2m</name>"));

        programState().firmware = FirmwareVariant{407, 0};
        fake->fileAnswers << log;
        form->nachKML3D1->trigger();
        QVERIFY(!readBytes(dir->filePath("LOG00012.kml")).contains("8.20576000213623"));
        // Both completion messages; the second conversion adds the box that
        // says the log is of the other firmware.
        QCOMPARE(fake->infos.size(), 3);
    }

    void failuresGoToTheErrorBox() {
        fake->fileAnswers << dir->filePath("LOG99999.CSV");
        form->nachKML2D1->trigger();
        QCOMPARE(fake->errors, QStringList{"Datei nicht gefunden"});

        QFile file(log);
        QVERIFY(file.open(QIODevice::Append));
        file.write("01;14:22:01;76;-2;43x;4.9;5.1;21;0;12;8123456;48123456;500;42;180;7;1\r\n");
        file.close();
        fake->fileAnswers << log;
        form->nachGMX1->trigger();
        QCOMPARE(fake->errors.value(1), QStringLiteral("'43x' ist kein gültiger Integerwert"));
        QCOMPARE(fake->infos, QStringList{});
        QCOMPARE(filesBesideLog(), QStringList{"LOG00012.CSV"});
    }

    // A log of the other firmware: the output as written, then a second box
    // naming the field count and the chosen variant's caption as shown.
    void wrongFirmwareBox_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QString>("chosen"); // the firmware menu item
        QTest::addColumn<QString>("message");
        const QString adjust = ". Firmware im Menue >Einstellungen< anpassen.";
        const QString has17 = "Keine Trackpunkte: die Log-Datei hat Zeilen mit 17 Feldern, "
                              "eingestellt ist ";
        const QString has13 = "Keine Trackpunkte: die Log-Datei hat Zeilen mit 13 Feldern, "
                              "eingestellt ist ";
        const QByteArray line407 = "01;14:22:01;75;-2;431;4.9;5.1;21;0;12;8123456;48123456;500\r\n";
        QTest::newRow("500 log under 407")
            << Line500 << "bisV407x1" << has17 + "Altorin        bis V. 407x" + adjust;
        QTest::newRow("407 log under 500")
            << line407 << "abV408x1" << has13 + "Altorin        ab V. 50x" + adjust;
        QTest::newRow("407 log under Duo")
            << line407 << "Duo_ab50x" << has13 + "Altorin Duo ab V. 50x" + adjust;
    }
    void wrongFirmwareBox() {
        QFETCH(QByteArray, line);
        QFETCH(QString, chosen);
        QFETCH(QString, message);
        QVERIFY(writeBytes(log, "Altorin\r\n" + line + line));
        form->findChild<QAction*>(chosen)->trigger();
        fake->infos.clear();
        fake->fileAnswers << log;
        form->nachKML2D1->trigger();
        QCOMPARE(fake->infos, (QStringList{Done + "LOG00012.kml", message}));
        QVERIFY(
            readBytes(dir->filePath("LOG00012.kml")).contains("<coordinates>\r\n</coordinates>"));
    }

    // The caption as the window shows it, also after the language switch.
    void wrongFirmwareBoxShowsTheCurrentCaption() {
        form->english1->trigger();
        form->bisV407x1->trigger();
        fake->infos.clear();
        fake->fileAnswers << log;
        form->frTrakmond1->trigger();
        QCOMPARE(fake->infos.value(1).section(", eingestellt ist ", 1),
                 form->bisV407x1->text() + ". Firmware im Menue >Einstellungen< anpassen.");
    }

    // No box for a log without Data lines, nor for one that gave a point.
    void noWrongFirmwareBoxOtherwise() {
        for (const QByteArray& bytes : {QByteArray("Altorin\r\n"), Line500}) {
            QVERIFY(writeBytes(log, bytes));
            fake->infos.clear();
            fake->fileAnswers << log;
            form->nachGMX1->trigger();
            QCOMPARE(fake->infos.size(), 1);
        }
    }

    void plotterOfItsOwnOutputIsRefused() {
        const QString own = dir->filePath("TMD00012.CSV");
        QVERIFY(QFile::copy(log, own));
        fake->fileAnswers << own;
        form->frTrakmond1->trigger();
        QCOMPARE(fake->errors, QStringList{"Ausgabe wäre die Log-Datei selbst: TMD00012.CSV"});
        QCOMPARE(readBytes(own), readBytes(log));
    }
};

QTEST_MAIN(TestConvertWindow)
#include "tst_convert_window.moc"
