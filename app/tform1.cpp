#include "app/tform1.h"
#include "app/ui/fitcaption.h"
#include "app/ui/tupdown.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QScrollArea>
#include <type_traits>
#include <variant>

namespace {

using GroupSlot = QGroupBox* TForm1::*;
using Handler = void (TForm1::*)();

struct GroupRow {
    const char* name;
    GroupSlot slot;
    QRect geometry;
    const char* caption; // UTF-8
    int captionPx;       // bold caption height
    int childPx;         // regular height of the group's labels and buttons
};

// In tab order; the left column is x 6..8, the right one x 430..435.
const GroupRow groupRows[] = {
    {"GroupBox1",
     &TForm1::GroupBox1,
     {6, 2, 418, 48},
     "Setup 0  Sendekanal / Sendefrequenz",
     12,
     12},
    {"GroupBox2",
     &TForm1::GroupBox2,
     {430, 6, 418, 49},
     "Setup 1 Höhenansage-Intervall bei positiver Höhe",
     12,
     12},
    {"GroupBox4",
     &TForm1::GroupBox4,
     {6, 55, 418, 49},
     "Setup 2  Höhenansage-Intervall bei negativer Höhe",
     11,
     11},
    {"GroupBox5",
     &TForm1::GroupBox5,
     {6, 110, 418, 95},
     "Setup 4  Geschwindigkeits-Ansage",
     11,
     11},
    {"GroupBox7",
     &TForm1::GroupBox7,
     {7, 205, 417, 47},
     "Setup 6  Empfänger-Unterspannungs-Alarmschwelle",
     11,
     11},
    {"GroupBox8", &TForm1::GroupBox8, {431, 206, 420, 47}, "Setup 7  Sink-Schwelle", 11, 11},
    {"GroupBox9", &TForm1::GroupBox9, {7, 255, 844, 102}, " Setup 8  Varioton-Mode", 11, 11},
    {"GroupBox10",
     &TForm1::GroupBox10,
     {7, 361, 420, 122},
     "Setup 9  Stromsensor-Ansage bei Betrieb mit Sensor-Interf. o. UniLog",
     11,
     11},
    {"GroupBox11",
     &TForm1::GroupBox11,
     {435, 361, 417, 121},
     "Setup 10  Betrieb mit UniLog, bzw. Sensor-Interface m. Pitot-Speed-S.",
     11,
     11},
    {"GroupBox12",
     &TForm1::GroupBox12,
     {8, 490, 420, 53},
     "Setup 11 Temperatur-Alarmschwelle",
     11,
     11},
    {"GroupBox13",
     &TForm1::GroupBox13,
     {435, 490, 417, 53},
     "Setup 12  Motorakku-Unterspannungs-Alarmschwelle",
     11,
     11},
    {"GroupBox14",
     &TForm1::GroupBox14,
     {7, 550, 420, 84},
     "Setup 13  Ansagen im Integral-Variometer-Mode",
     10,
     11},
    {"GroupBox15",
     &TForm1::GroupBox15,
     {434, 550, 417, 73},
     "Setup 14 Stromsensor-Typ bei Verwendung des Sensor-Interface",
     11,
     11},
    {"GroupBox16",
     &TForm1::GroupBox16,
     {7, 635, 420, 39},
     "Setup 15  Einheit:  Meter oder Feet",
     11,
     11},
    {"GroupBox3",
     &TForm1::GroupBox3,
     {431, 55, 418, 49},
     "Setup 3  Integral-Variometer-Intervall",
     11,
     11},
    {"GroupBox6",
     &TForm1::GroupBox6,
     {431, 110, 419, 94},
     "Setup 5  Variometer-Funktionen",
     11,
     11},
    {"GroupBox19",
     &TForm1::GroupBox19,
     {434, 625, 417, 49},
     "Setup 16 Strom-Ansage Delay nach Motorstart bei E-Segler-Betrieb",
     11,
     11},
    {"GroupBox20", &TForm1::GroupBox20, {7, 676, 420, 46}, "Setup 17  Motorakku-Kapazität", 11, 11},
    {"GroupBox21",
     &TForm1::GroupBox21,
     {433, 676, 419, 46},
     "Setup 18 Motorakku-Kapazitätsalarm",
     11,
     11},
};

// The kind of a control follows from the type of its member.
using ControlSlot = std::variant<QLabel * TForm1::*, QLineEdit * TForm1::*, TUpDown * TForm1::*,
                                 QRadioButton * TForm1::*, QCheckBox * TForm1::*>;

struct Range {
    int min = 0;
    int max = 100;
    int increment = 1;
    int position = 0;
};

struct ControlRow {
    const char* name;
    ControlSlot slot;
    GroupSlot parent;
    QRect geometry;
    const char* text = nullptr; // caption, or a display's design-time text
    Range range = {};
    bool on = false; // selected or ticked at creation
    Handler handler = nullptr;
};

#define LABEL(n, g, x, y, w, h, text)                                                              \
    { #n, &TForm1::n, &TForm1::g, {x, y, w, h }, text }
#define DISPLAY(n, g, x, y, w, text)                                                               \
    { #n, &TForm1::n, &TForm1::g, {x, y, w, 17 }, text }
#define SPINNER(n, g, x, y, min, max, inc, pos)                                                    \
    {                                                                                              \
#n, &TForm1::n, &TForm1::g,                                                                \
            {x, y, 17, 25 }, nullptr, {min, max, inc, pos }, false, &TForm1::n##Click              \
    }
#define BUTTON(n, g, x, y, w, h, text, on)                                                         \
    { #n, &TForm1::n, &TForm1::g, {x, y, w, h }, text, {}, on, &TForm1::n##Click }

// Per group in the order of its controls. UpDown1 stands on the window itself
// and is built apart.
const ControlRow controlRows[] = {
    // setup 0
    LABEL(Label1, GroupBox1, 47, 23, 57, 13, "Sendekanal"),
    DISPLAY(Memo2, GroupBox1, 112, 21, 49, ""),
    LABEL(Label3, GroupBox1, 215, 22, 44, 13, "Frequenz"),
    DISPLAY(Memo1, GroupBox1, 272, 20, 57, ""),
    LABEL(Label5, GroupBox1, 336, 22, 22, 13, "MHz"),
    // setup 1
    SPINNER(UpDown2, GroupBox2, 7, 17, 10, 120, 10, 60),
    LABEL(Label2, GroupBox2, 42, 23, 37, 13, "Intervall"),
    DISPLAY(Memo3, GroupBox2, 110, 21, 49, ""),
    LABEL(Label4, GroupBox2, 165, 23, 49, 13, "Sekunden"),
    // setup 2
    SPINNER(UpDown3, GroupBox4, 7, 17, 10, 60, 10, 20),
    LABEL(Label8, GroupBox4, 46, 25, 37, 13, "Intervall"),
    DISPLAY(Memo4, GroupBox4, 112, 24, 49, ""),
    LABEL(Sekunden, GroupBox4, 167, 25, 49, 13, "Sekunden"),
    // setup 3
    SPINNER(UpDown4, GroupBox3, 8, 16, 5, 30, 5, 20),
    LABEL(Label9, GroupBox3, 43, 22, 37, 13, "Intervall"),
    DISPLAY(Memo5, GroupBox3, 107, 21, 51, ""),
    LABEL(Label7, GroupBox3, 164, 23, 49, 13, "Sekunden"),
    BUTTON(CheckBox1, GroupBox3, 312, 19, 89, 14, "keine Ansage", false),
    // setup 4: all six radio buttons form one set, also those below Label28
    BUTTON(RadioButton1, GroupBox5, 12, 18, 246, 14, "Kontinuierliche Geschwindigkeitsansage",
           true),
    LABEL(Label28, GroupBox5, 30, 34, 175, 13, "zusätzlich automatische Ansage  ab :"),
    BUTTON(RadioButton30, GroupBox5, 12, 50, 74, 17, "ab 70km/h", false),
    BUTTON(RadioButton31, GroupBox5, 100, 51, 82, 17, "ab 80km/h", false),
    BUTTON(RadioButton32, GroupBox5, 201, 51, 87, 17, "ab 100km/h", false),
    BUTTON(RadioButton33, GroupBox5, 307, 52, 90, 17, "ab 120km/h", false),
    BUTTON(RadioButton2, GroupBox5, 11, 71, 398, 14, "Maximumansage nach Beschleunigungsphase",
           false),
    // setup 5
    BUTTON(RadioButton3, GroupBox6, 8, 16, 401, 17, "Variometer-Funktion ohne Flugdauer-Ansage",
           true),
    BUTTON(RadioButton4, GroupBox6, 8, 32, 401, 17,
           "Variometer-Funktion mit Flugdauer-Ansage in Minuten", false),
    BUTTON(RadioButton5, GroupBox6, 8, 48, 401, 17,
           "Höhenansage nur im Zeitintervall, keine 50m-Stufen-Ansage", false),
    BUTTON(RadioButton29, GroupBox6, 8, 64, 401, 17,
           "Integral-Variometer-Mode f. Schlepppilot mit Geschwindigkeit u. 50m-Stufen-Ans.",
           false),
    // setup 6
    SPINNER(UpDown5, GroupBox7, 9, 17, 44, 99, 1, 47),
    LABEL(Label10, GroupBox7, 40, 24, 67, 13, "Alarmschwelle"),
    DISPLAY(Memo6, GroupBox7, 112, 24, 49, ""),
    LABEL(Label11, GroupBox7, 168, 24, 18, 13, "Volt"),
    // setup 7: Min above Max, so the up arrow heads for 0
    SPINNER(UpDown6, GroupBox8, 11, 17, 20, 0, 1, 0),
    LABEL(Label12, GroupBox8, 40, 24, 67, 13, "Sink-Schwelle"),
    DISPLAY(Memo7, GroupBox8, 112, 24, 49, ""),
    LABEL(Label13, GroupBox8, 168, 24, 18, 13, "m/s"),
    // setup 8
    BUTTON(RadioButton6, GroupBox9, 8, 16, 401, 17,
           "Höhenmesser-Mode ohne Varioton (z.B. Schlepppilot)", false),
    BUTTON(RadioButton7, GroupBox9, 8, 32, 825, 17,
           "Sink- = Steig-Schwelle, ohne Nullschieberausblendung, Steigton mit 50% getastet, "
           "Sinken mit Dauerton (ursprünglicher QZ Variometer Mode)",
           true),
    BUTTON(RadioButton8, GroupBox9, 8, 48, 833, 17,
           "Kein Ton zwischen Sink- u. Steig-Schwelle, sog. Nullscheiberausblendung, Steigton mit "
           "50% getastet, Sinken mit Dauerton",
           false),
    BUTTON(RadioButton9, GroupBox9, 8, 64, 833, 17,
           "Ton zwischen Sink- u. Steig-Schwelle 50% getastet, oberhalb der Steig-Schwelle kürzere "
           "25% Intervalle, Sinken mit Dauerton, gibt es nur bei QZ Altorin, sehr effizient!",
           false),
    BUTTON(RadioButton10, GroupBox9, 8, 80, 833, 17,
           "Ton zwischen Sink- u. Steig-Schwelle 50% getastet, oberhalb der Steig-Schwelle kürzere "
           "25% Intervalle, kein Ton im Sinken",
           false),
    // setup 9
    BUTTON(RadioButton11, GroupBox10, 8, 16, 401, 17,
           "Betrieb ohne Stromsensor, notwendig um unnötige Ansagen zu unterbinden", true),
    BUTTON(RadioButton12, GroupBox10, 8, 32, 401, 17,
           "E-Segler-Betrieb mit Stromsensor, nur Motorspannungs-Ansage im Ruhe-Mode", false),
    BUTTON(RadioButton13, GroupBox10, 8, 48, 401, 17,
           "E-Segler-Betrieb, zusätzlich mit Summenhöhe-Ansage im Ruhe-Mode", false),
    BUTTON(RadioButton14, GroupBox10, 8, 64, 401, 17,
           "E-Segler-Betrieb, zusätzlich Kapazitäts-Ansage im Ruhe-Mode", false),
    BUTTON(RadioButton15, GroupBox10, 8, 80, 401, 17,
           "E-Segler-Betrieb, zusätzlich mit Summenhöhe und Kapazitäts-Ansage im Ruhe-M.", false),
    BUTTON(RadioButton16, GroupBox10, 8, 96, 401, 17,
           "E-Motorflug- und E-Motorkunstflug-Betrieb, ohne Varioton, automatische Ansagen", false),
    // setup 10
    BUTTON(RadioButton17, GroupBox11, 8, 16, 129, 17, "Betrieb ohne UniLog ", true),
    BUTTON(RadioButton18, GroupBox11, 8, 32, 401, 17,
           "Betrieb mit UniLog, Höhenwert des Variometers für Höhenmessung verwenden", false),
    BUTTON(RadioButton19, GroupBox11, 8, 48, 401, 17,
           "Betrieb mit UniLog, Höhenwert des UniLog für Höhenmessung verwenden ", false),
    BUTTON(RadioButton20, GroupBox11, 8, 64, 401, 17,
           "Bei Betrieb mit Sensor-Interface den Wert des 250km/h-Pitot-Speed-Sensors,", false),
    BUTTON(RadioButton28, GroupBox11, 8, 80, 401, 17,
           "Bei Betrieb mit Sensor-Interface den Wert des 450km/h-Pitot-Speed-Sensors,", false),
    LABEL(Label14, GroupBox11, 24, 96, 378, 13,
          "anstelle des GPS-Wertes verwenden (450km/h-Sensorunterstützung ab V4075)."),
    // setup 11
    SPINNER(UpDown7, GroupBox12, 7, 17, 5, 125, 5, 5),
    LABEL(Label15, GroupBox12, 40, 24, 70, 13, "Alarmschwelle "),
    DISPLAY(Memo8, GroupBox12, 112, 24, 49, ""),
    LABEL(Label16, GroupBox12, 176, 24, 11, 13, "°C"),
    BUTTON(CheckBox2, GroupBox12, 312, 25, 89, 14, "keine Ansage", true),
    // setup 12
    SPINNER(UpDown8, GroupBox13, 9, 19, 10, 100, 1, 10),
    LABEL(Label17, GroupBox13, 40, 24, 67, 13, "Alarmschwelle"),
    DISPLAY(Memo9, GroupBox13, 112, 24, 49, ""),
    LABEL(Label18, GroupBox13, 168, 24, 18, 13, "Volt"),
    BUTTON(CheckBox3, GroupBox13, 320, 25, 89, 14, "keine Ansage", true),
    // setup 13
    BUTTON(RadioButton21, GroupBox14, 8, 16, 225, 17, "Werte als absolute Differenz in Meter",
           true),
    BUTTON(RadioButton22, GroupBox14, 8, 32, 201, 17, "Werte relativ in m/s", false),
    BUTTON(CheckBox4, GroupBox14, 8, 56, 217, 17, "zusätzliche automatische Höhenansage", false),
    SPINNER(UpDown9, GroupBox14, 232, 52, 1, 3, 1, 1),
    DISPLAY(Memo10, GroupBox14, 252, 56, 25, "Me\nmo\n10"),
    LABEL(Label22, GroupBox14, 281, 57, 6, 13, "n"),
    LABEL(Label19, GroupBox14, 304, 48, 108, 13, "bei jeder n-ten Integral-"),
    LABEL(Label20, GroupBox14, 304, 64, 89, 13, "Variometer-Ansage"),
    // setup 14
    BUTTON(RadioButton23, GroupBox15, 8, 16, 393, 17, "40/80 Ampere Stromsensor von SM-Modellbau",
           false),
    BUTTON(RadioButton24, GroupBox15, 8, 32, 385, 17, "150 Ampere Stromsensor von SM-Modellbau",
           true),
    BUTTON(RadioButton25, GroupBox15, 8, 48, 377, 17, "400 Ampere Stromsensor von SM-Modellbau",
           false),
    // setup 15
    BUTTON(RadioButton26, GroupBox16, 8, 16, 113, 17, "Meter", true),
    BUTTON(RadioButton27, GroupBox16, 96, 16, 281, 17,
           "Feet, nur in Verbindung mit engl. Sprache nutzbar", false),
    // setup 16
    SPINNER(UpDown10, GroupBox19, 16, 16, 3, 20, 1, 3),
    LABEL(Label21, GroupBox19, 64, 24, 27, 13, "Delay"),
    DISPLAY(Memo13, GroupBox19, 112, 24, 49, ""),
    LABEL(Label6, GroupBox19, 176, 24, 49, 13, "Sekunden"),
    // setup 17
    SPINNER(UpDown11, GroupBox20, 8, 16, 5, 99, 1, 5),
    LABEL(Label24, GroupBox20, 56, 24, 44, 13, "Kapazität"),
    DISPLAY(Memo14, GroupBox20, 112, 24, 49, ""),
    LABEL(Label23, GroupBox20, 176, 24, 13, 13, "Ah"),
    LABEL(Label27, GroupBox20, 200, 24, 202, 13, "Nur bei Kapazität mit %-Ansage notwendig!"),
    BUTTON(CheckBox6, GroupBox20, 240, 8, 177, 17, "alle Kapazitäts-Ansagen rel. in %", false),
    // setup 18
    SPINNER(UpDown12, GroupBox21, 16, 16, 20, 100, 10, 20),
    LABEL(Label26, GroupBox21, 64, 24, 41, 13, "Alarm ab"),
    DISPLAY(Memo15, GroupBox21, 112, 24, 49, ""),
    LABEL(Label25, GroupBox21, 168, 24, 239, 13,
          "% Verbrauch, danach bei jeder weiteren 10%-Stufe"),
    BUTTON(CheckBox5, GroupBox21, 288, 9, 129, 14, "kein Kapazitätsalarm", true),
};

#undef LABEL
#undef DISPLAY
#undef SPINNER
#undef BUTTON

using MenuSlot = QMenu* TForm1::*;
using ActionSlot = QAction* TForm1::*;

struct MenuRow {
    const char* name;
    std::variant<MenuSlot, ActionSlot> slot;
    MenuSlot parent; // nullptr: the menu bar
    const char* caption;
    Handler handler = nullptr;
};

#define MENU(n, parent, caption)                                                                   \
    { #n, &TForm1::n, parent, caption }
#define ITEM(n, parent, caption, handler)                                                          \
    { #n, &TForm1::n, &TForm1::parent, caption, &TForm1::handler }

// In menu order; the firmware items have eight blanks after the device name.
const MenuRow menuRows[] = {
    MENU(Datei1, nullptr, "Datei"),
    ITEM(Setupladen1, Datei1, "Setup laden/einlesen", Setupladen1Click),
    ITEM(Setupspeichern1, Datei1, "Setup speichern", Setupspeichern1Click),
    ITEM(Proframmbeenden1, Datei1, "Programm beenden", Proframmbeenden1Click),
    MENU(Einstellungen1, nullptr, "Einstellungen / Settings"),
    ITEM(SetupGrundeinstellung1, Einstellungen1, "Setup-Grundeinstellung laden",
         SetupGrundeinstellung1Click),
    MENU(FirmwareVersiondesAltorin1, &TForm1::Einstellungen1,
         "Altorin Firmware Version einstellen"),
    ITEM(bisV407x1, FirmwareVersiondesAltorin1, "Altorin        bis V. 407x", bisV407x1Click),
    ITEM(abV408x1, FirmwareVersiondesAltorin1, "Altorin        ab V. 50x", abV408x1Click),
    ITEM(Duo_ab50x, FirmwareVersiondesAltorin1, "Altorin Duo ab V. 50x", Duo_ab50xClick),
    MENU(SpracheLanguage1, &TForm1::Einstellungen1, "Sprache / Language"),
    ITEM(deutsch1, SpracheLanguage1, "deutsch", deutsch1Click),
    ITEM(english1, SpracheLanguage1, "english", english1Click),
    MENU(DatenKonvertierung1, nullptr, "Daten-Konvertierung"),
    ITEM(nachKML2D1, DatenKonvertierung1, "nach KML 2D", nachKML2D1Click),
    ITEM(nachKML3DmitGPSHhe1, DatenKonvertierung1, "nach KML 3D mit GPS-Höhe",
         nachKML3DmitGPSHhe1Click),
    ITEM(nachKML3D1, DatenKonvertierung1, "nach KML 3D mit barom. Höhe", nachKML3D1Click),
    ITEM(nachGMX1, DatenKonvertierung1, "nach GPX mit GPS-Höhe", nachGPX1Click),
    ITEM(frTrakmond1, DatenKonvertierung1, "für Trakmond", frTrakmond1Click),
    ITEM(Flugansehen1, DatenKonvertierung1, "Flug ansehen …", Flugansehen1Click),
    MENU(Hilfe1, nullptr, "Hilfe"),
    ITEM(Info1, Hilfe1, "Info", Info1Click),
};

#undef MENU
#undef ITEM

// Large enough for every group (right edge 852, bottom 722) with a small margin.
constexpr QSize canvasSize(857, 727);

QFont pixelFont(const QFont& base, int px, bool bold) {
    QFont font = base;
    font.setPixelSize(px);
    font.setBold(bold);
    return font;
}

void setUpSpinner(TUpDown* spinner, const Range& range) {
    spinner->setRange(range.min, range.max);
    spinner->setIncrement(range.increment);
    spinner->setPosition(range.position);
}

struct FilterPair {
    const char* description;
    const char* pattern;
};

// The filter as one "description|pattern|..." text and as the equivalent
// name filters, the pattern in parentheses after the description.
void setFilter(QFileDialog* dialog, std::initializer_list<FilterPair> pairs) {
    QStringList parts;
    QStringList nameFilters;
    for (const FilterPair& pair : pairs) {
        parts << QString::fromUtf8(pair.description) << QString::fromUtf8(pair.pattern);
        nameFilters << QStringLiteral("%1 (%2)").arg(QString::fromUtf8(pair.description),
                                                     QString::fromUtf8(pair.pattern));
    }
    dialog->setProperty("filter", parts.join(QLatin1Char('|')));
    // The list shows the descriptions alone; several already name their pattern.
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setNameFilters(nameFilters);
    dialog->selectNameFilter(nameFilters.first());
}

QFileDialog* makeDialog(QWidget* parent, const char* name, QFileDialog::AcceptMode mode) {
    auto* dialog = new QFileDialog(parent);
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setAcceptMode(mode);
    // An open dialog still takes any typed name; the command reports a missing file.
    dialog->setFileMode(QFileDialog::AnyFile);
    return dialog;
}

} // namespace

TForm1::TForm1(QWidget* parent) : QMainWindow(parent) {
    buildWindow();
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::buildWindow() {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Altorin Tool "));
    // Without the form's face, take one of similar width before the generic
    // sans-serif, whose wider letters would run into the value displays.
    QFont windowFont(QStringLiteral("MS Sans Serif"));
    windowFont.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                            QStringLiteral("Arial"), QStringLiteral("Liberation Sans"),
                            QStringLiteral("Helvetica"), QStringLiteral("DejaVu Sans Condensed")});
    windowFont.setStyleHint(QFont::SansSerif);
    windowFont.setPixelSize(10);
    setFont(windowFont);

    // The controls stand on a canvas of fixed size, so a small window scrolls.
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scrollArea"));
    scroll->setFrameShape(QFrame::NoFrame);
    auto* canvas = new QWidget;
    canvas->setObjectName(QStringLiteral("canvas"));
    canvas->setFixedSize(canvasSize);
    scroll->setWidget(canvas);
    setCentralWidget(scroll);

    for (const GroupRow& row : groupRows) {
        auto* group = new QGroupBox(QString::fromUtf8(row.caption), canvas);
        group->setObjectName(QString::fromLatin1(row.name));
        group->setGeometry(row.geometry);
        group->setFont(pixelFont(windowFont, row.captionPx, true));
        this->*row.slot = group;
    }

    for (const ControlRow& row : controlRows) {
        QGroupBox* group = this->*row.parent;
        int childPx = 11;
        for (const GroupRow& g : groupRows)
            if (g.slot == row.parent)
                childPx = g.childPx;
        const QFont regular = pixelFont(windowFont, childPx, false);
        const QString text = row.text ? QString::fromUtf8(row.text) : QString();
        std::visit(
            [&](auto slot) {
                using W = std::remove_pointer_t<std::remove_reference_t<decltype(this->*slot)>>;
                auto* w = new W(group);
                this->*slot = w;
                w->setObjectName(QString::fromLatin1(row.name));
                w->setGeometry(row.geometry);
                if constexpr (std::is_same_v<W, QLabel>) {
                    w->setFont(regular);
                    w->setText(text);
                    fitCaption(w);
                } else if constexpr (std::is_same_v<W, QLineEdit>) {
                    w->setFont(pixelFont(windowFont, childPx, true));
                    w->setReadOnly(true);
                    w->setText(text);
                } else if constexpr (std::is_same_v<W, TUpDown>) {
                    setUpSpinner(w, row.range);
                    const Handler handler = row.handler;
                    connect(w, &TUpDown::clicked, this, [this, handler] { (this->*handler)(); });
                } else if constexpr (std::is_same_v<W, QRadioButton>) {
                    w->setFont(regular);
                    w->setText(text);
                    w->setChecked(row.on);
                    fitCaption(w);
                    const Handler handler = row.handler;
                    // Selecting runs the handler, clearing does not.
                    connect(w, &QRadioButton::toggled, this, [this, handler](bool checked) {
                        if (checked && !m_showingImage)
                            (this->*handler)();
                    });
                } else {
                    static_assert(std::is_same_v<W, QCheckBox>);
                    w->setFont(regular);
                    w->setText(text);
                    w->setChecked(row.on);
                    fitCaption(w);
                    const Handler handler = row.handler;
                    // Every change runs the handler, by the user or by the program.
                    connect(w, &QCheckBox::toggled, this, [this, handler] {
                        if (!m_showingImage)
                            (this->*handler)();
                    });
                }
            },
            row.slot);
    }

    // The controls were built setup by setup; the tab key follows the form's
    // group order instead, which puts setups 3 and 5 after setup 15.
    QWidget* previous = nullptr;
    for (const GroupRow& row : groupRows) {
        for (QWidget* w :
             (this->*row.slot)->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (!(w->focusPolicy() & Qt::TabFocus))
                continue;
            if (previous)
                setTabOrder(previous, w);
            previous = w;
        }
    }

    // Setup 0's spinner belongs to the window and is drawn over the group's frame.
    UpDown1 = new TUpDown(canvas);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setGeometry(15, 19, 17, 25);
    setUpSpinner(UpDown1, {1, 69, 1, 1});
    connect(UpDown1, &TUpDown::clicked, this, &TForm1::UpDown1Click);
    UpDown1->raise();

    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    for (const MenuRow& row : menuRows) {
        const QString caption = QString::fromUtf8(row.caption);
        if (const auto* slot = std::get_if<MenuSlot>(&row.slot)) {
            QMenu* menu =
                row.parent ? (this->*row.parent)->addMenu(caption) : menuBar()->addMenu(caption);
            menu->setObjectName(QString::fromLatin1(row.name));
            this->*(*slot) = menu;
        } else {
            QAction* action = (this->*row.parent)->addAction(caption);
            action->setObjectName(QString::fromLatin1(row.name));
            this->*std::get<ActionSlot>(row.slot) = action;
            connect(action, &QAction::triggered, this, row.handler);
        }
    }

    OpenDialog1 = makeDialog(this, "OpenDialog1", QFileDialog::AcceptOpen);
    setFilter(OpenDialog1, {{"Altorin Log-Datei (*.CSV)", "LOG?????.CSV"},
                            {"Alle CSV-Dateien (*.CSV)", "*.CSV"},
                            {"Alle Dateien (*.*)", "*.*"}});
    OpenDialog2 = makeDialog(this, "OpenDialog2", QFileDialog::AcceptOpen);
    setFilter(OpenDialog2, {{"Altorin Setup-Datei (SETUPUPL.HEX)", "SETUPUPL.HEX"},
                            {"Alle HEX-Dateien", "*.HEX"},
                            {"Alle Dateien (*.*)", "*.*"}});
    SaveDialog2 = makeDialog(this, "SaveDialog2", QFileDialog::AcceptSave);
    SaveDialog2->setOption(QFileDialog::DontConfirmOverwrite);
    SaveDialog2->setProperty("filter", QString());

    setAcceptDrops(true);
    move(239, 160);
    resize(865, 784);
}
