#include "app/tform1.h"
#include "flight/ui/flightviewopener.h"
#include "logbook/logbook.h"
#include "logbook/ui/logbookwindow.h"

// One logbook window: a second click raises the one that is open.
void TForm1::Flugbuch1Click() {
    if (m_logbookWindow) {
        m_logbookWindow->showNormal();
        m_logbookWindow->raise();
        m_logbookWindow->activateWindow();
        return;
    }
    m_logbookWindow = LogbookWindow::openOn(this, Logbook::defaultFolder());
    if (!m_logbookWindow)
        return;
    // The copies are read as the entry's firmware, whatever the menu says.
    connect(m_logbookWindow, &LogbookWindow::openRequested, this,
            [this](const QStringList& logs, const FirmwareVariant& firmware,
                   const QStringList& names) { flightViews()->open(logs, firmware, names); });
}
