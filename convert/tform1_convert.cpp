#include "app/tform1.h"
#include "app/ui/dialogs.h"
#include "convert/conversions.h"
#include "core/programstate.h"

#include <QAction>
#include <QFileInfo>
#include <QLocale>

namespace {

// The row of a conversion menu item, found by the item's object name.
const ConversionFormat& formatOf(const QAction* item) {
    for (const ConversionFormat& format : conversionFormats())
        if (item->objectName() == QLatin1String(format.menuItem))
            return format;
    Q_UNREACHABLE();
}

} // namespace

void TForm1::ConvertAndReport(const ConversionFormat& format, const QString& logPath) {
    const Result<Conversion> result = format.convert(logPath, programState().firmware);
    if (!result) {
        showFailure({result.failure().kind, conversionFailureText(result.failure())});
        return;
    }
    QString text = QStringLiteral("Fertig mit Konvertierung nach:") + QLatin1Char('\r') +
                   QFileInfo(result->outputPath).fileName();
    if (format.reportsLogDate)
        text += QLatin1Char('\r') + QLocale().toString(result->logDate, QLocale::ShortFormat);
    dialogs().information(this, text);
    // The track is empty because the log is of the other firmware: say which
    // variant is chosen, by the caption its menu item shows now.
    if (result->wrongFirmware())
        dialogs().information(this, wrongFirmwareText(*result) +
                                        QStringLiteral(", eingestellt ist %1. Firmware im Menue "
                                                       ">Einstellungen< anpassen.")
                                            .arg(firmwareMenuItem()->text()));
}

const QAction* TForm1::firmwareMenuItem() const {
    return findChild<QAction*>(QLatin1String(firmwareRowOf(programState().firmware).menuItem));
}

// The sequence all five commands share: choose the log, convert it with the
// firmware variant selected now, then report the output or the failure.
void TForm1::runConversionCommand(const QAction* item) {
    const QString log = dialogs().runFileDialog(OpenDialog1);
    if (log.isEmpty())
        return;
    ConvertAndReport(formatOf(item), log);
}

void TForm1::nachKML2D1Click() {
    runConversionCommand(nachKML2D1);
}

void TForm1::nachKML3DmitGPSHhe1Click() {
    runConversionCommand(nachKML3DmitGPSHhe1);
}

void TForm1::nachKML3D1Click() {
    runConversionCommand(nachKML3D1);
}

void TForm1::nachGPX1Click() {
    runConversionCommand(nachGMX1);
}

void TForm1::frTrakmond1Click() {
    runConversionCommand(frTrakmond1);
}
