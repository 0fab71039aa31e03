// The flight view's captions, in the language the main window shows: set when
// the view is built and again whenever it is told the language changed.
#include "core/programstate.h"
#include "flight/ui/flightexports.h"
#include "flight/ui/flightplots.h"
#include "flight/ui/flightview.h"
#include "flight/ui/flightviewtools.h"
#include "flight/ui/sidecolumn.h"
#include "flight/ui/summarytable.h"
#include "flight/ui/trackview.h"

#include <QCheckBox>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>

void FlightView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        retranslate();
    QWidget::changeEvent(event);
}

void FlightView::retranslate() {
    const qint32 language = programState().language;
    if (language == m_language)
        return;
    m_language = language;
    auto text = [language](ViewText t) { return viewText(t, language); };
    QStringList names;
    for (const FlightLog& log : logs())
        names << log.name;
    setWindowTitle(text(ViewText::Title) + QStringLiteral(" – ") +
                   names.join(QStringLiteral(", ")));
    m_showAll->setText(text(ViewText::ShowAll));
    for (int q = 0; q < FlightViewState::PlottedCount; ++q)
        m_shows[q]->setText(text(FlightViewState::quantities()[q].caption));
    m_convert->setText(text(ViewText::Convert));
    updateConvertButton();
    for (size_t e = 0; e < std::size(Exports); ++e)
        m_exports[e]->setText(text(Exports[e].caption));
    m_trackCaption->setText(text(ViewText::Track));
    m_track->setLanguage(language);
    m_viewTools->setLanguage(language);
    m_side->setLanguage(language);
    m_plots->retranslate(language);

    m_summaryTable->setLanguage(language);

    QStringList notes;
    for (size_t log = 0; log < logs().size(); ++log) {
        const FlightLog& flight = logs()[log];
        QStringList parts;
        // Messages are German, as the firmware's caption is.
        if (!m_readAs[log].isEmpty())
            parts << QStringLiteral("gelesen als %1").arg(m_readAs[log]);
        if (flight.skippedLines > 0)
            parts << text(ViewText::Skipped).arg(flight.skippedLines).arg(flight.firstSkippedLine);
        if (parts.isEmpty())
            continue;
        const QString note = parts.join(QStringLiteral(", "));
        notes << (m_state.several() ? names[int(log)] + QStringLiteral(": ") + note : note);
    }
    m_skippedNote->setText(notes.join(QLatin1Char('\n')));
    m_skippedNote->setVisible(!notes.isEmpty());
    updateReadout();
}
