#pragma once

// Helpers of the flight tests: Data lines with the fields the view reads, and
// logs written into a temporary folder and read for viewing.
#include "common/testfiles.h"
#include "flight/flightlog.h"

#include <QByteArray>
#include <QTemporaryDir>

namespace flight_support {

// A Data line of the variant's layout; the other fields plausible.
inline QByteArray dataLine(const FirmwareVariant& firmware, qint64 elapsed, qint64 altitude,
                           const QByteArray& lon, const QByteArray& lat, qint64 gps = 500,
                           qint64 speed = 42) {
    QByteArray text = "01;14:22:01;" + QByteArray::number(elapsed) + ";-2;" +
                      QByteArray::number(altitude) + ";4.9;5.1;21;0;12;" + lon + ';' + lat + ';' +
                      QByteArray::number(gps);
    if (firmware.hasV500Layout())
        text += ';' + QByteArray::number(speed) + ";180;7;1";
    return text + "\r\n";
}

// Each log gets a name of its own in one temporary folder.
class LogFolder {
  public:
    bool isValid() const { return m_dir.isValid(); }
    QString path(const QString& name) const { return m_dir.filePath(name); }

    FlightLog read(const QByteArray& bytes, const FirmwareVariant& firmware) {
        const QString log =
            path(QStringLiteral("LOG%1.CSV").arg(++m_logs, 5, 10, QLatin1Char('0')));
        if (!writeBytes(log, bytes))
            qFatal("cannot write %s", qPrintable(log));
        Result<FlightLog> flight = readFlightLog(log, firmware);
        if (!flight)
            qFatal("cannot read %s: %s", qPrintable(log), qPrintable(flight.failure().message));
        return std::move(flight).value();
    }

  private:
    QTemporaryDir m_dir;
    int m_logs = 0;
};

} // namespace flight_support
