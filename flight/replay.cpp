#include "flight/replay.h"

#include <algorithm>
#include <chrono>
#include <cmath>

Replay::Replay(double from, double to, Clock clock)
    : m_from(from), m_to(std::max(from, to)), m_clock(std::move(clock)), m_anchor(from) {}

Replay::Clock Replay::steadyClock() {
    return [] {
        using namespace std::chrono;
        return duration<double>(steady_clock::now().time_since_epoch()).count();
    };
}

double Replay::clockPosition() const {
    if (!m_playing)
        return m_anchor;
    return m_anchor + (m_clock() - m_anchorClock) * m_speed;
}

double Replay::position() {
    if (!m_playing)
        return m_anchor;
    const double now = clockPosition();
    // A stop behind the cursor (set while it stood past it) is never reached.
    const double stop = m_stop && *m_stop >= m_anchor ? std::min(*m_stop, m_to) : m_to;
    if (now < stop)
        return now;
    if (m_stop && stop == *m_stop)
        m_stop.reset();
    m_anchor = stop;
    m_playing = false;
    return m_anchor;
}

void Replay::play() {
    if (m_playing)
        return;
    if (m_anchor >= m_to)
        m_anchor = m_from;
    m_anchorClock = m_clock();
    m_playing = true;
}

void Replay::pause() {
    m_anchor = position();
    m_playing = false;
}

void Replay::toggle() {
    if (m_playing)
        pause();
    else
        play();
}

bool Replay::setSpeed(int speed) {
    if (std::find(Speeds.begin(), Speeds.end(), speed) == Speeds.end())
        return false;
    // The cursor goes on from where it is, not from where the old speed began.
    m_anchor = position();
    m_anchorClock = m_clock();
    m_speed = speed;
    return true;
}

void Replay::seek(double time) {
    if (std::isnan(time))
        return;
    m_anchor = std::clamp(time, m_from, m_to);
    m_anchorClock = m_clock();
}

void Replay::pauseAt(std::optional<double> time) {
    m_anchor = position();
    m_anchorClock = m_clock();
    m_stop = time;
}
