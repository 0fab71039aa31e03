#pragma once

// Helpers of the logbook tests: logs that look like real flights (a model on
// the ground near 0 m with the pressure's small noise, then launches, glides
// and landings), written into a card folder with the dates of a flying day.
#include "common/testfiles.h"
#include "core/programstate.h"
#include "logbook/logbook.h"

#include <QByteArray>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace logbook_support {

// The barometric altitude (m over the switch-on place) at given times; the
// model is in the air between the ground points of a profile.
struct ProfilePoint {
    double time;
    double altitude;
};
using Profile = std::vector<ProfilePoint>;

inline double altitudeAt(const Profile& profile, double t) {
    if (t <= profile.front().time)
        return profile.front().altitude;
    for (size_t i = 1; i < profile.size(); ++i)
        if (t <= profile[i].time) {
            const ProfilePoint& a = profile[i - 1];
            const ProfilePoint& b = profile[i];
            return a.altitude + (b.altitude - a.altitude) * (t - a.time) / (b.time - a.time);
        }
    return profile.back().altitude;
}

// The coordinate form of the log: degrees x 1e6 + minutes x 1e4.
inline QByteArray coordinate(double degrees) {
    const int whole = int(degrees);
    return QByteArray::number(qint64(whole) * 1000000 +
                              qint64(std::lround((degrees - whole) * 60.0 * 10000.0)));
}

// A log following the profile, one line every `step` seconds; `airborne`
// tells when the model moves (speed and a circling track) for the 17-field
// lines. The barometer wobbles by a metre as a real one does.
template <typename Airborne>
QByteArray profileLog(const FirmwareVariant& firmware, const Profile& profile, Airborne airborne,
                      int step = 1) {
    QByteArray log = firmware.hasV500Layout() ? "Altorin V500\r\n" : "Altorin V407\r\n";
    const double end = profile.back().time;
    for (int t = 0; t <= end; t += step) {
        const bool flying = airborne(double(t));
        const int noise = (t * 7 / 3) % 3 == 0 ? 1 : 0;
        double baro = altitudeAt(profile, t) + noise;
        if (firmware.isDuo())
            baro *= 10;
        const double angle = flying ? t / 20.0 : 0;
        const double lat = 48.2 + (flying ? 0.0015 * std::sin(angle) : 0);
        const double lon = 8.2 + (flying ? 0.002 * (1 - std::cos(angle)) : 0);
        const int h = 10 + t / 3600, m = t / 60 % 60, s = t % 60;
        QByteArray line = QString::asprintf("01;%02d:%02d:%02d;%d;-2;%lld;4.9;5.1;21;0;12;", h, m,
                                            s, t, qint64(std::lround(baro)))
                              .toLatin1();
        line += coordinate(lon) + ';' + coordinate(lat) + ';' +
                QByteArray::number(qint64(std::lround(480 + altitudeAt(profile, t))));
        if (firmware.hasV500Layout())
            line += ';' + QByteArray::number(flying ? 48 : 0) + ";180;7;1";
        log += line + "\r\n";
    }
    return log;
}

// Stretches in the air as (takeoff, landing) seconds; the profile climbs
// away at each takeoff and glides down to 0 m at each landing.
struct Flight {
    std::vector<std::pair<double, double>> launches;
    double end;          // s of log
    double height = 120; // m reached after the climb
    double climbSeconds = 15;

    // After the climb the model soars, gaining and losing some 20 m a
    // minute, and comes down the last stretch on its approach at 1.5 m/s.
    Profile profile() const {
        Profile p{{0, 0}};
        for (const auto& [up, down] : launches) {
            p.push_back({up, 0});
            p.push_back({up + climbSeconds, height});
            const double approach = std::min(height, 45.0) / 1.5;
            int k = 0;
            for (double t = up + climbSeconds + 30; t < down - approach - 15; t += 30, ++k)
                p.push_back({t, height + (k % 2 ? -20.0 : 0.0)});
            p.push_back({down - approach, std::min(height, 45.0)});
            p.push_back({down, 0});
        }
        p.push_back({end, 0});
        return p;
    }
    bool airborne(double t) const {
        for (const auto& [up, down] : launches)
            if (t > up && t < down)
                return true;
        return false;
    }
    double flightTime() const {
        double sum = 0;
        for (const auto& [up, down] : launches)
            sum += down - up;
        return sum;
    }
    QByteArray log(const FirmwareVariant& firmware, int step = 1) const {
        return profileLog(
            firmware, profile(), [this](double t) { return airborne(t); }, step);
    }
};

inline const FirmwareVariant V407{407, 0};
inline const FirmwareVariant V500{500, 0};
inline const FirmwareVariant Duo{500, 1};

// A flight of about 12 minutes: winch launch at 100 s, landing at 820 s.
inline QByteArray typicalFlight(const FirmwareVariant& firmware, int variant = 0) {
    return Flight{{{100.0 + variant, 820.0 + 3 * variant}}, 900.0 + variant}.log(firmware);
}

// Writes the log with a modification date (the log date), as a card shows it.
inline bool writeLog(const QString& path, const QByteArray& bytes, const QDateTime& date) {
    QDir().mkpath(path.section(QLatin1Char('/'), 0, -2));
    if (!writeBytes(path, bytes))
        return false;
    QFile file(path);
    return file.open(QIODevice::ReadWrite) &&
           file.setFileTime(date, QFileDevice::FileModificationTime);
}

inline QString sha256Of(const QString& path) {
    return QString::fromLatin1(
        QCryptographicHash::hash(readBytes(path), QCryptographicHash::Sha256).toHex());
}

// The first answer of SQLite to `sql` on the file, on a connection of the
// test's own.
inline QString sqliteAnswer(const QString& databasePath, const QString& sql) {
    QString answer;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(databasePath);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(sql) && query.next())
                answer = query.value(0).toString();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));
    return answer;
}

// What SQLite itself says of the file.
inline QString integrityOf(const QString& databasePath) {
    return sqliteAnswer(databasePath, QStringLiteral("PRAGMA integrity_check"));
}

// Every entry has its whole copy, and no copy is without an entry.
inline void checkConsistent(const Logbook& book) {
    auto entries = book.entries();
    QVERIFY(entries.ok());
    for (const LogbookEntry& entry : *entries)
        QCOMPARE(sha256Of(book.copyPath(entry)), entry.sha256);
    QCOMPARE(QDir(book.folder() + QStringLiteral("/logs")).entryList(QDir::Files).size(),
             qsizetype(entries->size()));
    QCOMPARE(integrityOf(book.folder() + QStringLiteral("/logbook.sqlite")), QStringLiteral("ok"));
}

} // namespace logbook_support
