#pragma once

#include "flight/replaydriver.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QSlider;
class QToolButton;

// The replay's controls under the plots: play and pause, the speed, and a
// slider over the flight's time that follows the cursor. While the replay
// plays the bar moves the cursor by cursorMoved, frame by frame; the cursor
// set elsewhere (a click on a plot or the track) comes back by setCursorTime,
// and the replay goes on from there.
class ReplayBar : public QWidget {
    Q_OBJECT

  public:
    ReplayBar(double from, double to, Replay::Clock clock = Replay::steadyClock(),
              QWidget* parent = nullptr);

    void setLanguage(qint32 language);
    void setCursorTime(double time);

    ReplayDriver* driver() const { return m_driver; }
    QToolButton* playButton() const { return m_play; }
    QComboBox* speedBox() const { return m_speed; }
    QSlider* slider() const { return m_slider; }

  signals:
    void cursorMoved(double time);

  private:
    void showPlaying(bool playing);
    void showOnSlider(double time);
    void sliderMoved(int value);

    double m_from;
    qint32 m_language = 0;
    ReplayDriver* m_driver;
    QToolButton* m_play;
    QLabel* m_speedCaption;
    QComboBox* m_speed;
    QSlider* m_slider;
};
