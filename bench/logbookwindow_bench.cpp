// The logbook window's figures, run by altorin-logbook-bench:
//   altorin-logbook-window-bench --show BOOK   prints the milliseconds the
//       window takes to open on the logbook and paint its first showing
//       (reading the entries included), then those of the reading alone
//   altorin-logbook-window-bench --screenshot PNG   a logbook of a few
//       made-up flights and the examples, shown and saved (run under Xvfb
//       with SOURCE_DIR set to the source folder)
#include "app/ui/dialogs.h"
#include "core/programstate.h"
#include "logbook/logbook.h"
#include "logbook/ui/logbookwindow.h"

#include "bench/silentdialogs.h"
#include "logbook/logbook_support.h"

#include <QApplication>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <cstdio>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

int show(const QString& book) {
    SilentDialogs silent;
    setDialogs(&silent);
    // As the menu item does it: the database opened, the entries read, the
    // window built and painted (the SQLite driver's loading included).
    Clock::time_point start = Clock::now();
    LogbookWindow* window = LogbookWindow::openOn(nullptr, book);
    if (!window)
        return 1;
    QCoreApplication::processEvents();
    window->grab();
    const double shown = msSince(start);
    delete window;
    // The reading alone, again.
    start = Clock::now();
    auto logbook = Logbook::open(book);
    if (!logbook)
        return 1;
    const auto entries = (*logbook)->entries();
    if (!entries)
        return 1;
    const double reading = msSince(start);
    std::printf("%.1f %.1f %zu\n", shown, reading, entries->size());
    return 0;
}

struct MadeUp {
    const char* model;
    const char* site;
    const char* note;
    QDateTime date;
    logbook_support::Flight flight;
};

int screenshot(const QString& output) {
    using namespace logbook_support;
    SilentDialogs silent;
    setDialogs(&silent);
    QTemporaryDir dir;
    const QString book = dir.filePath(QStringLiteral("book"));
    auto logbook = Logbook::open(book);
    if (!logbook)
        return 1;
    const QDate day(2026, 6, 14);
    const auto at = [](QDate date, int h, int m) { return QDateTime(date, QTime(h, m)); };
    const MadeUp flights[] = {
        {"ASW 28", "Wasserkuppe", "Thermik bis 180 m", at(day, 11, 5),
         Flight{{{60, 1260}}, 1320, 180}},
        {"ASW 28", "Wasserkuppe", "", at(day, 13, 40), Flight{{{40, 900}}, 960, 150}},
        {"Ventus 2c", "Wasserkuppe", "neue Akkus", at(day, 15, 12),
         Flight{{{50, 1850}}, 1900, 210}},
        {"Easy Glider", "Teck", "Windenstarts", at(day.addDays(7), 10, 20),
         Flight{{{30, 300}, {400, 700}, {800, 1150}}, 1200, 90}},
        {"Ventus 2c", "Teck", "Servo Seitenruder geprüft", at(day.addDays(7), 14, 2),
         Flight{{{45, 2400}}, 2460, 240}},
        {"ASW 28", "Hahnweide", "", at(day.addDays(21), 16, 30), Flight{{{60, 1500}}, 1560, 160}},
        {"Easy Glider", "Hahnweide", "Landung im Acker", at(day.addDays(35), 12, 15),
         Flight{{{40, 620}}, 700, 110}},
    };
    int n = 0;
    for (const MadeUp& m : flights) {
        const QString log =
            dir.filePath(QStringLiteral("card/LOG%1.CSV").arg(++n, 5, 10, QChar('0')));
        if (!writeLog(log, m.flight.log(V500), m.date))
            return 1;
        const ImportedLog added =
            (*logbook)->importLog(log, {FirmwareChoice::Auto, QString::fromUtf8(m.model)});
        EntryChanges changes;
        changes.site = QString::fromUtf8(m.site);
        changes.note = QString::fromUtf8(m.note);
        if (added.outcome != ImportOutcome::Added || (*logbook)->update({added.entryId}, changes))
            return 1;
    }
    // The examples of the source folder, flown with the old firmware.
    const QString examples = qEnvironmentVariable("SOURCE_DIR") + QStringLiteral("/examples");
    const ImportReport report = (*logbook)->importLogs({examples});
    for (const ImportedLog& log : report.logs) {
        EntryChanges changes;
        changes.model = QStringLiteral("Ka 6");
        changes.site = QStringLiteral("Teck");
        changes.date =
            at(day.addDays(-20), 14, log.path.endsWith(QStringLiteral("1.CSV")) ? 5 : 35);
        if (log.outcome == ImportOutcome::Added && (*logbook)->update({log.entryId}, changes))
            return 1;
    }
    logbook->reset();
    programState().firmware = FirmwareVariant{500, 0};
    LogbookWindow* window = LogbookWindow::openOn(nullptr, book);
    if (!window)
        return 1;
    window->move(20, 20);
    QTest::qWait(300);
    window->table()->selectRow(2);
    QTest::qWait(100);
    const bool saved = window->grab().save(output);
    delete window;
    return saved ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[]) {
    const bool shot = argc > 2 && QByteArray(argv[1]) == "--screenshot";
    if (!shot)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_LOGGING_RULES", "*.warning=false");
    QApplication app(argc, argv);
    if (shot)
        return screenshot(QString::fromLocal8Bit(argv[2]));
    if (argc > 2 && QByteArray(argv[1]) == "--show")
        return show(QString::fromLocal8Bit(argv[2]));
    std::fprintf(stderr, "usage: %s --show BOOK | --screenshot PNG\n", argv[0]);
    return 2;
}
