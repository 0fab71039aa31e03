#pragma once

// Synthetic Altorin logs for the benchmark: a glider circling around a point
// once a second, in the 17-field layout of firmware from V500.
#include <cstdint>
#include <cstdio>
#include <string>

struct LogPoint {
    std::int32_t seconds;
    std::int32_t latitude; // coordinate form: degrees x 1e6 + minutes x 1e4
    std::int32_t longitude;
    std::int32_t baroAltitude;
    std::int32_t gpsAltitude;
    std::int32_t speed;
};

inline std::int32_t coordinateForm(double degrees) {
    const int whole = int(degrees);
    const double minutes = (degrees - whole) * 60.0;
    return whole * 1000000 + int(minutes * 10000.0);
}

inline LogPoint logPoint(long index) {
    // A slow drift east with a 60-point circle on top; integer arithmetic
    // keeps the points identical on every run.
    const long step = index % 60;
    const long lap = index / 60;
    const double latitude = 48.2 + 0.0001 * double((step < 30 ? step : 60 - step));
    const double longitude = 8.2 + 0.00001 * double(lap % 50000) + 0.00005 * double(step % 30);
    LogPoint p;
    p.seconds = std::int32_t(index);
    p.latitude = coordinateForm(latitude);
    p.longitude = coordinateForm(longitude);
    p.baroAltitude = 300 + std::int32_t(index % 400);
    p.gpsAltitude = p.baroAltitude + 120;
    p.speed = 30 + std::int32_t(index % 40);
    return p;
}

// The log: a title line, then one Data line per point.
inline void writeLog(std::FILE* out, long lines) {
    std::fputs("Altorin Log V500\r\n", out);
    for (long i = 0; i < lines; ++i) {
        const LogPoint p = logPoint(i);
        std::fprintf(out, "01;%02d:%02d:%02d;%d;%d;%d;4.9;5.1;21;0;0;%d;%d;%d;%d;180;7;1\r\n",
                     int(p.seconds / 3600 % 24), int(p.seconds / 60 % 60), int(p.seconds % 60),
                     int(p.seconds), int(i % 7 - 3), int(p.baroAltitude), int(p.longitude),
                     int(p.latitude), int(p.gpsAltitude), int(p.speed));
    }
}

// The log as a file; false when it cannot be written.
inline bool writeLogFile(const std::string& path, long lines) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    writeLog(out, lines);
    return std::fclose(out) == 0;
}

inline double degreesOf(std::int32_t coordinate) {
    const int whole = coordinate / 1000000;
    return whole + (coordinate - whole * 1000000) / 10000.0 / 60.0;
}

// The same points as GPSBabel's "unicsv" input, times from 2010-05-07 12:00:00 UTC.
inline void writeUnicsv(std::FILE* out, long lines) {
    std::fputs("lat,lon,alt,utc_d,utc_t,name\n", out);
    for (long i = 0; i < lines; ++i) {
        const LogPoint p = logPoint(i);
        const long t = 12 * 3600 + p.seconds;
        std::fprintf(out, "%.10f,%.10f,%d,2010/05/%02ld,%02ld:%02ld:%02ld,t:%ds\n",
                     degreesOf(p.latitude), degreesOf(p.longitude), int(p.gpsAltitude),
                     7 + t / 86400, t / 3600 % 24, t / 60 % 60, t % 60, int(p.seconds));
    }
}
