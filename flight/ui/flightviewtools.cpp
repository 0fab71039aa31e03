#include "flight/ui/flightviewtools.h"

#include "flight/ui/flightview.h"
#include "flight/ui/landingplacebox.h"
#include "flight/ui/replaybar.h"
#include "flight/ui/thermallist.h"

FlightViewTools::FlightViewTools(FlightView* view, double from, double to, Replay::Clock clock)
    : QObject(view), m_view(view), m_replay(new ReplayBar(from, to, std::move(clock), view)),
      m_thermals(new ThermalList(view)), m_landing(new LandingPlaceBox(view)) {
    m_replay->setObjectName(QStringLiteral("replayBar"));
    m_thermals->setObjectName(QStringLiteral("thermalList"));
    m_landing->setObjectName(QStringLiteral("landingPlaceBox"));
    connect(m_replay, &ReplayBar::cursorMoved, this, &FlightViewTools::replayMoved);
    connect(m_thermals, &ThermalList::thermalChosen, this, &FlightViewTools::showThermal);
}

double FlightViewTools::shiftOf(size_t log) const {
    return m_view->state().shiftOf(log);
}

void FlightViewTools::cursorChanged(double time) {
    if (!m_moving)
        m_replay->setCursorTime(time);
}

void FlightViewTools::logChanged(size_t log) {
    if (log >= m_view->summaries().size())
        return;
    m_log = log;
    const FlightSummary& summary = m_view->summaries()[log];
    m_thermals->setFlight(&summary);
    m_landing->setPlace(summary.landing);
}

void FlightViewTools::setLanguage(qint32 language) {
    m_replay->setLanguage(language);
    m_thermals->setLanguage(language);
    m_landing->setLanguage(language);
}

void FlightViewTools::replayMoved(double time) {
    // Out of the zoomed range the plots turn the page, as wide as before.
    const double width = m_view->to() - m_view->from();
    if (time < m_view->from() || time > m_view->to())
        m_view->setRange(time - width * 0.1, time + width * 0.9);
    m_moving = true;
    m_view->setCursorTime(time);
    m_moving = false;
}

void FlightViewTools::showThermal(size_t thermal) {
    const auto& thermals = m_view->summaries()[m_log].thermals;
    if (thermal >= thermals.size())
        return;
    const double start = thermals[thermal].start + shiftOf(m_log);
    const double end = start + thermals[thermal].duration;
    const double width = m_view->to() - m_view->from();
    if (start < m_view->from() || end > m_view->to()) {
        // The whole thermal in view with a margin, or centred when the range is wider.
        const double margin = thermals[thermal].duration * 0.1;
        if (end - start + 2 * margin > width)
            m_view->setRange(start - margin, end + margin);
        else
            m_view->setRange((start + end - width) / 2, (start + end + width) / 2);
    }
    m_view->setCursorTime(start);
}
