#include "app/ui/menubarkey.h"

#include <QAction>
#include <QMainWindow>
#include <QMenuBar>
#include <QShortcut>

void installMenuBarKey(QMainWindow* window) {
    auto* shortcut = new QShortcut(QKeySequence(Qt::Key_F10), window);
    shortcut->setObjectName(QStringLiteral("menuBarKey"));
    QObject::connect(shortcut, &QShortcut::activated, window, [window] {
        QMenuBar* bar = window->menuBar();
        for (QAction* menu : bar->actions())
            if (menu->isVisible() && menu->isEnabled()) {
                bar->setActiveAction(menu);
                return;
            }
    });
}
