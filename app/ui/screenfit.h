#pragma once

class QWidget;

// Moves a top-level window inside the available area of the screen it stands
// on, shrinking it to that area where the screen is smaller (see
// placeInside). A window that fits is left exactly as it is.
void fitIntoScreen(QWidget* window);
