#pragma once

class QWidget;

// Widens a label, radio button or check box so its whole caption shows, but
// never beyond its group's frame and never below the width of the layout. The
// substitute face and the English captions can be wider than the form's.
void fitCaption(QWidget* control);
