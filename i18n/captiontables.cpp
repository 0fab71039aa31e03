#include "i18n/captiontables.h"

#include <array>
#include <cstring>

namespace {

// Whether the two caption tables set the control. Unlisted ones keep their
// design-time caption in both languages; Added ones are this tool's own
// additions, outside the two tables, which the language commands set alike;
// Own texts are altorin-setup's, no control's.
enum Listing { Listed, Unlisted, Added, Own };

// One row per captioned control and menu item: its German design-time
// caption, the German table's text where that differs (eleven entries: the
// setup 0 and 1 group captions, Label1, setup 10, the firmware submenu and
// two conversion items), and the English table's text where it translates
// (nullptr: English reads as the German table). altorin-setup's English
// translates some that the window leaves German (toolEnglish).
struct CaptionRow {
    const char* name;
    const char* design;
    const char* german = nullptr;
    const char* english = nullptr;
    Listing listing = Listed;
    const char* toolEnglish = nullptr;

    constexpr const char* germanText() const { return german ? german : design; }
    constexpr const char* englishText() const { return english ? english : germanText(); }
};

constexpr CaptionRow rows[] = {
    {"GroupBox1", "Setup 0  Sendekanal / Sendefrequenz", "Setup 0 Sendekanal / Sendefrequenz",
     "Setup 0 Channel / Frequency"},
    {"Label1", "Sendekanal", "Kanal", "Channel"},
    {"Label3", "Frequenz", nullptr, "Frequency"},
    {"Label5", "MHz", nullptr, nullptr, Unlisted},
    {"GroupBox2", "Setup 1 Höhenansage-Intervall bei positiver Höhe",
     "Setup 1  Höhenansage-Intervall bei positiver Höhe",
     "Setup 1  Altitude interval on positive values"},
    {"Label2", "Intervall", nullptr, "intervall"},
    {"Label4", "Sekunden", nullptr, "seconds"},
    {"GroupBox4", "Setup 2  Höhenansage-Intervall bei negativer Höhe", nullptr,
     "Setup 2  Altitude interval on negative values"},
    {"Label8", "Intervall", nullptr, "intervall"},
    {"Sekunden", "Sekunden", nullptr, nullptr, Unlisted},
    {"GroupBox3", "Setup 3  Integral-Variometer-Intervall"},
    {"Label9", "Intervall"},
    {"Label7", "Sekunden"},
    {"CheckBox1", "keine Ansage", nullptr, nullptr, Listed, "no announcement"},
    {"GroupBox5", "Setup 4  Geschwindigkeits-Ansage", nullptr, "Setup 4  Speed announcements"},
    {"Label28", "zusätzlich automatische Ansage  ab :", nullptr,
     "applies automatic velocity announcement:"},
    {"RadioButton1", "Kontinuierliche Geschwindigkeitsansage", nullptr,
     "continous velocity announcements"},
    {"RadioButton2", "Maximumansage nach Beschleunigungsphase", nullptr,
     "announcements of maximum value after acceleration phase"},
    {"RadioButton30", "ab 70km/h", nullptr, "over 70km/h"},
    {"RadioButton31", "ab 80km/h", nullptr, "over 80km/h"},
    {"RadioButton32", "ab 100km/h", nullptr, "over 100km/h"},
    {"RadioButton33", "ab 120km/h", nullptr, "over 120km/h"},
    {"GroupBox6", "Setup 5  Variometer-Funktionen"},
    {"RadioButton3", "Variometer-Funktion ohne Flugdauer-Ansage"},
    {"RadioButton4", "Variometer-Funktion mit Flugdauer-Ansage in Minuten"},
    {"RadioButton5", "Höhenansage nur im Zeitintervall, keine 50m-Stufen-Ansage"},
    {"RadioButton29",
     "Integral-Variometer-Mode f. Schlepppilot mit Geschwindigkeit u. 50m-Stufen-Ans."},
    {"GroupBox7", "Setup 6  Empfänger-Unterspannungs-Alarmschwelle", nullptr,
     "Setup 6  Reciever battery alarm"},
    {"Label10", "Alarmschwelle", nullptr, "alarm level"},
    {"Label11", "Volt", nullptr, "volts"},
    {"GroupBox8", "Setup 7  Sink-Schwelle", nullptr, "Setup 7  Sink threshold"},
    {"Label12", "Sink-Schwelle", nullptr, "sink threshold"},
    {"Label13", "m/s"},
    {"GroupBox9", " Setup 8  Varioton-Mode", nullptr, " Setup 8  Vario tone mode"},
    {"RadioButton6", "Höhenmesser-Mode ohne Varioton (z.B. Schlepppilot)"},
    {"RadioButton7", "Sink- = Steig-Schwelle, ohne Nullschieberausblendung, Steigton mit 50% "
                     "getastet, Sinken mit Dauerton (ursprünglicher QZ Variometer Mode)"},
    {"RadioButton8", "Kein Ton zwischen Sink- u. Steig-Schwelle, sog. Nullscheiberausblendung, "
                     "Steigton mit 50% getastet, Sinken mit Dauerton"},
    {"RadioButton9",
     "Ton zwischen Sink- u. Steig-Schwelle 50% getastet, oberhalb der Steig-Schwelle kürzere 25% "
     "Intervalle, Sinken mit Dauerton, gibt es nur bei QZ Altorin, sehr effizient!"},
    {"RadioButton10", "Ton zwischen Sink- u. Steig-Schwelle 50% getastet, oberhalb der "
                      "Steig-Schwelle kürzere 25% Intervalle, kein Ton im Sinken"},
    {"GroupBox10", "Setup 9  Stromsensor-Ansage bei Betrieb mit Sensor-Interf. o. UniLog"},
    {"RadioButton11", "Betrieb ohne Stromsensor, notwendig um unnötige Ansagen zu unterbinden"},
    {"RadioButton12", "E-Segler-Betrieb mit Stromsensor, nur Motorspannungs-Ansage im Ruhe-Mode"},
    {"RadioButton13", "E-Segler-Betrieb, zusätzlich mit Summenhöhe-Ansage im Ruhe-Mode"},
    {"RadioButton14", "E-Segler-Betrieb, zusätzlich Kapazitäts-Ansage im Ruhe-Mode"},
    {"RadioButton15",
     "E-Segler-Betrieb, zusätzlich mit Summenhöhe und Kapazitäts-Ansage im Ruhe-M."},
    {"RadioButton16",
     "E-Motorflug- und E-Motorkunstflug-Betrieb, ohne Varioton, automatische Ansagen"},
    {"GroupBox11", "Setup 10  Betrieb mit UniLog, bzw. Sensor-Interface m. Pitot-Speed-S.",
     "Setup 10  Pitot-Speed-Sensor Auswahl"},
    {"RadioButton17", "Betrieb ohne UniLog ", nullptr, nullptr, Unlisted},
    {"RadioButton18", "Betrieb mit UniLog, Höhenwert des Variometers für Höhenmessung verwenden",
     nullptr, nullptr, Unlisted},
    {"RadioButton19", "Betrieb mit UniLog, Höhenwert des UniLog für Höhenmessung verwenden ",
     nullptr, nullptr, Unlisted},
    {"RadioButton20", "Bei Betrieb mit Sensor-Interface den Wert des 250km/h-Pitot-Speed-Sensors,",
     "Bei Betrieb mit Pitot-Speed-Sensor den Wert des 250km/h-Pitot-Speed-Sensors,"},
    {"RadioButton28", "Bei Betrieb mit Sensor-Interface den Wert des 450km/h-Pitot-Speed-Sensors,",
     "Bei Betrieb mit Pitot-Speed-Sensor den Wert des 450km/h-Pitot-Speed-Sensors,"},
    {"Label14", "anstelle des GPS-Wertes verwenden (450km/h-Sensorunterstützung ab V4075).",
     "anstelle des GPS-Wertes verwenden."},
    {"GroupBox12", "Setup 11 Temperatur-Alarmschwelle"},
    {"Label15", "Alarmschwelle "},
    {"Label16", "°C"},
    {"CheckBox2", "keine Ansage", nullptr, nullptr, Listed, "no announcement"},
    {"GroupBox13", "Setup 12  Motorakku-Unterspannungs-Alarmschwelle"},
    {"Label17", "Alarmschwelle"},
    {"Label18", "Volt"},
    {"CheckBox3", "keine Ansage", nullptr, nullptr, Listed, "no announcement"},
    {"GroupBox14", "Setup 13  Ansagen im Integral-Variometer-Mode"},
    {"RadioButton21", "Werte als absolute Differenz in Meter"},
    {"RadioButton22", "Werte relativ in m/s"},
    {"CheckBox4", "zusätzliche automatische Höhenansage"},
    {"Label22", "n"},
    {"Label19", "bei jeder n-ten Integral-"},
    {"Label20", "Variometer-Ansage"},
    {"GroupBox15", "Setup 14 Stromsensor-Typ bei Verwendung des Sensor-Interface"},
    {"RadioButton23", "40/80 Ampere Stromsensor von SM-Modellbau"},
    {"RadioButton24", "150 Ampere Stromsensor von SM-Modellbau"},
    {"RadioButton25", "400 Ampere Stromsensor von SM-Modellbau"},
    {"GroupBox16", "Setup 15  Einheit:  Meter oder Feet"},
    {"RadioButton26", "Meter"},
    {"RadioButton27", "Feet, nur in Verbindung mit engl. Sprache nutzbar"},
    {"GroupBox19", "Setup 16 Strom-Ansage Delay nach Motorstart bei E-Segler-Betrieb"},
    {"Label21", "Delay"},
    {"Label6", "Sekunden"},
    {"GroupBox20", "Setup 17  Motorakku-Kapazität"},
    {"Label24", "Kapazität"},
    {"Label23", "Ah"},
    {"Label27", "Nur bei Kapazität mit %-Ansage notwendig!"},
    {"CheckBox6", "alle Kapazitäts-Ansagen rel. in %"},
    {"GroupBox21", "Setup 18 Motorakku-Kapazitätsalarm"},
    {"Label26", "Alarm ab"},
    {"Label25", "% Verbrauch, danach bei jeder weiteren 10%-Stufe"},
    {"CheckBox5", "kein Kapazitätsalarm", nullptr, nullptr, Listed, "no capacity alarm"},
    {"Datei1", "Datei", nullptr, nullptr, Unlisted},
    {"Setupladen1", "Setup laden/einlesen"},
    {"Setupspeichern1", "Setup speichern"},
    {"Proframmbeenden1", "Programm beenden"},
    {"Einstellungen1", "Einstellungen / Settings"},
    {"SetupGrundeinstellung1", "Setup-Grundeinstellung laden"},
    {"FirmwareVersiondesAltorin1", "Altorin Firmware Version einstellen",
     "Pellimar Firmware Version einstellen"},
    {"bisV407x1", "Altorin        bis V. 407x", "Pellimar        ab V. 00x"},
    {"abV408x1", "Altorin        ab V. 50x", nullptr, nullptr, Unlisted},
    {"Duo_ab50x", "Altorin Duo ab V. 50x", nullptr, nullptr, Unlisted},
    {"SpracheLanguage1", "Sprache / Language"},
    {"deutsch1", "deutsch"},
    {"english1", "english"},
    {"DatenKonvertierung1", "Daten-Konvertierung"},
    {"nachKML2D1", "nach KML 2D"},
    {"nachKML3DmitGPSHhe1", "nach KML 3D mit GPS-Höhe", nullptr, nullptr, Unlisted},
    {"nachKML3D1", "nach KML 3D mit barom. Höhe", "nach KML 3D"},
    {"nachGMX1", "nach GPX mit GPS-Höhe", "nach GPX"},
    {"frTrakmond1", "für Trakmond"},
    {"Flugansehen1", "Flug ansehen …", nullptr, "View flight …", Added},
    {"Flugbuch1", "Flugbuch …", nullptr, "Logbook …", Added},
    {"Hilfe1", "Hilfe"},
    {"Info1", "Info"},
    {"NotGiven", "keine Angabe", nullptr, "not given", Own},
    {"UnknownValue", "unbekannter Wert", nullptr, "unknown value", Own},
};

constexpr size_t countOf(Listing listing) {
    size_t n = 0;
    for (const CaptionRow& row : rows)
        n += row.listing == listing;
    return n;
}

template <Listing L, bool English> constexpr std::array<CaptionEntry, countOf(L)> tableOf() {
    std::array<CaptionEntry, countOf(L)> table{};
    size_t i = 0;
    for (const CaptionRow& row : rows)
        if (row.listing == L)
            table[i++] = {row.name, English ? row.englishText() : row.germanText()};
    return table;
}

constexpr auto germanTable = tableOf<Listed, false>();
constexpr auto englishTable = tableOf<Listed, true>();
constexpr auto germanAdded = tableOf<Added, false>();
constexpr auto englishAdded = tableOf<Added, true>();

const CaptionRow* rowOf(const char* name) {
    for (const CaptionRow& row : rows)
        if (std::strcmp(row.name, name) == 0)
            return &row;
    return nullptr;
}

} // namespace

std::span<const CaptionEntry> germanCaptions() {
    return germanTable;
}

std::span<const CaptionEntry> englishCaptions() {
    return englishTable;
}

QString designCaption(const char* name) {
    const CaptionRow* row = rowOf(name);
    return row ? QString::fromUtf8(row->design) : QString();
}

QString captionIn(CaptionLanguage language, const char* name) {
    const CaptionRow* row = rowOf(name);
    if (!row)
        return QString();
    const bool english = language == CaptionLanguage::English && row->listing != Unlisted;
    return QString::fromUtf8(english ? row->englishText() : row->design);
}

QString toolCaption(CaptionLanguage language, const char* name) {
    const CaptionRow* row = rowOf(name);
    if (row && language == CaptionLanguage::English && row->toolEnglish)
        return QString::fromUtf8(row->toolEnglish);
    return captionIn(language, name);
}

std::span<const CaptionEntry> germanAddedCaptions() {
    return germanAdded;
}

std::span<const CaptionEntry> englishAddedCaptions() {
    return englishAdded;
}
