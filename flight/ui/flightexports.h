#pragma once

#include "core/result.h"
#include "flight/flightlog.h"
#include "flight/flightsummary.h"
#include "i18n/viewcaptions.h"

#include <QString>
#include <vector>

class FlightPlots;
class TrackView;

// What the flight view saves: a PNG or SVG picture and the summaries as CSV.
// The picture holds, under its title (which logs, when, read with which
// firmware), the shown plots and at their right the track as its pane shows
// it: the same zoom, centre and size, the tiles the pane has (an SVG embeds
// them as images, the rest stays vector) with the map's attribution, or the
// grid while the map is off. Each file is written whole or not at all.
Status saveViewPng(FlightPlots& plots, TrackView& track, const QString& title, const QString& path);
Status saveViewSvg(FlightPlots& plots, TrackView& track, const QString& title, const QString& path);
// The title's lines at the picture's width: each log's part stays whole, a
// part that does not fit beside the others goes to a line of its own.
QStringList pictureTitleLines(const QString& title, int width);
// The height of the picture's title lines; the plots and the track stand
// below them.
int pictureTitleHeight(const QString& title, int width);
// The title line: per log its file name, log date and the firmware it was
// read with (by its menu caption).
QString pictureTitle(const std::vector<FlightLog>& logs);
Status saveSummariesCsv(const std::vector<FlightSummary>& summaries, const QString& path);

// The three exports: button, save dialog, file type, the name proposed after
// the first log's base name, and caption.
enum class ExportKind { Png, Svg, Csv };
struct ExportRow {
    ExportKind kind;
    const char* button;
    const char* dialog;
    const char* filter;
    const char* suffix;
    const char* fileEnd;
    ViewText caption;
};
inline constexpr ExportRow Exports[] = {
    {ExportKind::Png, "savePngButton", "SavePngDialog", "PNG (*.png)", "png", ".png",
     ViewText::SavePng},
    {ExportKind::Svg, "saveSvgButton", "SaveSvgDialog", "SVG (*.svg)", "svg", ".svg",
     ViewText::SaveSvg},
    {ExportKind::Csv, "saveCsvButton", "SaveCsvDialog", "CSV (*.csv)", "csv", "-summary.csv",
     ViewText::SaveCsv},
};
