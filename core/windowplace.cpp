#include "core/windowplace.h"

#include <algorithm>

QRect placeInside(const QRect& window, const QRect& area) {
    if (area.isEmpty() || area.contains(window))
        return window;
    const QSize size = window.size().boundedTo(area.size());
    const int left = std::clamp(window.left(), area.left(), area.right() - size.width() + 1);
    const int top = std::clamp(window.top(), area.top(), area.bottom() - size.height() + 1);
    return QRect(QPoint(left, top), size);
}
