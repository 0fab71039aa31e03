#include "app/ui/tupdown.h"

#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {
int toPosition16(int value) {
    return std::clamp(value, -32768, 32767);
}
} // namespace

TUpDown::TUpDown(QWidget* parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QToolButton* button : {m_up, m_down}) {
        button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
        button->setAutoRepeat(true);
        button->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(button);
    }
    m_up->setArrowType(Qt::UpArrow);
    m_down->setArrowType(Qt::DownArrow);
    m_up->setObjectName(QStringLiteral("up"));
    m_down->setObjectName(QStringLiteral("down"));
    connect(m_up, &QToolButton::clicked, this, [this] { step(btNext); });
    connect(m_down, &QToolButton::clicked, this, [this] { step(btPrev); });
}

void TUpDown::setRange(int min, int max) {
    m_min = toPosition16(min);
    m_max = toPosition16(max);
    m_position = clamp(m_position);
}

void TUpDown::setPosition(int position) {
    m_position = clamp(position);
}

int TUpDown::clamp(int value) const {
    return std::clamp(toPosition16(value), std::min(m_min, m_max), std::max(m_min, m_max));
}

void TUpDown::step(TUDBtnType button) {
    // Up heads for Max and down for Min, whichever of the two is larger.
    const int towardsMax = m_max >= m_min ? 1 : -1;
    const int direction = button == btNext ? towardsMax : -towardsMax;
    const int next = clamp(m_position + direction * m_increment);
    if (next == m_position)
        return;
    m_position = next;
    emit clicked(button);
}
