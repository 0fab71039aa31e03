#include "convert/ui/conversioncommand.h"
#include "app/ui/dialogs.h"
#include "convert/conversions.h"
#include "core/programstate.h"

#include <QAction>
#include <QFileInfo>
#include <QLocale>
#include <QWidget>

namespace {

// The row of a conversion menu item, found by the item's object name.
const ConversionFormat& formatOf(const QAction* item) {
    for (const ConversionFormat& format : conversionFormats())
        if (item->objectName() == QLatin1String(format.menuItem))
            return format;
    Q_UNREACHABLE();
}

} // namespace

ConversionCommand::ConversionCommand(QWidget* window, std::function<QString()> firmwareCaption)
    : QObject(window), m_window(window), m_firmwareCaption(std::move(firmwareCaption)) {
    setObjectName(QStringLiteral("conversionCommand"));
}

void ConversionCommand::run(const ConversionFormat& format, const QString& logPath,
                            QWidget* messageParent) const {
    const Result<Conversion> result = format.convert(logPath, programState().firmware);
    if (!result) {
        dialogs().error(messageParent, conversionFailureText(result.failure()));
        return;
    }
    QString text = QStringLiteral("Fertig mit Konvertierung nach:") + QLatin1Char('\r') +
                   QFileInfo(result->outputPath).fileName();
    if (format.reportsLogDate)
        text += QLatin1Char('\r') + QLocale().toString(result->logDate, QLocale::ShortFormat);
    dialogs().information(messageParent, text);
    // The track is empty because the log is of the other firmware: say which
    // variant is chosen, by the caption its menu item shows now.
    if (result->wrongFirmware())
        dialogs().information(messageParent,
                              wrongFirmwareText(*result) +
                                  QStringLiteral(", eingestellt ist %1. Firmware im Menue "
                                                 ">Einstellungen< anpassen.")
                                      .arg(m_firmwareCaption()));
}

// The sequence all five menu commands share: choose the log, convert it,
// report over the main window.
void ConversionCommand::runMenuItem(const QAction* item, QFileDialog* openDialog) const {
    const QString log = dialogs().runFileDialog(openDialog);
    if (log.isEmpty())
        return;
    run(formatOf(item), log, m_window);
}
