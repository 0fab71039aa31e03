#include "app/ui/tupdown.h"

#include <QKeyEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cstdlib>

namespace {

int toPosition16(int value) {
    return std::clamp(value, -32768, 32767);
}

// A frame in the highlight colour over the arrows, also after a click (the
// styles draw their own focus rectangle only after keyboard use); mouse
// clicks pass through to the arrows.
class FocusFrame final : public QWidget {
  public:
    explicit FocusFrame(QWidget* parent) : QWidget(parent) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        hide();
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
};

// One notch of a common mouse wheel.
constexpr int WheelStep = 120;

} // namespace

TUpDown::TUpDown(QWidget* parent)
    : QWidget(parent), m_up(new QToolButton(this)), m_down(new QToolButton(this)),
      m_focusFrame(new FocusFrame(this)) {
    setFocusPolicy(Qt::WheelFocus);
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

void TUpDown::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Up)
        step(btNext);
    else if (event->key() == Qt::Key_Down)
        step(btPrev);
    else
        QWidget::keyPressEvent(event);
}

void TUpDown::wheelEvent(QWheelEvent* event) {
    // Fine-grained wheels send parts of a notch; a step needs a whole one.
    m_wheelAngle += event->angleDelta().y();
    while (std::abs(m_wheelAngle) >= WheelStep) {
        step(m_wheelAngle > 0 ? btNext : btPrev);
        m_wheelAngle -= m_wheelAngle > 0 ? WheelStep : -WheelStep;
    }
    event->accept();
}

void TUpDown::focusInEvent(QFocusEvent* event) {
    m_focusFrame->raise();
    m_focusFrame->show();
    QWidget::focusInEvent(event);
}

void TUpDown::focusOutEvent(QFocusEvent* event) {
    m_focusFrame->hide();
    m_wheelAngle = 0;
    QWidget::focusOutEvent(event);
}

void TUpDown::resizeEvent(QResizeEvent* event) {
    m_focusFrame->setGeometry(rect());
    QWidget::resizeEvent(event);
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
