#include "app/tform1.h"
#include "app/ui/fitcaption.h"
#include "app/ui/menubarkey.h"
#include "app/ui/tupdown.h"
#include "convert/ui/conversioncommand.h"
#include "i18n/captiontables.h"
#include "i18n/ui/languageswitch.h"
#include "setup/setupmodel.h"
#include "setup/ui/setupeditor.h"

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
    int captionPx; // bold caption height
    int childPx;   // regular height of the group's labels and buttons
};

// In tab order; the left column is x 6..8, the right one x 430..435.
const GroupRow groupRows[] = {
    {"GroupBox1", &TForm1::GroupBox1, {6, 2, 418, 48}, 12, 12},
    {"GroupBox2", &TForm1::GroupBox2, {430, 6, 418, 49}, 12, 12},
    {"GroupBox4", &TForm1::GroupBox4, {6, 55, 418, 49}, 11, 11},
    {"GroupBox5", &TForm1::GroupBox5, {6, 110, 418, 95}, 11, 11},
    {"GroupBox7", &TForm1::GroupBox7, {7, 205, 417, 47}, 11, 11},
    {"GroupBox8", &TForm1::GroupBox8, {431, 206, 420, 47}, 11, 11},
    {"GroupBox9", &TForm1::GroupBox9, {7, 255, 844, 102}, 11, 11},
    {"GroupBox10", &TForm1::GroupBox10, {7, 361, 420, 122}, 11, 11},
    {"GroupBox11", &TForm1::GroupBox11, {435, 361, 417, 121}, 11, 11},
    {"GroupBox12", &TForm1::GroupBox12, {8, 490, 420, 53}, 11, 11},
    {"GroupBox13", &TForm1::GroupBox13, {435, 490, 417, 53}, 11, 11},
    {"GroupBox14", &TForm1::GroupBox14, {7, 550, 420, 84}, 10, 11},
    {"GroupBox15", &TForm1::GroupBox15, {434, 550, 417, 73}, 11, 11},
    {"GroupBox16", &TForm1::GroupBox16, {7, 635, 420, 39}, 11, 11},
    {"GroupBox3", &TForm1::GroupBox3, {431, 55, 418, 49}, 11, 11},
    {"GroupBox6", &TForm1::GroupBox6, {431, 110, 419, 94}, 11, 11},
    {"GroupBox19", &TForm1::GroupBox19, {434, 625, 417, 49}, 11, 11},
    {"GroupBox20", &TForm1::GroupBox20, {7, 676, 420, 46}, 11, 11},
    {"GroupBox21", &TForm1::GroupBox21, {433, 676, 419, 46}, 11, 11},
};

// The kind of a control follows from the type of its member.
using ControlSlot = std::variant<QLabel * TForm1::*, QLineEdit * TForm1::*, TUpDown * TForm1::*,
                                 QRadioButton * TForm1::*, QCheckBox * TForm1::*>;

// Captions come from the caption table and spinner ranges from the setup
// table, both by the control's name; the rows hold what only the window has.
struct ControlRow {
    const char* name;
    ControlSlot slot;
    GroupSlot parent;
    QRect geometry;
    const char* text = nullptr; // a display's design-time text
    bool on = false;            // selected or ticked at creation
    Handler handler = nullptr;
};

#define LABEL(n, g, x, y, w, h)                                                                    \
    {                                                                                              \
#n, &TForm1::n, &TForm1::g, {                                                              \
            x, y, w, h                                                                             \
        }                                                                                          \
    }
