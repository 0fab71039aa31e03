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
    {ViewText::ConvertCopy,
     "Konvertieren schreibt neben die Logdatei, dieses Log ist aber die Kopie im Flugbuch. Die "
     "Original-Logdatei über das Hauptfenster konvertieren.",
     "Converting writes beside the log file, but this log is the logbook's copy. Convert the "
     "original log file from the main window.",
     ""},
    {ViewText::Skipped, "Übersprungene Zeilen: %1, erste: Zeile %2",
     "Skipped lines: %1, first: line %2", ""},
    {ViewText::MapOn, "Karte einschalten (Kacheln von OpenStreetMap)",
     "Switch the map on (tiles from OpenStreetMap)", ""},
    {ViewText::MapOff, "Karte ausschalten", "Switch the map off", ""},
    {ViewText::FitTrack, "Track einpassen", "Fit track", ""},
    {ViewText::MapAttribution, "© OpenStreetMap-Mitwirkende", "© OpenStreetMap contributors", ""},
    {ViewText::MapUnreachable, "Karte nicht erreichbar: Gitter, wo Kacheln fehlen",
     "Map unreachable: grid where tiles are missing", ""},
    {ViewText::NoPosition, "Keine GPS-Position im Log: kein Flugweg",
     "No GPS position in the log: no track", ""},
    {ViewText::Play, "Abspielen", "Play", ""},
    {ViewText::Pause, "Anhalten", "Pause", ""},
    {ViewText::ReplaySpeed, "Tempo", "Speed", ""},
    {ViewText::ReplayPosition, "Zeit im Flug", "Time in the flight", "s"},
    {ViewText::Thermals, "Thermik: %1", "Thermals: %1", ""},
    {ViewText::ThermalStart, "Beginn", "Start", "s"},
    {ViewText::ThermalDuration, "Dauer", "Duration", "s"},
    {ViewText::ThermalGain, "Gewinn", "Gain", "m"},
    {ViewText::ThermalClimb, "Steigen", "Climb", "m/s"},
    {ViewText::ThermalDrift, "Versatz", "Drift", ""},
    {ViewText::ThermalsFromCircling, "aus dem Kreisen im GPS-Kurs erkannt",
     "found from circling in the GPS course", ""},
    {ViewText::ThermalsNoPosition, "aus dem Steigen allein erkannt, das Log hat keine GPS-Position",
     "found from climb alone, the log has no GPS position", ""},
    {ViewText::ThermalsSparseFixes,
     "aus dem Steigen allein erkannt, die GPS-Positionen liegen zu weit auseinander, um "
     "Kreise zu zeigen",
     "found from climb alone, the GPS fixes are too far apart to show circles", ""},
    {ViewText::NoThermals, "keine gefunden", "none found", ""},
    {ViewText::Landing, "Landeplatz", "Landing place", ""},
    {ViewText::CopyPlace, "Kopieren", "Copy", ""},
    {ViewText::OpenPlace, "In Karten-App öffnen", "Open in a map app", ""},
    {ViewText::GpsOverStart, "GPS-Höhe über Start", "GPS altitude above start", "m"},
    {ViewText::SummaryTab, "Zusammenfassung", "Summary", ""},
    {ViewText::ThermalTab, "Thermik", "Thermals", ""},
}};

constexpr bool inOrder() {
    for (size_t i = 0; i < rows.size(); ++i)
        if (size_t(rows[i].text) != i)
            return false;
    return true;
}
static_assert(inOrder(), "one row per caption, in the order of ViewText");

// The rows of the flight summary, by the key of their summary field.
struct SummaryCaptionRow {
    std::string_view key;
    const char* german; // UTF-8
    const char* english;
};

constexpr SummaryCaptionRow summaryRows[] = {
    {"file", "Logdatei", "Log file"},
    {"date", "Logdatum", "Log date"},
    {"duration", "Dauer", "Duration"},
    {"segments", "Abschnitte", "Segments"},
    {"dataLines", "Datenzeilen", "Data lines"},
    {"positionLines", "Zeilen mit Position", "Lines with position"},
    {"skippedLines", "Übersprungene Zeilen", "Skipped lines"},
    {"firstSkippedLine", "Erste übersprungene Zeile", "First skipped line"},
    {"startAltitude", "Starthöhe", "Start altitude"},
    {"maxAltitude", "Größte Höhe", "Maximum altitude"},
    {"maxAltitudeTime", "Zeit der größten Höhe", "Time of maximum altitude"},
    {"minAltitude", "Kleinste Höhe", "Minimum altitude"},
    {"minAltitudeTime", "Zeit der kleinsten Höhe", "Time of minimum altitude"},
    {"altitudeGain", "Höhengewinn", "Altitude gain"},
    {"maxGpsAltitude", "Größte GPS-Höhe", "Maximum GPS altitude"},
    {"maxGpsAltitudeTime", "Zeit der größten GPS-Höhe", "Time of maximum GPS altitude"},
    {"maxClimb", "Stärkstes Steigen", "Maximum climb"},
    {"maxClimbTime", "Zeit des stärksten Steigens", "Time of maximum climb"},
    {"maxSink", "Stärkstes Sinken", "Maximum sink"},
    {"maxSinkTime", "Zeit des stärksten Sinkens", "Time of maximum sink"},
    {"maxSpeed", "Höchstgeschwindigkeit", "Maximum speed"},
    {"maxSpeedTime", "Zeit der Höchstgeschwindigkeit", "Time of maximum speed"},
    {"trackDistance", "Streckenlänge", "Track distance"},
    {"maxStartDistance", "Größte Entfernung vom Start", "Greatest distance from the start"},
    {"maxStartDistanceTime", "Zeit der größten Entfernung", "Time of greatest distance"},
    {"thermalCount", "Thermiken", "Thermals"},
    {"circlingShare", "Anteil Kreisen", "Share of time circling"},
    {"thermalClimb", "Mittleres Steigen in Thermik", "Average climb in thermals"},
    {"bestThermalClimb", "Steigen der besten Thermik", "Climb of the best thermal"},
    {"bestThermalTime", "Zeit der besten Thermik", "Time of the best thermal"},
    {"landingLatitude", "Landeplatz Breite", "Landing place latitude"},
    {"landingLongitude", "Landeplatz Länge", "Landing place longitude"},
};

} // namespace

QString viewText(ViewText text, qint32 language) {
    const ViewCaptionRow& row = rows[size_t(text)];
    return QString::fromUtf8(language == 1 ? row.english : row.german);
}

QString viewUnit(ViewText text) {
    return QString::fromLatin1(rows[size_t(text)].unit);
}

QString summaryCaption(std::string_view key, qint32 language) {
    for (const SummaryCaptionRow& row : summaryRows)
        if (row.key == key)
            return QString::fromUtf8(language == 1 ? row.english : row.german);
    return QString();
}
