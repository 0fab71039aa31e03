#include "flight/replaydriver.h"

ReplayDriver::ReplayDriver(double from, double to, Replay::Clock clock, QObject* parent)
    : QObject(parent), m_replay(from, to, std::move(clock)) {
    m_timer.setInterval(FrameMs);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &ReplayDriver::frame);
}

void ReplayDriver::followState(bool wasPlaying) {
    const bool playing = m_replay.playing();
    if (playing && !m_timer.isActive())
        m_timer.start();
    else if (!playing)
        m_timer.stop();
    if (playing != wasPlaying)
        emit playingChanged(playing);
}

void ReplayDriver::play() {
    const bool was = playing();
    m_replay.play();
    emit cursorMoved(m_replay.position()); // played from the end: back at the start
    followState(was);
}

void ReplayDriver::pause() {
    const bool was = playing();
    m_replay.pause();
    followState(was);
}

void ReplayDriver::toggle() {
    if (playing())
        pause();
    else
        play();
}

bool ReplayDriver::setSpeed(int speed) {
    const bool was = playing();
    const bool set = m_replay.setSpeed(speed);
    followState(was);
    return set;
}

void ReplayDriver::seek(double time) {
    // The caller has moved the cursor already: no echo.
    m_replay.seek(time);
}

void ReplayDriver::pauseAt(std::optional<double> time) {
    const bool was = playing();
    m_replay.pauseAt(time);
    followState(was);
}

void ReplayDriver::frame() {
    const bool was = playing();
    const double time = m_replay.position();
    emit cursorMoved(time);
    followState(was);
}
