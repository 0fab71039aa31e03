#pragma once

#include <array>
#include <functional>
#include <optional>

// The replay of a flight: a cursor that runs along the log's time axis at a
// chosen speed, played and paused. The time it runs by comes from a clock
// given to it (seconds, never going back), so that tests need no real time; a
// window asks for the position at each frame.
class Replay {
  public:
    using Clock = std::function<double()>;
    static constexpr std::array<int, 6> Speeds{1, 2, 4, 8, 16, 64};

    // The axis times from..to (s); the cursor starts at `from`, paused, at 1x.
    Replay(double from, double to, Clock clock = steadyClock());

    // The monotonic clock of the machine, in seconds.
    static Clock steadyClock();

    double from() const { return m_from; }
    double to() const { return m_to; }
    bool playing() const { return m_playing; }
    int speed() const { return m_speed; }

    // Plays on from the cursor; from the start when it stands at the end.
    void play();
    void pause();
    void toggle();
    // One of Speeds; false (and nothing changed) for another.
    bool setSpeed(int speed);
    // Moves the cursor (kept within from..to); playing goes on from there.
    void seek(double time);
    // Pauses when the cursor reaches `time` (once); nothing: no such stop.
    void pauseAt(std::optional<double> time);

    // The cursor now. Playing, it has moved by the clock's time since the
    // last change times the speed; reaching the end or the asked stop it
    // pauses there.
    double position();

  private:
    double clockPosition() const;

    double m_from, m_to;
    Clock m_clock;
    bool m_playing = false;
    int m_speed = 1;
    // The cursor at the last change, and the clock's time then.
    double m_anchor;
    double m_anchorClock = 0;
    std::optional<double> m_stop;
};
