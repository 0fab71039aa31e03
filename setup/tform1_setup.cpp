#include "app/programstate.h"
#include "app/tform1.h"
#include "app/ui/dialogs.h"
#include "app/ui/tupdown.h"
#include "setup/displayformat.h"
#include "setup/setupfile.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <iterator>

// The setup groups are described by tables (control, byte, display format);
// the named handlers only pick their table entry and run the generic code.

namespace {

using Spinner = TUpDown* TForm1::*;
using Display = QLineEdit* TForm1::*;
using Radio = QRadioButton* TForm1::*;
using Box = QCheckBox* TForm1::*;

// How a byte (or a spinner position) reads in its value display.
enum class Shown { Whole, Tenths, NegativeTenths, Halves };

QString shownText(Shown format, int value) {
    switch (format) {
    case Shown::Tenths:
        return generalNumberText(value * 0.1);
    case Shown::NegativeTenths:
        return generalNumberText(value * -0.1);
    case Shown::Halves:
        return generalNumberText(value * 0.5);
    case Shown::Whole:
        break;
    }
    return wholeNumberText(value);
}

// A spinner whose position is the byte.
struct PlainSpinner {
    Spinner spinner;
    int byte;
    Display display;
    Shown format;
};

const PlainSpinner PlainSpinners[] = {
    {&TForm1::UpDown2, 1, &TForm1::Memo3, Shown::Whole},
    {&TForm1::UpDown3, 2, &TForm1::Memo4, Shown::Whole},
    {&TForm1::UpDown5, 6, &TForm1::Memo6, Shown::Tenths},
    {&TForm1::UpDown6, 7, &TForm1::Memo7, Shown::NegativeTenths},
    {&TForm1::UpDown10, 16, &TForm1::Memo13, Shown::Whole},
};

// A radio button that stands for one value of its byte.
struct RadioChoice {
    Radio button;
    int byte;
    quint8 value;
};

// Setup 13's buttons are not here: they set the value mode, not a byte.
const RadioChoice RadioChoices[] = {
    {&TForm1::RadioButton1, 4, 1},   {&TForm1::RadioButton2, 4, 2},
    {&TForm1::RadioButton30, 4, 3},  {&TForm1::RadioButton31, 4, 4},
    {&TForm1::RadioButton32, 4, 5},  {&TForm1::RadioButton33, 4, 6},
    {&TForm1::RadioButton3, 5, 1},   {&TForm1::RadioButton4, 5, 2},
    {&TForm1::RadioButton5, 5, 3},   {&TForm1::RadioButton29, 5, 4},
    {&TForm1::RadioButton6, 8, 0},   {&TForm1::RadioButton7, 8, 1},
    {&TForm1::RadioButton8, 8, 2},   {&TForm1::RadioButton9, 8, 3},
    {&TForm1::RadioButton10, 8, 4},  {&TForm1::RadioButton11, 9, 0},
    {&TForm1::RadioButton12, 9, 1},  {&TForm1::RadioButton13, 9, 2},
    {&TForm1::RadioButton14, 9, 3},  {&TForm1::RadioButton15, 9, 4},
    {&TForm1::RadioButton16, 9, 5},  {&TForm1::RadioButton17, 10, 0},
    {&TForm1::RadioButton18, 10, 1}, {&TForm1::RadioButton19, 10, 2},
    {&TForm1::RadioButton20, 10, 3}, {&TForm1::RadioButton28, 10, 4},
    {&TForm1::RadioButton23, 14, 1}, {&TForm1::RadioButton24, 14, 2},
    {&TForm1::RadioButton25, 14, 3}, {&TForm1::RadioButton26, 15, 1},
    {&TForm1::RadioButton27, 15, 0},
};

// A threshold with a box that switches its alarm off (byte 0).
struct OffBoxSetup {
    Spinner spinner;
    Box box;
    int byte;
    Display display;
    Shown format;
    int resetPosition;   // where the box's handler puts the spinner; 0: it stays
    bool clearingStores; // clearing the box stores the spinner's position
};

const OffBoxSetup TemperatureAlarm = {
    &TForm1::UpDown7, &TForm1::CheckBox2, 11, &TForm1::Memo8, Shown::Whole, 5, false};
const OffBoxSetup MotorVoltageAlarm = {
    &TForm1::UpDown8, &TForm1::CheckBox3, 12, &TForm1::Memo9, Shown::Halves, 10, false};
const OffBoxSetup CapacityAlarm = {
    &TForm1::UpDown12, &TForm1::CheckBox5, 18, &TForm1::Memo15, Shown::Whole, 0, true};

constexpr quint8 NoIntervalAnnouncement = 60; // setup 3 with "keine Ansage"
constexpr quint8 IntervalAfterClearing = 20;
constexpr quint8 PercentFlag = 0x80; // setup 17

SetupImage& image() {
    return programState().image;
}

quint8 asByte(int position) {
    return static_cast<quint8>(position);
}

template <typename Entry, typename Member, size_t N>
const Entry& entryFor(const Entry (&table)[N], Member Entry::*key, Member control) {
    for (const Entry& entry : table)
        if (entry.*key == control)
            return entry;
    Q_UNREACHABLE();
}

void plainSpinnerClick(TForm1& form, Spinner spinner) {
    const PlainSpinner& s = entryFor(PlainSpinners, &PlainSpinner::spinner, spinner);
    const int position = (form.*s.spinner)->position();
    image()[s.byte] = asByte(position);
    (form.*s.display)->setText(shownText(s.format, position));
}

void radioClick(Radio button) {
    const RadioChoice& c = entryFor(RadioChoices, &RadioChoice::button, button);
    image()[c.byte] = c.value;
}

void offBoxSpinnerClick(TForm1& form, const OffBoxSetup& s) {
    QLineEdit* display = form.*s.display;
    if ((form.*s.box)->isChecked()) {
        image()[s.byte] = 0;
        display->clear();
        return;
    }
    const int position = (form.*s.spinner)->position();
    image()[s.byte] = asByte(position);
    display->setText(shownText(s.format, position));
}

void offBoxClick(TForm1& form, const OffBoxSetup& s) {
    QLineEdit* display = form.*s.display;
    if ((form.*s.box)->isChecked()) {
        image()[s.byte] = 0;
        display->clear();
    } else {
        if (s.clearingStores)
            image()[s.byte] = asByte((form.*s.spinner)->position());
        display->setText(shownText(s.format, image()[s.byte]));
    }
    if (s.resetPosition != 0)
        (form.*s.spinner)->setPosition(s.resetPosition);
}

void showOffBox(TForm1& form, const OffBoxSetup& s) {
    const quint8 value = image()[s.byte];
    if (value == 0) {
        (form.*s.box)->setChecked(true);
        (form.*s.display)->clear();
        return;
    }
    (form.*s.box)->setChecked(false);
    (form.*s.spinner)->setPosition(value);
    (form.*s.display)->setText(shownText(s.format, value));
}

// Choosing an operation that cannot use the alarm switches it off. Ticking
// the box runs its own handler too, to the same effect.
void switchOffAlarm(TForm1& form, const OffBoxSetup& s) {
    (form.*s.box)->setChecked(true);
    image()[s.byte] = 0;
    (form.*s.display)->clear();
    (form.*s.spinner)->setPosition(s.resetPosition);
}

void showChannel(TForm1& form, int channel) {
    form.Memo1->setText(frequencyText(channelFrequency(channel)));
    form.Memo2->setText(wholeNumberText(channel));
}

void showCapacity(TForm1& form, int capacity) {
    form.Memo14->setText(generalNumberText(capacity * 0.1));
}

void capacityClick(TForm1& form) {
    const int position = form.UpDown11->position();
    image()[17] = form.CheckBox6->isChecked() ? asByte(position + PercentFlag) : asByte(position);
    showCapacity(form, position);
}

} // namespace

