#pragma once

#include <QRect>

// Where a window opens within the available area of its screen: a window
// that lies inside stays exactly as it is; one partly or wholly outside is
// moved inside, keeping its size; one larger than the area is made as large
// as the area, so that none of its controls is out of reach.
QRect placeInside(const QRect& window, const QRect& area);
