#include "flight/ui/replaybar.h"

#include "i18n/viewcaptions.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QToolButton>
#include <cmath>

ReplayBar::ReplayBar(double from, double to, Replay::Clock clock, QWidget* parent)
    : QWidget(parent), m_from(from), m_driver(new ReplayDriver(from, to, std::move(clock), this)),
      m_play(new QToolButton(this)), m_speedCaption(new QLabel(this)), m_speed(new QComboBox(this)),
      m_slider(new QSlider(Qt::Horizontal, this)) {
    m_play->setObjectName(QStringLiteral("replayPlayButton"));
    m_speed->setObjectName(QStringLiteral("replaySpeedBox"));
    m_slider->setObjectName(QStringLiteral("replaySlider"));
    m_play->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    for (int speed : Replay::Speeds)
        m_speed->addItem(QStringLiteral("%1×").arg(speed), speed);
    // Whole seconds from the start: fine enough to place the cursor by hand.
    m_slider->setRange(0, int(std::ceil(to - from)));
    m_slider->setPageStep(std::max(1, m_slider->maximum() / 20));

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_play);
    row->addWidget(m_speedCaption);
    row->addWidget(m_speed);
    row->addWidget(m_slider, 1);

    connect(m_play, &QToolButton::clicked, m_driver, &ReplayDriver::toggle);
    connect(m_speed, &QComboBox::currentIndexChanged, this,
            [this](int index) { m_driver->setSpeed(m_speed->itemData(index).toInt()); });
    connect(m_slider, &QSlider::valueChanged, this, &ReplayBar::sliderMoved);
    connect(m_driver, &ReplayDriver::playingChanged, this, &ReplayBar::showPlaying);
    connect(m_driver, &ReplayDriver::cursorMoved, this, [this](double time) {
        showOnSlider(time);
        emit cursorMoved(time);
    });
    setLanguage(0);
}

void ReplayBar::setLanguage(qint32 language) {
    m_language = language;
    m_speedCaption->setText(viewText(ViewText::ReplaySpeed, language));
    m_slider->setToolTip(viewText(ViewText::ReplayPosition, language));
    showPlaying(m_driver->playing());
}

void ReplayBar::setCursorTime(double time) {
    if (std::isnan(time))
        return;
    m_driver->seek(time);
    showOnSlider(time);
}

void ReplayBar::showPlaying(bool playing) {
    m_play->setText(viewText(playing ? ViewText::Pause : ViewText::Play, m_language));
    m_play->setIcon(style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
}

void ReplayBar::showOnSlider(double time) {
    const QSignalBlocker quiet(m_slider);
    m_slider->setValue(int(std::lround(time - m_from)));
}

void ReplayBar::sliderMoved(int value) {
    const double time = m_from + value;
    m_driver->seek(time);
    emit cursorMoved(time);
}
