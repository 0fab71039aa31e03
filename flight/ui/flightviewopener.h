#pragma once

#include "core/programstate.h"
#include "core/result.h"

#include <QObject>
#include <QStringList>

class FlightView;
class QMimeData;
class QWidget;
struct ConversionFormat;

// The firmware menu item's caption as it is built (German) for the variant.
QString firmwareCaptionOf(const FirmwareVariant& firmware);

// Opens flight views over a window: reads the logs, reports each one that
// cannot be shown and passes on what the views ask of the window.
class FlightViewOpener : public QObject {
    Q_OBJECT

  public:
    // The views open over `window`, which also parents this opener.
    explicit FlightViewOpener(QWidget* window);

    // Reads the logs with the firmware variant (named in messages by its
    // German caption) and shows those with samples in one view; nullptr when
    // none could be shown. `names`, one per path when given, are what the
    // view and its messages call the logs in place of their file names (a
    // kept copy's name is only its hash).
    FlightView* open(const QStringList& logPaths, const FirmwareVariant& firmware,
                     const QStringList& names = {});

    // The local files among dropped items; folders and remote items are left out.
    static QStringList droppedFiles(const QMimeData* data);

  signals:
    // Each to be reported in a box over `window`: the main window for a log
    // that cannot be shown, the view that asked for the rest.
    void failed(const Failure& failure, QWidget* window);
    void convertRequested(const ConversionFormat& format, const QString& logPath, QWidget* window);

  private:
    QWidget* m_window;
};
