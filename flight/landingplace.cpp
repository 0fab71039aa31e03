#include "flight/landingplace.h"

#include <cmath>

namespace {

// Six decimals, about 0.1 m: the log's ten-thousandths of a minute. Never
// "-0.000000", which some map searches refuse.
QString degreesText(double degrees) {
    double rounded = std::round(degrees * 1e6) / 1e6;
    if (rounded == 0)
        rounded = 0;
    return QString::number(rounded, 'f', 6);
}

} // namespace

QString placeText(const FlightLog::Place& place) {
    return degreesText(place.latitude) + QStringLiteral(", ") + degreesText(place.longitude);
}

QString geoUri(const FlightLog::Place& place) {
    return QStringLiteral("geo:") + degreesText(place.latitude) + QLatin1Char(',') +
           degreesText(place.longitude);
}
