#include "app/ui/fitcaption.h"

#include <QFont>
#include <QVariant>
#include <QWidget>
#include <algorithm>

namespace {
constexpr const char* LayoutWidth = "layoutWidth";
constexpr int FrameMargin = 4;
// How far a caption may be narrowed before the rest is left to the tooltip:
// below this the letters get hard to read.
constexpr int NarrowestStretch = 80;

void setStretch(QWidget* control, int stretch) {
    QFont font = control->font();
    font.setStretch(stretch);
    control->setFont(font);
}
} // namespace

void fitCaption(QWidget* control) {
    QVariant layoutWidth = control->property(LayoutWidth);
    if (!layoutWidth.isValid()) {
        layoutWidth = control->width();
        control->setProperty(LayoutWidth, layoutWidth);
    }
    int room = QWIDGETSIZE_MAX;
    if (QWidget* parent = control->parentWidget())
        room = parent->width() - control->x() - FrameMargin;
    // A caption wider than its frame (the substitute face, English texts) is
    // narrowed step by step; what still does not fit shows in full as tooltip.
    setStretch(control, QFont::AnyStretch);
    for (int stretch = 95; control->sizeHint().width() > room && stretch >= NarrowestStretch;
         stretch -= 5)
        setStretch(control, stretch);
    const bool clipped = control->sizeHint().width() > room;
    control->setToolTip(clipped ? control->property("text").toString() : QString());
    control->resize(std::max(layoutWidth.toInt(), std::min(control->sizeHint().width(), room)),
                    control->height());
}
