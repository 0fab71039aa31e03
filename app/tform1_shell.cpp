#include "app/tform1.h"
#include "app/ui/dialogs.h"
#include "app/ui/screenfit.h"
#include "app/ui/tupdown.h"
#include "core/firmwaretable.h"
#include "core/programstate.h"
#include "core/settingsfile.h"
#include "setup/setupmodel.h"

#include <QAction>
#include <QCheckBox>
#include <QMenuBar>
#include <QScrollArea>
#include <QShowEvent>
#include <QStyle>
#include <optional>

namespace {

// Credits line and address of the info box: the tool's own, no maker's.
const char* const CreditsLine = "Freie Software";
const char* const ProjectAddress = "https://example.org/altorintool";

// "Altorin Tool " from the form stays for any variant not in the table.
std::optional<QString> variantTitle(const FirmwareVariant& firmware) {
    const FirmwareRow* row = titleRowOf(firmware);
    if (!row)
        return std::nullopt;
    return QStringLiteral("AltorinTool ") + QLatin1String(VersionText) +
           QString::fromUtf8(row->titleSuffix);
}

void setVariantTitle(TForm1& form) {
    if (const auto title = variantTitle(programState().firmware))
        form.setWindowTitle(*title);
}

QString firmwareReminder(const FirmwareVariant& firmware) {
    return QStringLiteral("Wichtig: Das AltorinTool muss die korrekte Firmware des Variometers "
                          "kennen!\r\rGewählt ist:         Altorin ") +
           firmware.duoText() + QString::number(firmware.version) +
           QStringLiteral("x\r\rFirmware-Version gegebenenfalls im Menue >Einstellungen< "
                          "angepasst werden!");
}

// The controls that firmware up to V407x does not have (the setup table says which).
void setLateFirmwareControlsVisible(TForm1& form, bool visible) {
    for (const QString& name : lateFirmwareControls())
        form.findChild<QWidget*>(name)->setVisible(visible);
}

} // namespace

void TForm1::FormCreate() {
    ProgramState& state = programState();
    state.firmware = FirmwareVariant{407, 0};
    state.language = 0;
    LoadToolSettings();
    if (state.language == 1)
        ApplyEnglishCaptions();
    LoadDefaultSetup(state.image);
    ShowSetupImage();
    setVariantTitle(*this);
    dialogs().information(this, firmwareReminder(state.firmware));
    if (state.firmware.lacksLateSetups()) {
        // RadioButton29 too: firmware 407 knows no fourth option of setup 5.
        setLateFirmwareControlsVisible(*this, false);
        fitImageToFirmware(state.image, state.firmware);
    }
}

void TForm1::LoadToolSettings() {
    ProgramState& state = programState();
    ToolSettings current{
        y(), x(), width(), height(), state.firmware.version, state.firmware.duo, state.language};
    const ToolSettings read = readToolSettings(current);
    move(read.left, read.top);
    resize(read.width, read.height);
    // A place or size that does not fit the screen (a file from a larger one,
    // a typed value) would leave controls out of reach.
    fitToScreen();
    state.firmware = read.firmware();
    state.language = read.language;
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        fitToScreen();
}

// Moved and cut to the screen. A window cut lower than its setups scrolls
// them up and down; that scroll bar must not take the width they need, or
// they would scroll sideways too: such a window grows by the bar where the
// screen has room. A size that fits is kept as it is.
void TForm1::fitToScreen() {
    const QSize before = size();
    fitIntoScreen(this);
    auto* scroll = qobject_cast<QScrollArea*>(centralWidget());
    if (size() == before || !scroll || !scroll->widget())
        return;
    const QSize canvas = scroll->widget()->size();
    const int below = menuBar() ? menuBar()->sizeHint().height() : 0;
    if (canvas.height() <= height() - below)
        return;
    const int wanted = canvas.width() + 2 * scroll->frameWidth() +
                       scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll);
    if (width() >= wanted)
        return;
    resize(wanted, height());
    fitIntoScreen(this);
}

Status TForm1::SaveToolSettings() {
    const ProgramState& state = programState();
    return writeToolSettings(ToolSettings{y(), x(), width(), height(), state.firmware.version,
                                          state.firmware.duo, state.language});
}

void TForm1::showFailure(const Failure& failure) {
    dialogs().error(this, failure.message);
}

void TForm1::Proframmbeenden1Click() {
    if (const auto failure = SaveToolSettings()) {
        showFailure(*failure);
        return;
    }
    close();
}

void TForm1::Info1Click() {
    dialogs().information(
        this, QStringLiteral("AltorinTool für Norwen Variometer QZ Altorin\r") +
                  QLatin1String(VersionText) +
                  QStringLiteral("\rZur Setup-Erstellung und Konvertierung der Logger-Daten\r") +
                  QLatin1String(CreditsLine) + QStringLiteral("\rDownload unter User Info bei ") +
                  QLatin1String(ProjectAddress));
}

// Steps shared by the three firmware commands; false when the settings could
// not be written, which ends the command with the old title and controls.
bool TForm1::beginFirmwareCommand(qint32 version, qint32 duo) {
    ProgramState& state = programState();
    state.firmware = FirmwareVariant{version, duo};
    LoadDefaultSetup(state.image);
    if (const auto failure = SaveToolSettings()) {
        showFailure(*failure);
        return false;
    }
    setVariantTitle(*this);
    return true;
}

void TForm1::bisV407x1Click() {
    if (!beginFirmwareCommand(407, 0))
        return;
    setLateFirmwareControlsVisible(*this, false);
    fitImageToFirmware(programState().image, programState().firmware);
    // The reset image on every control, so that what the window shows is what
    // the next save writes. Byte 13 holds the value mode alone now, so showing
    // it keeps the value mode, and a tick of the hidden CheckBox4 goes away.
    ShowSetupImage();
}

void TForm1::abV408x1Click() {
    if (beginFirmwareCommand(500, 0))
        showLateFirmwareSetups();
}

void TForm1::Duo_ab50xClick() {
    if (beginFirmwareCommand(500, 1))
        showLateFirmwareSetups();
}

void TForm1::showLateFirmwareSetups() {
    SetupImage& image = programState().image;
    setLateFirmwareControlsVisible(*this, true);
    storeByte13(image);
    CheckBox4->setChecked(false); // its handler switches the additional announcement off
    // As for "bis V. 407x": show the whole reset image (setups 16 to 18 with
    // it); byte 13 was rebuilt from the value mode, so the value mode survives.
    ShowSetupImage();
}

const QAction* TForm1::firmwareMenuItem() const {
    return findChild<QAction*>(QLatin1String(firmwareRowOf(programState().firmware).menuItem));
}
