#include "flight/ui/flightviewopener.h"

#include "core/firmwaretable.h"
#include "flight/flightlog.h"
#include "flight/ui/flightview.h"
#include "i18n/captiontables.h"
#include "log/datalines.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace {

// Why a log that was read has nothing to show: no line of the selected
// layout (most likely the wrong firmware), or none that could be read. The
// firmware is named by its German caption, as the messages are German.
QString nothingToShowText(const FlightLog& log, const QString& firmwareCaption) {
    const QString name = log.name;
    if (wrongFirmwareLikely(log.dataLines, log.otherLayoutLines))
        return QStringLiteral("%1: keine Datenzeilen für die gewählte Firmware (%2), %3. Firmware "
                              "im Menue >Einstellungen< anpassen.")
            .arg(name, firmwareCaption, otherLayoutText(log.firmware.otherLayout()));
    // Read with the layout it has: a log without a line of either (the
    // device switched on and off) has nothing to do with the firmware.
    if (log.dataLines == 0)
        return QStringLiteral("%1: keine Datenzeile").arg(name);
    return QStringLiteral("%1: keine lesbare Datenzeile (%2 übersprungen, erste: Zeile %3)")
        .arg(name)
        .arg(log.skippedLines)
        .arg(log.firstSkippedLine);
}

} // namespace

QString firmwareCaptionOf(const FirmwareVariant& firmware) {
    return designCaption(firmwareRowOf(firmware).menuItem);
}

FlightViewOpener::FlightViewOpener(QWidget* window) : QObject(window), m_window(window) {}

FlightView* FlightViewOpener::open(const QStringList& logPaths, const FirmwareVariant& firmware,
                                   const QStringList& names) {
    const QString firmwareCaption = firmwareCaptionOf(firmware);
    std::vector<FlightLog> logs;
    for (qsizetype i = 0; i < logPaths.size(); ++i) {
        const QString& path = logPaths[i];
        const QString name =
            i < names.size() && !names[i].isEmpty() ? names[i] : QFileInfo(path).fileName();
        Result<FlightLog> read = readFlightLogFitting(path, firmware);
        if (read)
            read->name = name;
        if (!read) {
            const Failure& failure = read.failure();
            emit failed({failure.kind, name + QStringLiteral(": ") + failure.message}, m_window);
        } else if (read->empty()) {
            emit failed({FailureKind::WrongFirmware, nothingToShowText(*read, firmwareCaption)},
                        m_window);
        } else {
            logs.push_back(std::move(read).value());
        }
    }
    if (logs.empty())
        return nullptr;
    std::vector<QString> readAs;
    for (const FlightLog& log : logs)
        readAs.push_back(log.firmware == firmware ? QString() : firmwareCaptionOf(log.firmware));
    auto* view = new FlightView(m_window, std::move(logs), std::move(readAs));
    connect(view, &FlightView::failed, this,
            [this, view](const Failure& failure) { emit failed(failure, view); });
    connect(view, &FlightView::convertRequested, this,
            [this, view](const ConversionFormat& format, const QString& logPath) {
                emit convertRequested(format, logPath, view);
            });
    view->show();
    return view;
}

QStringList FlightViewOpener::droppedFiles(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && !QFileInfo(url.toLocalFile()).isDir())
            files << url.toLocalFile();
    return files;
}