void TForm1::ShowSetupImage() {
    // Showing the image must not change it: no click handler runs meanwhile.
    const QScopedValueRollback guard(m_showingImage, true);
    SetupImage& img = image();

    UpDown1->setPosition(img[0]);
    showChannel(*this, img[0]);
    for (const PlainSpinner& s : PlainSpinners) {
        (this->*s.spinner)->setPosition(img[s.byte]);
        (this->*s.display)->setText(shownText(s.format, img[s.byte]));
    }

    // 60 is what "keine Ansage" stores, so a saved setup shows as it was saved.
    const quint8 interval = img[3];
    if (interval == 0 || interval == NoIntervalAnnouncement) {
        Memo5->clear();
        CheckBox1->setChecked(true);
    } else {
        Memo5->setText(wholeNumberText(interval));
        CheckBox1->setChecked(false);
        UpDown4->setPosition(interval);
    }

    // A value without a button leaves its group's selection as it was.
    for (const RadioChoice& c : RadioChoices)
        if (img[c.byte] == c.value)
            (this->*c.button)->setChecked(true);

    showOffBox(*this, TemperatureAlarm);
    showOffBox(*this, MotorVoltageAlarm);

    const Setup13State setup13 = decodeByte13(img[13]);
    img.valueMode = setup13.valueMode;
    img.announcementStep = setup13.announcementStep;
    if (img.valueMode == 1)
        RadioButton21->setChecked(true);
    else if (img.valueMode == 2)
        RadioButton22->setChecked(true);
    UpDown9->setPosition(img.announcementStep);
    CheckBox4->setChecked(img[13] >= 3);
    ShowAnnouncementStep(img.announcementStep);

    const int capacity = img[17] & ~PercentFlag;
    UpDown11->setPosition(capacity);
    if (img[17] != 0)
        showCapacity(*this, capacity);
    else
        Memo14->clear();
    CheckBox6->setChecked((img[17] & PercentFlag) != 0);

    showOffBox(*this, CapacityAlarm);
}