#define DISPLAY(n, g, x, y, w, text)                                                               \
    { #n, &TForm1::n, &TForm1::g, {x, y, w, 17 }, text }
#define SPINNER(n, g, x, y)                                                                        \
    { #n, &TForm1::n, &TForm1::g, {x, y, 17, 25 }, nullptr, false, &TForm1::n##Click }
#define BUTTON(n, g, x, y, w, h, on)                                                               \
    { #n, &TForm1::n, &TForm1::g, {x, y, w, h }, nullptr, on, &TForm1::n##Click }

// Per group in the order of its controls. UpDown1 stands on the window itself
// and is built apart.
const ControlRow controlRows[] = {
    // setup 0
    LABEL(Label1, GroupBox1, 47, 23, 57, 13),
    DISPLAY(Memo2, GroupBox1, 112, 21, 49, ""),
    LABEL(Label3, GroupBox1, 215, 22, 44, 13),
    DISPLAY(Memo1, GroupBox1, 272, 20, 57, ""),
    LABEL(Label5, GroupBox1, 336, 22, 22, 13),
    // setup 1
    SPINNER(UpDown2, GroupBox2, 7, 17),
    LABEL(Label2, GroupBox2, 42, 23, 37, 13),
    DISPLAY(Memo3, GroupBox2, 110, 21, 49, ""),
    LABEL(Label4, GroupBox2, 165, 23, 49, 13),
    // setup 2
    SPINNER(UpDown3, GroupBox4, 7, 17),
    LABEL(Label8, GroupBox4, 46, 25, 37, 13),
    DISPLAY(Memo4, GroupBox4, 112, 24, 49, ""),
    LABEL(Sekunden, GroupBox4, 167, 25, 49, 13),
    // setup 3
    SPINNER(UpDown4, GroupBox3, 8, 16),
    LABEL(Label9, GroupBox3, 43, 22, 37, 13),
    DISPLAY(Memo5, GroupBox3, 107, 21, 51, ""),
    LABEL(Label7, GroupBox3, 164, 23, 49, 13),
    BUTTON(CheckBox1, GroupBox3, 312, 19, 89, 14, false),
    // setup 4: all six radio buttons form one set, also those below Label28
    BUTTON(RadioButton1, GroupBox5, 12, 18, 246, 14, true),
    LABEL(Label28, GroupBox5, 30, 34, 175, 13),
    BUTTON(RadioButton30, GroupBox5, 12, 50, 74, 17, false),
    BUTTON(RadioButton31, GroupBox5, 100, 51, 82, 17, false),
    BUTTON(RadioButton32, GroupBox5, 201, 51, 87, 17, false),
    BUTTON(RadioButton33, GroupBox5, 307, 52, 90, 17, false),
    BUTTON(RadioButton2, GroupBox5, 11, 71, 398, 14, false),
    // setup 5
    BUTTON(RadioButton3, GroupBox6, 8, 16, 401, 17, true),
    BUTTON(RadioButton4, GroupBox6, 8, 32, 401, 17, false),
    BUTTON(RadioButton5, GroupBox6, 8, 48, 401, 17, false),
    BUTTON(RadioButton29, GroupBox6, 8, 64, 401, 17, false),
    // setup 6
    SPINNER(UpDown5, GroupBox7, 9, 17),
    LABEL(Label10, GroupBox7, 40, 24, 67, 13),
    DISPLAY(Memo6, GroupBox7, 112, 24, 49, ""),
    LABEL(Label11, GroupBox7, 168, 24, 18, 13),
    // setup 7: Min above Max, so the up arrow heads for 0
    SPINNER(UpDown6, GroupBox8, 11, 17),
    LABEL(Label12, GroupBox8, 40, 24, 67, 13),
    DISPLAY(Memo7, GroupBox8, 112, 24, 49, ""),
    LABEL(Label13, GroupBox8, 168, 24, 18, 13),
    // setup 8
    BUTTON(RadioButton6, GroupBox9, 8, 16, 401, 17, false),
    BUTTON(RadioButton7, GroupBox9, 8, 32, 825, 17, true),
    BUTTON(RadioButton8, GroupBox9, 8, 48, 833, 17, false),
    BUTTON(RadioButton9, GroupBox9, 8, 64, 833, 17, false),
    BUTTON(RadioButton10, GroupBox9, 8, 80, 833, 17, false),
    // setup 9
    BUTTON(RadioButton11, GroupBox10, 8, 16, 401, 17, true),
    BUTTON(RadioButton12, GroupBox10, 8, 32, 401, 17, false),
    BUTTON(RadioButton13, GroupBox10, 8, 48, 401, 17, false),
    BUTTON(RadioButton14, GroupBox10, 8, 64, 401, 17, false),
    BUTTON(RadioButton15, GroupBox10, 8, 80, 401, 17, false),
    BUTTON(RadioButton16, GroupBox10, 8, 96, 401, 17, false),
    // setup 10
    BUTTON(RadioButton17, GroupBox11, 8, 16, 129, 17, true),
    BUTTON(RadioButton18, GroupBox11, 8, 32, 401, 17, false),
    BUTTON(RadioButton19, GroupBox11, 8, 48, 401, 17, false),
    BUTTON(RadioButton20, GroupBox11, 8, 64, 401, 17, false),
    BUTTON(RadioButton28, GroupBox11, 8, 80, 401, 17, false),
    LABEL(Label14, GroupBox11, 24, 96, 378, 13),
    // setup 11
    SPINNER(UpDown7, GroupBox12, 7, 17),
    LABEL(Label15, GroupBox12, 40, 24, 70, 13),
    DISPLAY(Memo8, GroupBox12, 112, 24, 49, ""),
    LABEL(Label16, GroupBox12, 176, 24, 11, 13),
    BUTTON(CheckBox2, GroupBox12, 312, 25, 89, 14, true),
    // setup 12
    SPINNER(UpDown8, GroupBox13, 9, 19),
    LABEL(Label17, GroupBox13, 40, 24, 67, 13),
    DISPLAY(Memo9, GroupBox13, 112, 24, 49, ""),
    LABEL(Label18, GroupBox13, 168, 24, 18, 13),
    BUTTON(CheckBox3, GroupBox13, 320, 25, 89, 14, true),
    // setup 13
    BUTTON(RadioButton21, GroupBox14, 8, 16, 225, 17, true),
    BUTTON(RadioButton22, GroupBox14, 8, 32, 201, 17, false),
    BUTTON(CheckBox4, GroupBox14, 8, 56, 217, 17, false),
    SPINNER(UpDown9, GroupBox14, 232, 52),
    DISPLAY(Memo10, GroupBox14, 252, 56, 25, "Me\nmo\n10"),
    LABEL(Label22, GroupBox14, 281, 57, 6, 13),
    LABEL(Label19, GroupBox14, 304, 48, 108, 13),
    LABEL(Label20, GroupBox14, 304, 64, 89, 13),
    // setup 14
    BUTTON(RadioButton23, GroupBox15, 8, 16, 393, 17, false),
    BUTTON(RadioButton24, GroupBox15, 8, 32, 385, 17, true),
    BUTTON(RadioButton25, GroupBox15, 8, 48, 377, 17, false),
    // setup 15
    BUTTON(RadioButton26, GroupBox16, 8, 16, 113, 17, true),
    BUTTON(RadioButton27, GroupBox16, 96, 16, 281, 17, false),
    // setup 16
    SPINNER(UpDown10, GroupBox19, 16, 16),
    LABEL(Label21, GroupBox19, 64, 24, 27, 13),
    DISPLAY(Memo13, GroupBox19, 112, 24, 49, ""),
    LABEL(Label6, GroupBox19, 176, 24, 49, 13),
    // setup 17
    SPINNER(UpDown11, GroupBox20, 8, 16),
    LABEL(Label24, GroupBox20, 56, 24, 44, 13),
    DISPLAY(Memo14, GroupBox20, 112, 24, 49, ""),
    LABEL(Label23, GroupBox20, 176, 24, 13, 13),
    LABEL(Label27, GroupBox20, 200, 24, 202, 13),
    BUTTON(CheckBox6, GroupBox20, 240, 8, 177, 17, false),
    // setup 18
    SPINNER(UpDown12, GroupBox21, 16, 16),
    LABEL(Label26, GroupBox21, 64, 24, 41, 13),
    DISPLAY(Memo15, GroupBox21, 112, 24, 49, ""),
    LABEL(Label25, GroupBox21, 168, 24, 239, 13),
    BUTTON(CheckBox5, GroupBox21, 288, 9, 129, 14, true),
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
    Handler handler = nullptr;
};

#define MENU(n, parent)                                                                            \
    { #n, &TForm1::n, parent }
#define ITEM(n, parent, handler)                                                                   \
    { #n, &TForm1::n, &TForm1::parent, &TForm1::handler }

// In menu order; the captions are in the caption table.
const MenuRow menuRows[] = {
    MENU(Datei1, nullptr),
    ITEM(Setupladen1, Datei1, Setupladen1Click),
    ITEM(Setupspeichern1, Datei1, Setupspeichern1Click),
    ITEM(Proframmbeenden1, Datei1, Proframmbeenden1Click),
    MENU(Einstellungen1, nullptr),
    ITEM(SetupGrundeinstellung1, Einstellungen1, SetupGrundeinstellung1Click),
    MENU(FirmwareVersiondesAltorin1, &TForm1::Einstellungen1),
    ITEM(bisV407x1, FirmwareVersiondesAltorin1, bisV407x1Click),
    ITEM(abV408x1, FirmwareVersiondesAltorin1, abV408x1Click),
    ITEM(Duo_ab50x, FirmwareVersiondesAltorin1, Duo_ab50xClick),
    MENU(SpracheLanguage1, &TForm1::Einstellungen1),
    ITEM(deutsch1, SpracheLanguage1, deutsch1Click),
    ITEM(english1, SpracheLanguage1, english1Click),
    MENU(DatenKonvertierung1, nullptr),
    ITEM(nachKML2D1, DatenKonvertierung1, nachKML2D1Click),
    ITEM(nachKML3DmitGPSHhe1, DatenKonvertierung1, nachKML3DmitGPSHhe1Click),
    ITEM(nachKML3D1, DatenKonvertierung1, nachKML3D1Click),
    ITEM(nachGMX1, DatenKonvertierung1, nachGPX1Click),
    ITEM(frTrakmond1, DatenKonvertierung1, frTrakmond1Click),
    ITEM(Flugansehen1, DatenKonvertierung1, Flugansehen1Click),
    ITEM(Flugbuch1, DatenKonvertierung1, Flugbuch1Click),
    MENU(Hilfe1, nullptr),
    ITEM(Info1, Hilfe1, Info1Click),
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

void setUpSpinner(TUpDown* spinner, const char* name) {
    const SpinnerRange& range = setupOfSpinner(name)->range;
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
        auto* group = new QGroupBox(designCaption(row.name), canvas);
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
        const QString text = row.text ? QString::fromUtf8(row.text) : designCaption(row.name);
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
                    setUpSpinner(w, row.name);
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
                        if (checked && !m_setupEditor->settingControls())
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
                        if (!m_setupEditor->settingControls())
                            (this->*handler)();
                    });
                }
            },
            row.slot);
    }

    // Setup 0's spinner belongs to the window and is drawn over the group's frame.
    UpDown1 = new TUpDown(canvas);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setGeometry(15, 19, 17, 25);
    setUpSpinner(UpDown1, "UpDown1");
    connect(UpDown1, &TUpDown::clicked, this, &TForm1::UpDown1Click);
    UpDown1->raise();
    m_setupEditor = new SetupEditor(this);

    // The controls were built setup by setup; the tab key follows the form's
    // group order instead, which puts setups 3 and 5 after setup 15. UpDown1,
    // on the window, has its own place between the groups.
    constexpr qsizetype UpDown1TabPlace = 16;
    QWidget* previous = nullptr;
    const auto chain = [&](QWidget* w) {
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    };
    for (const GroupRow& row : groupRows) {
        if (&row - groupRows == UpDown1TabPlace)
            chain(UpDown1);
        for (QWidget* w :
             (this->*row.slot)->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            if (w->focusPolicy() & Qt::TabFocus)
                chain(w);
    }

    menuBar()->setObjectName(QStringLiteral("MainMenu1"));
    for (const MenuRow& row : menuRows) {
        const QString caption = designCaption(row.name);
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
    installMenuBarKey(this);
    m_conversion = new ConversionCommand(this, [this] { return firmwareMenuItem()->text(); });
    m_language = new LanguageSwitch(this, [this] { return SaveToolSettings(); });

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
