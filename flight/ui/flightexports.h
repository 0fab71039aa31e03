#pragma once

#include "core/result.h"
#include "flight/flightlog.h"
#include "flight/flightsummary.h"
#include "i18n/viewcaptions.h"

#include <QString>
#include <vector>

class FlightPlots;

// What the flight view saves: the shown plots as a PNG or SVG picture under a
// title line (which logs, when, read with which firmware), the summaries as
// CSV. Each is written whole or not at all.
Status savePlotsPng(FlightPlots& plots, const QString& title, const QString& path);
Status savePlotsSvg(FlightPlots& plots, const QString& title, const QString& path);
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
