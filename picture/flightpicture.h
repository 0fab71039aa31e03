#pragma once

#include "core/programstate.h"
#include "core/result.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>

struct FlightLog;
struct FlightSummary;

// One picture of a flight for a club website or a forum post: a title line
// (log, date, firmware read with), the altitude plot, the track (on map tiles
// when a template is given, else on the metres grid) and the summary.
struct PictureOptions {
    QSize size{1200, 800};
    std::optional<QString> mapTemplate; // tile address template; none: the grid
    int tileWaitMs = 5000;              // the longest wait for tiles, per picture
    qint32 language = 0;                // captions: 1 English, else German
};

// Needs a QGuiApplication (for the fonts). Tiles are fetched politely, as
// in the window, and whatever has not come within the wait is left as grid.
// Fails only for a template that is no tile address.
Result<QImage> flightPicture(const FlightLog& log, const FirmwareVariant& readWith,
                             const PictureOptions& options);

// The summary's lines under the picture: "caption: value unit".
QStringList pictureSummaryLines(const FlightSummary& summary, qint32 language);

// "LOG00002.CSV" -> "LOG00002.png", in `folder` (empty: beside the log).
QString picturePath(const QString& logPath, const QString& folder);
