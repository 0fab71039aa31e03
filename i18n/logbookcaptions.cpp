#include "i18n/logbookcaptions.h"

#include <array>

namespace {

struct Caption {
    const char* german;
    const char* english;
};

// In the order of LogbookText.
constexpr std::array<Caption, size_t(LogbookText::Count)> captions{{
    {"Flugbuch – %1", "Logbook – %1"},
    {"Logs importieren …", "Import logs …"},
    {"Karte/Ordner importieren …", "Import card/folder …"},
    {"Stopp", "Stop"},
    {"%v von %m", "%v of %m"},
    {"Modell", "Model"},
    {"von", "from"},
    {"bis", "to"},
    {"Text", "Text"},
    {"Ort oder Notiz enthält …", "Site or note contains …"},
    {"alle", "all"},
    {"ohne Modell", "without model"},
    {"Datum", "Date"},
    {"Flugzeit h:mm:ss", "Flight time h:mm:ss"},
    {"Größte Höhe m", "Maximum altitude m"},
    {"Strecke km", "Distance km"},
    {"Datei", "File"},
    {"Ort", "Site"},
    {"Notiz", "Note"},
    {"Summen der gezeigten Flüge", "Totals of the flights shown"},
    {"je Modell", "per model"},
    {"je Monat", "per month"},
    {"je Jahr", "per year"},
    {"Flüge", "Flights"},
    {"Starts", "Launches"},
    {"Logzeit h:mm:ss", "Log time h:mm:ss"},
    {"Summe", "Total"},
    {"Im Flug ansehen", "View flight"},
    {"Modell setzen …", "Set model …"},
    {"Entfernen …", "Remove …"},
    {"%1 Einträge gezeigt", "%1 entries shown"},
}};

} // namespace

QString logbookText(LogbookText text, qint32 language) {
    const Caption& caption = captions[size_t(text)];
    return QString::fromUtf8(language == 1 ? caption.english : caption.german);
}
