// The logbook's speed: a card of 200 one-hour logs at one line a second
// imported with altorin-logbook, set against altorin-convert --summary on the
// same card and against only reading its files; the same card imported
// again; the upgrade that reads the copies again; list and totals over 10,000
// entries; the logbook window showing them; database bytes per entry.
#include "bench/childrun.h"
#include "bench/loggen.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

constexpr int CardLogs = 200;
constexpr long HourLines = 3600;

void report(const char* what, const Run& run) {
    std::printf("%-40s %s wall %.3f s, CPU %.3f s, peak memory %.1f MB\n", what,
                run.ok ? "" : "FAILED", run.seconds, run.cpuSeconds, run.maxRssKb / 1024.0);
}

// Reads every file of the card in large blocks: the floor of any import.
Run readOnly(const std::string& card) {
    return runForked([&card] {
        std::vector<char> buffer(1 << 20);
        for (int i = 1; i <= CardLogs; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "/LOG%05d.CSV", i);
            const int fd = open((card + name).c_str(), O_RDONLY);
            if (fd < 0)
                return 1;
            while (read(fd, buffer.data(), buffer.size()) > 0) {
            }
            close(fd);
        }
        return 0;
    });
}

// One small write made durable per log, one after the other: the floor that a
// commit per log (each surviving a power cut at once) sets on this disk.
Run syncFloor(const std::string& folder) {
    return runForked([&folder] {
        const std::string path = folder + "/sync-floor";
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0)
            return 1;
        std::vector<char> page(4096, 'x');
        for (int i = 0; i < CardLogs; ++i)
            if (write(fd, page.data(), page.size()) != ssize_t(page.size()) || fdatasync(fd) != 0)
                return 1;
        close(fd);
        return unlink(path.c_str()) == 0 ? 0 : 1;
    });
}

long long fileSize(const std::string& path) {
    struct stat s {};
    return stat(path.c_str(), &s) == 0 ? s.st_size : -1;
}

// Fills the logbook up to `entries` entries by copying its first entry under
// hashes of its own, spread over models and two years of dates: a pilot's
// logbook after many seasons, without importing 10,000 logs.
bool fillLogbook(const std::string& database, int entries) {
    bool ok = false;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
        db.setDatabaseName(QString::fromStdString(database));
        if (db.open()) {
            QSqlQuery q(db);
            ok = q.exec(QStringLiteral("BEGIN IMMEDIATE")) &&
                 q.exec(
                     QStringLiteral(
                         "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                         "WHERE i < %1) "
                         "INSERT INTO entries (file_name, sha256, file_size, date, "
                         "imported_at, firmware, model, site, note, flight_time, launches, "
                         "log_time, segments, data_lines, position_lines, skipped_lines, "
                         "start_altitude, max_altitude, min_altitude, altitude_gain, "
                         "max_gps_altitude, max_climb, max_sink, max_speed, track_distance, "
                         "max_start_distance, file_date, thermal_count, circling_share, "
                         "thermal_climb, best_thermal_climb, best_thermal_gain, thermal_source) "
                         "SELECT printf('LOG%05d.CSV', i % 400 + 1), lower(hex(randomblob(32))), "
                         "file_size, date - i * 6000, imported_at, firmware, "
                         "'Model ' || (i % 7), CASE WHEN i % 3 = 0 THEN 'Wasserkuppe' ELSE '' END, "
                         "'', flight_time - i % 600, launches, log_time, segments, data_lines, "
                         "position_lines, skipped_lines, start_altitude, max_altitude - i % 90, "
                         "min_altitude, altitude_gain, max_gps_altitude, max_climb, max_sink, "
                         "max_speed, track_distance, max_start_distance, file_date - i * 6000, "
                         "thermal_count, circling_share, thermal_climb, best_thermal_climb, "
                         "best_thermal_gain, thermal_source "
                         "FROM n, (SELECT * FROM entries LIMIT 1)")
                         .arg(entries - CardLogs)) &&
                 q.exec(QStringLiteral("COMMIT")) &&
                 q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
            if (!ok)
                std::fprintf(stderr, "fill: %s\n", q.lastError().text().toUtf8().constData());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));
    return ok;
}

// The window opened on the logbook and painted, best of the runs, by
// altorin-logbook-window-bench in a process of its own: milliseconds shown
// and read (0 when it failed).
std::pair<double, double> windowFigures(const std::string& book, int runs) {
    double best = 0, reading = 0;
    for (int i = 0; i < runs; ++i) {
        std::string output;
        const Run run = runForked(
            [&book] {
                execl(ALTORIN_LOGBOOK_WINDOW_BENCH_PATH, ALTORIN_LOGBOOK_WINDOW_BENCH_PATH,
                      "--show", book.c_str(), nullptr);
                return 127;
            },
            &output);
        double shown = 0, read = 0;
        if (!run.ok || std::sscanf(output.c_str(), "%lf %lf", &shown, &read) != 2)
            return {0, 0};
        if (i == 0 || shown < best) {
            best = shown;
            reading = read;
        }
    }
    return {best, reading};
}

