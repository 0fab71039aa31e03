#include "app/tform1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("AltorinTool"));
    // Lets the desktop match the window to its installed entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.altorintool.AltorinTool"));
    TForm1 form;
    form.show();
    form.OpenLogsOfCommandLine(QApplication::arguments());
    return QApplication::exec();
}
