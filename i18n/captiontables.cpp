#include "i18n/captiontables.h"

#include <array>

namespace {

// One row per captioned control: its German text and, where the English table
// translates it, the English text (nullptr: English reads as German).
struct CaptionRow {
    const char* name;
    const char* german;
    const char* english;
};

// The German texts differ from the design-time captions in eleven entries
// (setup 0 and 1 group captions, Label1, setup 10, the firmware submenu and
// two conversion items).
constexpr CaptionRow rows[] = {
    {"GroupBox1", "Setup 0 Sendekanal / Sendefrequenz", "Setup 0 Channel / Frequency"},
    {"Label1", "Kanal", "Channel"},
    {"Label3", "Frequenz", "Frequency"},
    {"GroupBox2", "Setup 1  Höhenansage-Intervall bei positiver Höhe",
     "Setup 1  Altitude interval on positive values"},
    {"Label2", "Intervall", "intervall"},
    {"Label4", "Sekunden", "seconds"},
    {"GroupBox4", "Setup 2  Höhenansage-Intervall bei negativer Höhe",
     "Setup 2  Altitude interval on negative values"},
    {"Label8", "Intervall", "intervall"},
    {"GroupBox3", "Setup 3  Integral-Variometer-Intervall", nullptr},
    {"Label9", "Intervall", nullptr},
    {"Label7", "Sekunden", nullptr},
    {"CheckBox1", "keine Ansage", nullptr},
    {"GroupBox5", "Setup 4  Geschwindigkeits-Ansage", "Setup 4  Speed announcements"},
    {"Label28", "zusätzlich automatische Ansage  ab :", "applies automatic velocity announcement:"},
    {"RadioButton1", "Kontinuierliche Geschwindigkeitsansage", "continous velocity announcements"},
    {"RadioButton2", "Maximumansage nach Beschleunigungsphase",
     "announcements of maximum value after acceleration phase"},
    {"RadioButton30", "ab 70km/h", "over 70km/h"},
    {"RadioButton31", "ab 80km/h", "over 80km/h"},
    {"RadioButton32", "ab 100km/h", "over 100km/h"},
    {"RadioButton33", "ab 120km/h", "over 120km/h"},
    {"GroupBox6", "Setup 5  Variometer-Funktionen", nullptr},
    {"RadioButton3", "Variometer-Funktion ohne Flugdauer-Ansage", nullptr},
    {"RadioButton4", "Variometer-Funktion mit Flugdauer-Ansage in Minuten", nullptr},
    {"RadioButton5", "Höhenansage nur im Zeitintervall, keine 50m-Stufen-Ansage", nullptr},
    {"RadioButton29",
     "Integral-Variometer-Mode f. Schlepppilot mit Geschwindigkeit u. 50m-Stufen-Ans.", nullptr},
    {"GroupBox7", "Setup 6  Empfänger-Unterspannungs-Alarmschwelle",
     "Setup 6  Reciever battery alarm"},
    {"Label10", "Alarmschwelle", "alarm level"},
    {"Label11", "Volt", "volts"},
    {"GroupBox8", "Setup 7  Sink-Schwelle", "Setup 7  Sink threshold"},
    {"Label12", "Sink-Schwelle", "sink threshold"},
    {"Label13", "m/s", nullptr},
    {"GroupBox9", " Setup 8  Varioton-Mode", " Setup 8  Vario tone mode"},
    {"RadioButton6", "Höhenmesser-Mode ohne Varioton (z.B. Schlepppilot)", nullptr},
    {"RadioButton7",
     "Sink- = Steig-Schwelle, ohne Nullschieberausblendung, Steigton mit 50% getastet, Sinken mit "
     "Dauerton (ursprünglicher QZ Variometer Mode)",
     nullptr},
    {"RadioButton8",
     "Kein Ton zwischen Sink- u. Steig-Schwelle, sog. Nullscheiberausblendung, Steigton mit 50% "
     "getastet, Sinken mit Dauerton",
     nullptr},
    {"RadioButton9",
     "Ton zwischen Sink- u. Steig-Schwelle 50% getastet, oberhalb der Steig-Schwelle kürzere 25% "
     "Intervalle, Sinken mit Dauerton, gibt es nur bei QZ Altorin, sehr effizient!",
     nullptr},
    {"RadioButton10",
     "Ton zwischen Sink- u. Steig-Schwelle 50% getastet, oberhalb der Steig-Schwelle kürzere 25% "
     "Intervalle, kein Ton im Sinken",
     nullptr},
    {"GroupBox10", "Setup 9  Stromsensor-Ansage bei Betrieb mit Sensor-Interf. o. UniLog", nullptr},
    {"RadioButton11", "Betrieb ohne Stromsensor, notwendig um unnötige Ansagen zu unterbinden",
     nullptr},
    {"RadioButton12", "E-Segler-Betrieb mit Stromsensor, nur Motorspannungs-Ansage im Ruhe-Mode",
     nullptr},
    {"RadioButton13", "E-Segler-Betrieb, zusätzlich mit Summenhöhe-Ansage im Ruhe-Mode", nullptr},
    {"RadioButton14", "E-Segler-Betrieb, zusätzlich Kapazitäts-Ansage im Ruhe-Mode", nullptr},
    {"RadioButton15",
     "E-Segler-Betrieb, zusätzlich mit Summenhöhe und Kapazitäts-Ansage im Ruhe-M.", nullptr},
    {"RadioButton16",
     "E-Motorflug- und E-Motorkunstflug-Betrieb, ohne Varioton, automatische Ansagen", nullptr},
    {"GroupBox11", "Setup 10  Pitot-Speed-Sensor Auswahl", nullptr},
    {"RadioButton20",
     "Bei Betrieb mit Pitot-Speed-Sensor den Wert des 250km/h-Pitot-Speed-Sensors,", nullptr},
    {"RadioButton28",
     "Bei Betrieb mit Pitot-Speed-Sensor den Wert des 450km/h-Pitot-Speed-Sensors,", nullptr},
    {"Label14", "anstelle des GPS-Wertes verwenden.", nullptr},
    {"GroupBox12", "Setup 11 Temperatur-Alarmschwelle", nullptr},
    {"Label15", "Alarmschwelle ", nullptr},
    {"Label16", "°C", nullptr},
    {"CheckBox2", "keine Ansage", nullptr},
    {"GroupBox13", "Setup 12  Motorakku-Unterspannungs-Alarmschwelle", nullptr},
    {"Label17", "Alarmschwelle", nullptr},
    {"Label18", "Volt", nullptr},
    {"CheckBox3", "keine Ansage", nullptr},
    {"GroupBox14", "Setup 13  Ansagen im Integral-Variometer-Mode", nullptr},
    {"RadioButton21", "Werte als absolute Differenz in Meter", nullptr},
    {"RadioButton22", "Werte relativ in m/s", nullptr},
    {"CheckBox4", "zusätzliche automatische Höhenansage", nullptr},
    {"Label22", "n", nullptr},
    {"Label19", "bei jeder n-ten Integral-", nullptr},
    {"Label20", "Variometer-Ansage", nullptr},
    {"GroupBox15", "Setup 14 Stromsensor-Typ bei Verwendung des Sensor-Interface", nullptr},
    {"RadioButton23", "40/80 Ampere Stromsensor von SM-Modellbau", nullptr},
    {"RadioButton24", "150 Ampere Stromsensor von SM-Modellbau", nullptr},
    {"RadioButton25", "400 Ampere Stromsensor von SM-Modellbau", nullptr},
    {"GroupBox16", "Setup 15  Einheit:  Meter oder Feet", nullptr},
    {"RadioButton26", "Meter", nullptr},
    {"RadioButton27", "Feet, nur in Verbindung mit engl. Sprache nutzbar", nullptr},
    {"GroupBox19", "Setup 16 Strom-Ansage Delay nach Motorstart bei E-Segler-Betrieb", nullptr},
    {"Label21", "Delay", nullptr},
    {"Label6", "Sekunden", nullptr},
    {"GroupBox20", "Setup 17  Motorakku-Kapazität", nullptr},
    {"Label24", "Kapazität", nullptr},
    {"Label23", "Ah", nullptr},
    {"Label27", "Nur bei Kapazität mit %-Ansage notwendig!", nullptr},
    {"CheckBox6", "alle Kapazitäts-Ansagen rel. in %", nullptr},
    {"GroupBox21", "Setup 18 Motorakku-Kapazitätsalarm", nullptr},
    {"Label26", "Alarm ab", nullptr},
    {"Label25", "% Verbrauch, danach bei jeder weiteren 10%-Stufe", nullptr},
    {"CheckBox5", "kein Kapazitätsalarm", nullptr},
    {"Setupladen1", "Setup laden/einlesen", nullptr},
    {"Setupspeichern1", "Setup speichern", nullptr},
    {"Proframmbeenden1", "Programm beenden", nullptr},
    {"Einstellungen1", "Einstellungen / Settings", nullptr},
    {"SetupGrundeinstellung1", "Setup-Grundeinstellung laden", nullptr},
    {"FirmwareVersiondesAltorin1", "Pellimar Firmware Version einstellen", nullptr},
    {"bisV407x1", "Pellimar        ab V. 00x", nullptr},
    {"SpracheLanguage1", "Sprache / Language", nullptr},
    {"deutsch1", "deutsch", nullptr},
    {"english1", "english", nullptr},
    {"DatenKonvertierung1", "Daten-Konvertierung", nullptr},
    {"nachKML2D1", "nach KML 2D", nullptr},
    {"nachKML3D1", "nach KML 3D", nullptr},
    {"nachGMX1", "nach GPX", nullptr},
    {"frTrakmond1", "für Trakmond", nullptr},
    {"Hilfe1", "Hilfe", nullptr},
    {"Info1", "Info", nullptr},
};

constexpr size_t RowCount = std::size(rows);

template <bool English> constexpr std::array<CaptionEntry, RowCount> tableOf() {
    std::array<CaptionEntry, RowCount> table{};
    for (size_t i = 0; i < RowCount; ++i) {
        const CaptionRow& row = rows[i];
        table[i] = {row.name, English && row.english ? row.english : row.german};
    }
    return table;
}

constexpr auto germanTable = tableOf<false>();
constexpr auto englishTable = tableOf<true>();

constexpr CaptionEntry germanAdded[] = {{"Flugansehen1", "Flug ansehen …"}};
constexpr CaptionEntry englishAdded[] = {{"Flugansehen1", "View flight …"}};

} // namespace

std::span<const CaptionEntry> germanCaptions() {
    return germanTable;
}

std::span<const CaptionEntry> englishCaptions() {
    return englishTable;
}

std::span<const CaptionEntry> germanAddedCaptions() {
    return germanAdded;
}

std::span<const CaptionEntry> englishAddedCaptions() {
    return englishAdded;
}
