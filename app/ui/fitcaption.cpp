#include "app/ui/fitcaption.h"

#include <QVariant>
#include <QWidget>
#include <algorithm>

namespace {
constexpr const char* LayoutWidth = "layoutWidth";
constexpr int FrameMargin = 4;
} // namespace

void fitCaption(QWidget* control) {
    QVariant layoutWidth = control->property(LayoutWidth);
    if (!layoutWidth.isValid()) {
        layoutWidth = control->width();
        control->setProperty(LayoutWidth, layoutWidth);
    }
    int limit = control->sizeHint().width();
    if (QWidget* parent = control->parentWidget())
        limit = std::min(limit, parent->width() - control->x() - FrameMargin);
    control->resize(std::max(layoutWidth.toInt(), limit), control->height());
}
