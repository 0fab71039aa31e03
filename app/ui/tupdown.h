#pragma once

#include <QWidget>

class QFocusEvent;
class QKeyEvent;
class QResizeEvent;
class QToolButton;
class QWheelEvent;

// A vertical pair of arrow buttons without an edit field. The position is a
// 16-bit value within Min..Max; the up arrow moves towards Max, the down arrow
// towards Min, also when Min lies above Max. No wrap-around. It takes the
// keyboard focus: the Up and Down keys and the mouse wheel act as clicks on
// the arrows.
class TUpDown : public QWidget {
    Q_OBJECT

  public:
    enum TUDBtnType { btNext, btPrev }; // up arrow, down arrow

    explicit TUpDown(QWidget* parent = nullptr);

    int min() const { return m_min; }
    int max() const { return m_max; }
    int increment() const { return m_increment; }
    int position() const { return m_position; }
    void setRange(int min, int max);
    void setIncrement(int increment) { m_increment = increment; }
    // A position outside the range stops at its nearer end. Runs no handler.
    void setPosition(int position);

    QToolButton* upButton() const { return m_up; }
    QToolButton* downButton() const { return m_down; }

  signals:
    // After a user click that changed the position.
    void clicked(TUpDown::TUDBtnType button);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void step(TUDBtnType button);
    int clamp(int value) const;

    int m_min = 0;
    int m_max = 100;
    int m_increment = 1;
    int m_position = 0;
    QToolButton* m_up;
    QToolButton* m_down;
    QWidget* m_focusFrame; // over the arrows, shown only while focused
    int m_wheelAngle = 0;  // wheel turn not yet worth a step (1/8 degree)
};
