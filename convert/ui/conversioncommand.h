#pragma once

#include <QObject>
#include <functional>

struct ConversionFormat;
class QAction;
class QFileDialog;
class QWidget;

// Runs a conversion with the firmware variant selected now and reports the
// output or the failure in boxes over the window the pilot works in: the main
// window for its menu commands, the flight view for its own.
class ConversionCommand : public QObject {
    Q_OBJECT

  public:
    // firmwareCaption gives the caption the firmware menu item of the variant
    // in force shows now, for the box about a log of the other firmware.
    ConversionCommand(QWidget* window, std::function<QString()> firmwareCaption);

    void run(const ConversionFormat& format, const QString& logPath, QWidget* messageParent) const;
    // A conversion menu item: asks for the log in the open dialog first.
    void runMenuItem(const QAction* item, QFileDialog* openDialog) const;

  private:
    QWidget* m_window;
    std::function<QString()> m_firmwareCaption;
};
