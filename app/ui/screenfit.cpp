#include "app/ui/screenfit.h"
#include "core/windowplace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

// The screen holding the window's centre; else the one it overlaps most
// (a window wholly off every screen: the primary one).
QScreen* screenOf(const QRect& frame) {
    if (QScreen* screen = QGuiApplication::screenAt(frame.center()))
        return screen;
    QScreen* best = QGuiApplication::primaryScreen();
    qint64 bestOverlap = 0;
    for (QScreen* screen : QGuiApplication::screens()) {
        const QRect overlap = screen->geometry().intersected(frame);
        const qint64 area = qint64(overlap.width()) * overlap.height();
        if (area > bestOverlap) {
            bestOverlap = area;
            best = screen;
        }
    }
    return best;
}

} // namespace

void fitIntoScreen(QWidget* window) {
    // The frame, where the window system has given one, must fit as well.
    const QRect frame = window->frameGeometry();
    const QScreen* screen = screenOf(frame);
    if (!screen)
        return;
    const QRect placed = placeInside(frame, screen->availableGeometry());
    if (placed == frame)
        return;
    const QSize frameExtra = frame.size() - window->size();
    window->move(placed.topLeft());
    window->resize(placed.size() - frameExtra);
}