void TForm1::ShowAnnouncementStep(qint32 step) {
    switch (step) {
    case 0:
        Memo10->clear();
        break;
    case 1:
        Memo10->setText(QStringLiteral("2"));
        break;
    case 2:
        Memo10->setText(QStringLiteral("5"));
        break;
    case 3:
        Memo10->setText(QStringLiteral("10"));
        break;
    default:
        break; // a step the spinner cannot reach keeps the display
    }
}

void TForm1::UpDown1Click() {
    const int channel = UpDown1->position();
    image()[0] = asByte(channel);
    showChannel(*this, channel);
}
void TForm1::UpDown2Click() {
    plainSpinnerClick(*this, &TForm1::UpDown2);
}
void TForm1::UpDown3Click() {
    plainSpinnerClick(*this, &TForm1::UpDown3);
}
void TForm1::UpDown4Click() {
    image()[3] = asByte(UpDown4->position());
    if (CheckBox1->isChecked())
        image()[3] = NoIntervalAnnouncement;
    else
        Memo5->setText(wholeNumberText(image()[3]));
}
void TForm1::UpDown5Click() {
    plainSpinnerClick(*this, &TForm1::UpDown5);
}
void TForm1::UpDown6Click() {
    plainSpinnerClick(*this, &TForm1::UpDown6);
}
void TForm1::UpDown7Click() {
    offBoxSpinnerClick(*this, TemperatureAlarm);
}
void TForm1::UpDown8Click() {
    offBoxSpinnerClick(*this, MotorVoltageAlarm);
}
void TForm1::UpDown9Click() {
    image().announcementStep = CheckBox4->isChecked() ? UpDown9->position() : 0;
    ShowAnnouncementStep(image().announcementStep);
    storeByte13(image());
}
void TForm1::UpDown10Click() {
    plainSpinnerClick(*this, &TForm1::UpDown10);
}
void TForm1::UpDown11Click() {
    capacityClick(*this);
}
void TForm1::UpDown12Click() {
    offBoxSpinnerClick(*this, CapacityAlarm);
}

