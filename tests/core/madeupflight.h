#pragma once

// Made-up flights for the thermal tests: on the ground at the switch-on place
// (barometric altitude 0), then straight and circling pieces flown at one
// airspeed, drifting with the wind while airborne, written as a log at a
// chosen step.
#include "core/flight_support.h"

#include <QByteArray>
#include <cmath>
#include <numbers>
#include <vector>

namespace flight_support {

class MadeUpFlight {
  public:
    static constexpr double Airspeed = 10; // m/s
    static constexpr double MetresPerDegree = 111194.93;
    static constexpr double OriginLatitude = 48.2, OriginLongitude = 8.1;

    // The wind blows towards `direction` (degrees from north) at `speed` m/s.
    MadeUpFlight(double direction = 0, double speed = 0)
        : m_windEast(speed * std::sin(radians(direction))),
          m_windNorth(speed * std::cos(radians(direction))) {}

    // Flown from another place than the origin.
    MadeUpFlight& from(double latitude, double longitude) {
        m_latitude = latitude;
        m_longitude = longitude;
        return *this;
    }

    MadeUpFlight& ground(double seconds) { return add({seconds, 0, 0, false}); }
    MadeUpFlight& straight(double seconds, double climb) { return add({seconds, climb, 0, true}); }
    // Circles of `period` s, to the right (clockwise) or to the left.
    MadeUpFlight& circles(double seconds, double climb, double period, bool right = true) {
        return add({seconds, climb, (right ? 1 : -1) * 2 * std::numbers::pi / period, true});
    }
    // A straight glide down to the ground.
    MadeUpFlight& glideDown(double seconds) { return straight(seconds, -m_altitude / seconds); }

    double duration() const { return m_duration; }

    // The log at one line every `step` s; without positions the GPS fields
    // read "0". `jitter` (m) scatters the fixes as a receiver does.
    QByteArray log(const FirmwareVariant& firmware, double step, bool positions = true,
                   double jitter = 0) const {
        QByteArray bytes = "Altorin Log V500\r\n";
        quint32 noise = 12345;
        auto scatter = [&noise, jitter] {
            noise = noise * 1103515245u + 12345u;
            return jitter * (double((noise >> 8) % 2001) / 1000.0 - 1);
        };
        for (double t = 0; t <= m_duration + 1e-9; t += step) {
            const State s = at(t);
            const double east = s.east + scatter(), north = s.north + scatter();
            const double latitude = m_latitude + north / MetresPerDegree;
            const double longitude =
                m_longitude + east / (MetresPerDegree * std::cos(radians(m_latitude)));
            const int scale = firmware.isDuo() ? 10 : 1;
            bytes += dataLine(firmware, qint64(std::lround(t)), std::lround(s.altitude * scale),
                              positions ? coordinate(longitude) : QByteArray("0"),
                              positions ? coordinate(latitude) : QByteArray("0"),
                              300 + std::lround(s.altitude), 36);
        }
        return bytes;
    }

  private:
    struct Piece {
        double seconds, climb, turnRate; // rad/s, clockwise positive
        bool airborne;
    };
    struct State {
        double east = 0, north = 0, altitude = 0, heading = 0, airborne = 0;
    };

    static double radians(double degrees) { return degrees * std::numbers::pi / 180; }

    // Degrees x 1e6 + minutes x 1e4, as the device logs a coordinate.
    static QByteArray coordinate(double degrees) {
        const double whole = std::floor(degrees);
        return QByteArray::number(qint64(whole) * 1000000 +
                                  std::llround((degrees - whole) * 60 * 10000));
    }

    MadeUpFlight& add(const Piece& piece) {
        m_pieces.push_back(piece);
        m_duration += piece.seconds;
        m_altitude += piece.climb * piece.seconds;
        return *this;
    }

    // Where the flight is at time t: air movement piece by piece plus the
    // wind's drift over the time airborne.
    State at(double t) const {
        State s;
        double airEast = 0, airNorth = 0;
        for (const Piece& piece : m_pieces) {
            const double tau = std::min(t, piece.seconds);
            if (piece.airborne) {
                if (piece.turnRate == 0) {
                    airEast += Airspeed * tau * std::sin(s.heading);
                    airNorth += Airspeed * tau * std::cos(s.heading);
                } else {
                    const double h = s.heading + piece.turnRate * tau;
                    const double radius = Airspeed / piece.turnRate;
                    airEast += radius * (std::cos(s.heading) - std::cos(h));
                    airNorth += radius * (std::sin(h) - std::sin(s.heading));
                    s.heading = h;
                }
                s.airborne += tau;
            }
            s.altitude += piece.climb * tau;
            t -= tau;
            if (t <= 0)
                break;
        }
        s.east = airEast + m_windEast * s.airborne;
        s.north = airNorth + m_windNorth * s.airborne;
        return s;
    }

    double m_windEast, m_windNorth;
    std::vector<Piece> m_pieces;
    double m_duration = 0, m_altitude = 0;
    double m_latitude = OriginLatitude, m_longitude = OriginLongitude;
};

} // namespace flight_support
