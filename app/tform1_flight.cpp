#include "app/tform1.h"
#include "app/ui/dialogs.h"
#include "core/programstate.h"
#include "flight/ui/flightview.h"
#include "flight/ui/flightviewopener.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>

FlightViewOpener* TForm1::flightViews() {
    if (!m_flightViews) {
        m_flightViews = new FlightViewOpener(this);
        connect(m_flightViews, &FlightViewOpener::failed, this,
                [](const Failure& failure, QWidget* window) {
                    dialogs().error(window, failure.message);
                });
        connect(m_flightViews, &FlightViewOpener::convertRequested, this,
                &TForm1::ConvertAndReport);
    }
    return m_flightViews;
}

FlightView* TForm1::OpenFlightView(const QStringList& logPaths) {
    return flightViews()->open(logPaths, programState().firmware);
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
    if (!FlightViewOpener::droppedFiles(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TForm1::dropEvent(QDropEvent* event) {
    const QStringList logs = FlightViewOpener::droppedFiles(event->mimeData());
    if (logs.isEmpty())
        return;
    event->acceptProposedAction();
    OpenFlightView(logs);
}
