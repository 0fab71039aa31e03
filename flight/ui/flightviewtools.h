#pragma once

#include "flight/replay.h"

#include <QObject>
#include <cstddef>

class FlightView;
class LandingPlaceBox;
class ReplayBar;
class ThermalList;

// The replay bar, the thermal list and the landing place of a flight view,
// wired to it through its public cursor and range: the replay moves the
// cursor (panning the plots when it runs out of their range), a thermal
// chosen in the list brings it into view with the cursor at its start. The
// view places the widgets and tells of cursor moves, the chosen log and the
// language.
class FlightViewTools : public QObject {
    Q_OBJECT

  public:
    // Over the view's whole time, from..to (s on its axis).
    FlightViewTools(FlightView* view, double from, double to,
                    Replay::Clock clock = Replay::steadyClock());

    ReplayBar* replayBar() const { return m_replay; }
    ThermalList* thermalList() const { return m_thermals; }
    LandingPlaceBox* landingPlace() const { return m_landing; }

    void cursorChanged(double time);
    void logChanged(size_t log);
    void setLanguage(qint32 language);

  private:
    void replayMoved(double time);
    void showThermal(size_t thermal);
    double shiftOf(size_t log) const;

    FlightView* m_view;
    ReplayBar* m_replay;
    ThermalList* m_thermals;
    LandingPlaceBox* m_landing;
    size_t m_log = 0;
    bool m_moving = false; // the cursor is being moved from here
};
