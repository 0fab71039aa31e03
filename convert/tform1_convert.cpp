#include "app/programstate.h"
#include "app/tform1.h"
#include "app/ui/dialogs.h"
#include "convert/conversion.h"

#include <QFileInfo>
#include <QLocale>
#include <functional>

namespace {

using Conversion = std::function<ConversionResult(const QString& log, const FirmwareVariant&)>;

// The sequence all five commands share: choose the log, convert it with the
// firmware variant selected now, then report the output or the failure.
void runConversionCommand(TForm1* window, const Conversion& convert, bool withLogDate) {
    const QString log = dialogs().runFileDialog(window->OpenDialog1);
    if (log.isEmpty())
        return;
    const ConversionResult result = convert(log, programState().firmware);
    if (result.failure) {
        window->showFailure(*result.failure);
        return;
    }
    QString text = QStringLiteral("Fertig mit Konvertierung nach:") + QLatin1Char('\r') +
                   QFileInfo(result.outputPath).fileName();
    if (withLogDate)
        text += QLatin1Char('\r') + QLocale().toString(result.logDate, QLocale::ShortFormat);
    dialogs().information(window, text);
}

} // namespace

void TForm1::nachKML2D1Click() {
    runConversionCommand(
        this,
        [](const QString& log, const FirmwareVariant& fw) {
            return ConvertToKml(log, false, false, fw);
        },
        false);
}

void TForm1::nachKML3DmitGPSHhe1Click() {
    runConversionCommand(
        this,
        [](const QString& log, const FirmwareVariant& fw) {
            return ConvertToKml(log, true, true, fw);
        },
        false);
}

void TForm1::nachKML3D1Click() {
    runConversionCommand(
        this,
        [](const QString& log, const FirmwareVariant& fw) {
            return ConvertToKml(log, true, false, fw);
        },
        false);
}

void TForm1::nachGPX1Click() {
    runConversionCommand(this, ConvertToGpx, true);
}

void TForm1::frTrakmond1Click() {
    runConversionCommand(this, ConvertToTrakmond, false);
}
