#include "app/tform1.h"
#include "app/ui/dialogs.h"
#include "core/programstate.h"
#include "flight/flightlog.h"
#include "flight/ui/flightview.h"
#include "log/datalines.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QMimeData>

namespace {

// The local files among dropped items; folders and remote items are left out.
QStringList droppedFiles(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && !QFileInfo(url.toLocalFile()).isDir())
            files << url.toLocalFile();
    return files;
}

// Why a log that was read has nothing to show: no line of the selected
// layout (most likely the wrong firmware), or none that could be read. The
// firmware is named by the caption of its menu item.
QString nothingToShowText(const FlightLog& log, const QString& firmwareCaption) {
    const QString name = QFileInfo(log.path).fileName();
    if (wrongFirmwareLikely(log.dataLines, log.otherLayoutLines))
        return QStringLiteral("%1: keine Datenzeilen für die gewählte Firmware (%2), %3. Firmware "
                              "im Menue >Einstellungen< anpassen.")
            .arg(name, firmwareCaption, otherLayoutText(log.firmware.otherLayout()));
    if (log.dataLines == 0)
        return QStringLiteral("%1: keine Datenzeilen für die gewählte Firmware (%2)")
            .arg(name, firmwareCaption);
    return QStringLiteral("%1: keine lesbare Datenzeile (%2 übersprungen, erste: Zeile %3)")
        .arg(name)
        .arg(log.skippedLines)
        .arg(log.firstSkippedLine);
}

} // namespace

FlightView* TForm1::OpenFlightView(const QStringList& logPaths) {
    std::vector<FlightLog> logs;
    for (const QString& path : logPaths) {
        Result<FlightLog> read = readFlightLog(path, programState().firmware);
        if (!read) {
            const Failure& failure = read.failure();
            showFailure({failure.kind,
                         QFileInfo(path).fileName() + QStringLiteral(": ") + failure.message});
        } else if (read->empty()) {
            showFailure(
                {FailureKind::WrongFirmware, nothingToShowText(*read, firmwareMenuItem()->text())});
        } else {
            logs.push_back(std::move(read).value());
        }
    }
    if (logs.empty())
        return nullptr;
    auto* view = new FlightView(this, std::move(logs));
    view->show();
    return view;
}

void TForm1::OpenLogsOfCommandLine(const QStringList& arguments) {
    if (arguments.size() > 1)
        OpenFlightView(arguments.mid(1));
}

// Asks for logs with the conversions' open dialog, which here takes several.
void TForm1::Flugansehen1Click() {
    const QFileDialog::FileMode mode = OpenDialog1->fileMode();
    OpenDialog1->setFileMode(QFileDialog::ExistingFiles);
    const QStringList logs = dialogs().runFilesDialog(OpenDialog1);
    OpenDialog1->setFileMode(mode);
    if (!logs.isEmpty())
        OpenFlightView(logs);
}

void TForm1::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
    const QStringList logs = droppedFiles(event->mimeData());
    if (logs.isEmpty())
        return;
    event->acceptProposedAction();
    OpenFlightView(logs);
}
