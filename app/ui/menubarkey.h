#pragma once

class QMainWindow;

// F10 opens the window's first menu, as on other desktops; the arrow keys
// then walk the menu bar and the items. The captions stay as they are: no
// accelerator letters are added.
void installMenuBarKey(QMainWindow* window);
