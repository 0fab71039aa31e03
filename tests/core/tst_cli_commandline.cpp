// What the command-line programs share: logs named by a folder, the firmware
// option, and help text wrapped to the terminal.
#include "cli/commandline.h"
#include "common/testfiles.h"
#include "log/logfiles.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

class TestCliCommandLine : public QObject {
    Q_OBJECT

  private slots:
    // Cards show names in any letter case; they come in name order whatever
    // the case, and only files of a log's name form count.
    void folderGivesItsLogs() {
        QTemporaryDir dir;
        const QString card = dir.filePath("card");
        QVERIFY(QDir().mkpath(card + "/LOG00004.CSV")); // a folder, not a log
        for (const char* name : {"Log00002.Csv", "log00001.csv", "LOG00003.CSV", "LOG0001.CSV",
                                 "LOG00005.CSV.bak", "TMD00001.CSV", "notes.txt"})
            QVERIFY(writeBytes(card + '/' + name, "x"));
        const Result<QStringList> logs = logFilesNamedBy(card + '/');
        QVERIFY(logs);
        QCOMPARE(*logs, (QStringList{card + "/log00001.csv", card + "/Log00002.Csv",
                                     card + "/LOG00003.CSV"}));
        QCOMPARE(logFilesNamedBy(card).value().first(), card + "/log00001.csv");

        // A file or a missing path is one log, for the conversion to report.
        const QString none = card + "/LOG09999.CSV";
        QCOMPARE(logFilesNamedBy(none).value(), QStringList{none});
        const Result<QStringList> empty = logFilesNamedBy(card + "/LOG00004.CSV");
        QVERIFY(!empty);
        QCOMPARE(empty.failure().message,
                 QStringLiteral("Keine Log-Datei (LOG?????.CSV) in diesem Ordner"));
    }

    void firmwareOptionInAnyCase() {
        QCOMPARE(firmwareNamed("DUO")->isDuo(), true);
        QCOMPARE(firmwareNamed("500")->version, 500);
        QCOMPARE(firmwareNamed("407")->hasV500Layout(), false);
        QVERIFY(!firmwareNamed("408"));
        // The value names the layout in force, as the settings file may hold 408.
        for (const char* value : {"407", "500", "duo"})
            QCOMPARE(firmwareOptionValue(*firmwareNamed(value)), QString(value));
        QCOMPARE(firmwareOptionValue(FirmwareVariant{408, 0}), QStringLiteral("500"));
    }

    void wrapsToTheWidth() {
        QCOMPARE(wrapText("one two three four", 9, 2, 4),
                 QStringLiteral("  one two\n    three\n    four\n"));
        QCOMPARE(wrapText("a verylongword b", 6), QStringLiteral("a\nverylongword\nb\n"));
        const CommandHelp help{
            "tool [--firmware 407|500|duo] LOGFILE...",
            "Converts logs. Second sentence of the first paragraph.\nAnother paragraph.",
            {helpOption(), firmwareOption("Firmware of the device that wrote the logs.")},
            {{"tool --firmware 500 LOG00001.CSV", "Converts one log of a 500."}}};
        for (int columns : {30, 80}) {
            const QString text = helpText(help, columns);
            for (const QString& line : text.split('\n'))
                QVERIFY2(line.size() <= columns, qPrintable(line));
            QVERIFY(text.contains("--firmware <407|500|duo>"));
        }
        const QString wide = helpText(help, 80);
        QVERIFY(wide.contains("  -h, --help              Shows this help.\n"));
        QVERIFY(wide.contains("\nExamples:\n  tool --firmware 500 LOG00001.CSV\n"));
    }
};

QTEST_GUILESS_MAIN(TestCliCommandLine)
#include "tst_cli_commandline.moc"
