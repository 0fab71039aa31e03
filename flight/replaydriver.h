#pragma once

#include "flight/replay.h"

#include <QObject>
#include <QTimer>

// Runs a replay in frames: while it plays, a timer asks for the cursor 50
// times a second and hands it on; reaching the end or the asked stop, it
// stops the timer. The window connects its controls to it and moves its
// cursor by cursorMoved.
class ReplayDriver : public QObject {
    Q_OBJECT

  public:
    static constexpr int FrameMs = 20;

    ReplayDriver(double from, double to, Replay::Clock clock = Replay::steadyClock(),
                 QObject* parent = nullptr);

    const Replay& replay() const { return m_replay; }
    bool playing() const { return m_replay.playing(); }
    bool framesRunning() const { return m_timer.isActive(); }

    void play();
    void pause();
    void toggle();
    bool setSpeed(int speed);
    // The cursor set by the pilot (the slider, a click): the replay goes on
    // from there; not handed back by cursorMoved.
    void seek(double time);
    void pauseAt(std::optional<double> time);
    // One frame: what the timer runs.
    void frame();

  signals:
    void cursorMoved(double time);
    void playingChanged(bool playing);

  private:
    void followState(bool wasPlaying);

    Replay m_replay;
    QTimer m_timer;
};