// A copy of the logbook as the version before the thermal figures kept it.
bool versionTwoCopy(const std::string& book, const std::string& older) {
    const std::string copy = "rm -rf '" + older + "' && cp -a '" + book + "' '" + older + "'";
    if (std::system(copy.c_str()) != 0)
        return false;
    bool ok = false;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("older"));
        db.setDatabaseName(QString::fromStdString(older + "/logbook.sqlite"));
        if (db.open()) {
            QSqlQuery q(db);
            ok = true;
            for (const char* column : {"thermal_count", "circling_share", "thermal_climb",
                                       "best_thermal_climb", "best_thermal_gain", "thermal_source"})
                ok = ok && q.exec(QStringLiteral("ALTER TABLE entries DROP COLUMN %1")
                                      .arg(QLatin1String(column)));
            ok = ok && q.exec(QStringLiteral("PRAGMA user_version = 2"));
            if (!ok)
                std::fprintf(stderr, "version 2: %s\n", q.lastError().text().toUtf8().constData());
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("older"));
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const std::string logbook = ALTORIN_LOGBOOK_PATH;
    const std::string converter = ALTORIN_CONVERT_PATH;
    const std::string folder = makeBenchFolder();
    if (folder.empty())
        return 1;
    const int runs = benchRuns();
    std::printf("work folder: %s\nbest of %d runs each\n\n", folder.c_str(), runs);

    // Each log an hour and a few seconds, so that no two have the same bytes.
    const std::string card = folder + "/card";
    mkdir(card.c_str(), 0755);
    long long cardBytes = 0;
    for (int i = 1; i <= CardLogs; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "/LOG%05d.CSV", i);
        if (!writeLogFile(card + name, HourLines + i))
            return 1;
        cardBytes += fileSize(card + name);
    }
    std::printf("card: %d logs, %.1f MB\n", CardLogs, cardBytes / 1e6);

    const Run read = bestOf(runs, [&] { return readOnly(card); });
    report("only reading the files", read);
    const Run floor = bestOf(runs, [&] { return syncFloor(folder); });
    report("200 durable small writes in a row", floor);
    const Run summary = bestRun({converter, "--summary", "--firmware", "500", card}, runs);
    report("altorin-convert --summary", summary);

    const std::string book = folder + "/book";
    const Run import = bestOf(runs, [&] {
        const std::string cleanup = "rm -rf '" + book + "'";
        if (std::system(cleanup.c_str()) != 0)
            return Run{};
        return runChild({logbook, "--logbook", book, "import", card}, true);
    });
    report("altorin-logbook import (a new logbook)", import);
    const Run again = bestRun({logbook, "--logbook", book, "import", card}, runs);
    report("altorin-logbook import (the same again)", again);
    // The upgrade reads every copy again for its thermal figures.
    const std::string older = folder + "/older";
    const Run upgrade = bestOf(runs, [&] {
        if (!versionTwoCopy(book, older))
            return Run{};
        return runChild({logbook, "--logbook", older, "list"}, true);
    });
    report("list, upgrading from version 2", upgrade);

    const std::string database = book + "/logbook.sqlite";
    const double perEntryCard = double(fileSize(database)) / CardLogs;
    constexpr int ManyEntries = 10000;
    if (!fillLogbook(database, ManyEntries))
        return 1;
    const Run list = bestRun({logbook, "--logbook", book, "list"}, runs);
    report("list of 10,000 entries", list);
    const Run listJson = bestRun({logbook, "--logbook", book, "list", "--json"}, runs);
    report("list --json of 10,000 entries", listJson);
    const Run totals = bestRun({logbook, "--logbook", book, "totals", "--by", "month"}, runs);
    report("totals --by month of 10,000 entries", totals);
    const auto [window, windowReading] = windowFigures(book, runs);
    std::printf("%-40s %s %.0f ms (reading the entries %.0f ms)\n", "window showing 10,000 entries",
                window > 0 ? "" : "FAILED", window, windowReading);
    const double perEntry = double(fileSize(database)) / ManyEntries;

    const auto verdict = [](bool ok) { return ok ? "ok" : "MISSED"; };
    std::printf("\nimport %.3f s (target < 3 s): %s\n", import.seconds,
                verdict(import.seconds < 3));
    std::printf("import / altorin-convert --summary = %.3f / %.3f s = %.2fx (target <= 2.5x): %s\n",
                import.seconds, summary.seconds, import.seconds / summary.seconds,
                verdict(import.seconds <= 2.5 * summary.seconds));
    // On a shared or busy machine the import's worker threads may find no
    // core free: its CPU time beside the summary's tells what one core gives.
    std::printf("import / altorin-convert --summary in CPU time = %.3f / %.3f s = %.2fx\n",
                import.cpuSeconds, summary.cpuSeconds, import.cpuSeconds / summary.cpuSeconds);
    std::printf("import / only reading = %.3f / %.3f s = %.1fx\n", import.seconds, read.seconds,
                import.seconds / read.seconds);
    std::printf("import / 200 durable small writes = %.3f / %.3f s = %.1fx\n", import.seconds,
                floor.seconds, import.seconds / floor.seconds);
    std::printf("import again %.3f s (target < 1 s): %s\n", again.seconds,
                verdict(again.seconds < 1));
    std::printf("upgrade from version 2 with 200 entries (within a list) %.3f s\n",
                upgrade.seconds);
    std::printf("list %.3f s, totals %.3f s (target < 0.2 s): %s; list --json %.3f s\n",
                list.seconds, totals.seconds, verdict(std::max(list.seconds, totals.seconds) < 0.2),
                listJson.seconds);
    std::printf("window shows 10,000 entries in %.0f ms (target < 500 ms): %s\n", window,
                verdict(window > 0 && window < 500));
    std::printf("database: %.0f bytes per entry with 200 entries, %.0f with 10,000 "
                "(target < 2048): %s\n",
                perEntryCard, perEntry, verdict(perEntry < 2048));
    removeBenchFolder(folder);
    return 0;
}