void TForm1::RadioButton1Click() {
    radioClick(&TForm1::RadioButton1);
}
void TForm1::RadioButton2Click() {
    radioClick(&TForm1::RadioButton2);
}
void TForm1::RadioButton3Click() {
    radioClick(&TForm1::RadioButton3);
}
void TForm1::RadioButton4Click() {
    radioClick(&TForm1::RadioButton4);
}
void TForm1::RadioButton5Click() {
    radioClick(&TForm1::RadioButton5);
}
void TForm1::RadioButton6Click() {
    radioClick(&TForm1::RadioButton6);
}
void TForm1::RadioButton7Click() {
    radioClick(&TForm1::RadioButton7);
}
void TForm1::RadioButton8Click() {
    radioClick(&TForm1::RadioButton8);
}
void TForm1::RadioButton9Click() {
    radioClick(&TForm1::RadioButton9);
}
void TForm1::RadioButton10Click() {
    radioClick(&TForm1::RadioButton10);
}
void TForm1::RadioButton11Click() {
    // Operation without current sensor switches the motor-battery alarm off.
    radioClick(&TForm1::RadioButton11);
    switchOffAlarm(*this, MotorVoltageAlarm);
}
void TForm1::RadioButton12Click() {
    radioClick(&TForm1::RadioButton12);
}
void TForm1::RadioButton13Click() {
    radioClick(&TForm1::RadioButton13);
}
void TForm1::RadioButton14Click() {
    radioClick(&TForm1::RadioButton14);
}
void TForm1::RadioButton15Click() {
    radioClick(&TForm1::RadioButton15);
}
void TForm1::RadioButton16Click() {
    radioClick(&TForm1::RadioButton16);
}
void TForm1::RadioButton17Click() {
    radioClick(&TForm1::RadioButton17);
}
void TForm1::RadioButton18Click() {
    radioClick(&TForm1::RadioButton18);
}
void TForm1::RadioButton19Click() {
    radioClick(&TForm1::RadioButton19);
}
void TForm1::RadioButton20Click() {
    // Pitot operation switches the temperature alarm off (so does RadioButton28).
    radioClick(&TForm1::RadioButton20);
    switchOffAlarm(*this, TemperatureAlarm);
}
void TForm1::RadioButton21Click() {
    image().valueMode = 1;
    storeByte13(image());
}
void TForm1::RadioButton22Click() {
    image().valueMode = 2;
    storeByte13(image());
}
void TForm1::RadioButton23Click() {
    radioClick(&TForm1::RadioButton23);
}
void TForm1::RadioButton24Click() {
    radioClick(&TForm1::RadioButton24);
}
void TForm1::RadioButton25Click() {
    radioClick(&TForm1::RadioButton25);
}
void TForm1::RadioButton26Click() {
    radioClick(&TForm1::RadioButton26);
}
void TForm1::RadioButton27Click() {
    radioClick(&TForm1::RadioButton27);
}
void TForm1::RadioButton28Click() {
    radioClick(&TForm1::RadioButton28);
    switchOffAlarm(*this, TemperatureAlarm);
}
void TForm1::RadioButton29Click() {
    radioClick(&TForm1::RadioButton29);
}
void TForm1::RadioButton30Click() {
    radioClick(&TForm1::RadioButton30);
}
void TForm1::RadioButton31Click() {
    radioClick(&TForm1::RadioButton31);
}
void TForm1::RadioButton32Click() {
    radioClick(&TForm1::RadioButton32);
}
void TForm1::RadioButton33Click() {
    radioClick(&TForm1::RadioButton33);
}

void TForm1::CheckBox1Click() {
    if (CheckBox1->isChecked()) {
        image()[3] = NoIntervalAnnouncement;
        Memo5->clear();
        return;
    }
    image()[3] = IntervalAfterClearing;
    UpDown4->setPosition(IntervalAfterClearing);
    Memo5->setText(wholeNumberText(IntervalAfterClearing));
}
void TForm1::CheckBox2Click() {
    offBoxClick(*this, TemperatureAlarm);
}
void TForm1::CheckBox3Click() {
    offBoxClick(*this, MotorVoltageAlarm);
}
void TForm1::CheckBox4Click() {
    image().announcementStep = CheckBox4->isChecked() ? UpDown9->position() : 0;
    ShowAnnouncementStep(image().announcementStep);
    storeByte13(image());
}
void TForm1::CheckBox5Click() {
    offBoxClick(*this, CapacityAlarm);
}
void TForm1::CheckBox6Click() {
    capacityClick(*this);
}

void TForm1::Setupladen1Click() {
    const QString path = dialogs().runFileDialog(OpenDialog2);
    if (path.isEmpty())
        return;
    const auto loaded = loadSetupFile(image(), path);
    if (!loaded) {
        showFailure(loaded.failure());
        return;
    }
    if (!isValidSetupLength(*loaded)) {
        dialogs().information(this, QString::fromUtf8("Keine gültige Altorin Setup-Datei!"));
        LoadDefaultSetup(image());
    }
    ShowSetupImage();
}

void TForm1::Setupspeichern1Click() {
    // Proposed before every run; only the folder of the answer counts.
    const QString name = QLatin1String(SetupFileName);
    SaveDialog2->selectFile(name);
    SaveDialog2->setProperty("fileName", name);
    const QString path = dialogs().runFileDialog(SaveDialog2);
    if (path.isEmpty())
        return;
    if (const auto failure = saveSetupFile(image(), QFileInfo(path).absolutePath()))
        showFailure(*failure);
}

void TForm1::SetupGrundeinstellung1Click() {
    LoadDefaultSetup(image());
    ShowSetupImage();
}
