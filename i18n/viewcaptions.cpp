#include "i18n/viewcaptions.h"

#include <array>

namespace {

struct ViewCaptionRow {
    ViewText text;
    const char* german; // UTF-8
    const char* english;
    const char* unit;
};

constexpr std::array<ViewCaptionRow, size_t(ViewText::Count)> rows{{
    {ViewText::Title, "Flug ansehen", "View flight", ""},
    {ViewText::ShowAll, "Alles zeigen", "Show all", ""},
    {ViewText::Time, "Zeit", "Time", "s"},
    {ViewText::BaroAltitude, "Höhe barometrisch", "Barometric altitude", "m"},
    {ViewText::GpsAltitude, "GPS-Höhe", "GPS altitude", "m"},
    {ViewText::Climb, "Steigen", "Climb", "m/s"},
    {ViewText::Speed, "Geschwindigkeit", "Speed", "km/h"},
    {ViewText::TrackDistance, "Strecke", "Distance flown", "m"},
    {ViewText::StartDistance, "Entfernung vom Start", "Distance from start", "m"},
    {ViewText::Track, "Flugweg von oben", "Track from above", ""},
    {ViewText::Start, "Start", "Start", ""},
    {ViewText::End, "Ende", "End", ""},
    {ViewText::SavePng, "Als PNG speichern …", "Save as PNG …", ""},
    {ViewText::SaveSvg, "Als SVG speichern …", "Save as SVG …", ""},
    {ViewText::SaveCsv, "Zusammenfassung als CSV …", "Summary as CSV …", ""},
    {ViewText::Convert, "Konvertieren", "Convert", ""},
    {ViewText::Skipped, "Übersprungene Zeilen: %1, erste: Zeile %2",
     "Skipped lines: %1, first: line %2", ""},
}};

constexpr bool inOrder() {
    for (size_t i = 0; i < rows.size(); ++i)
        if (size_t(rows[i].text) != i)
            return false;
    return true;
}
static_assert(inOrder(), "one row per caption, in the order of ViewText");

} // namespace

QString viewText(ViewText text, qint32 language) {
    const ViewCaptionRow& row = rows[size_t(text)];
    return QString::fromUtf8(language == 1 ? row.english : row.german);
}

QString viewUnit(ViewText text) {
    return QString::fromLatin1(rows[size_t(text)].unit);
}
