#pragma once

#include "logbook/logbook.h"

#include <QMetaType>
#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>

class QThread;

// Imports logs into the logbook of a folder on a thread of its own, so that
// the window stays free while a card is read. Each log is reported as it is
// done and the whole import at its end, both on the importer's own thread
// whatever the connection. A logbook that cannot be opened (damaged, foreign
// file, no access) fails every log the paths name, each with the reason.
// Use from the thread the importer belongs to; stop() from any thread.
class LogbookImporter : public QObject {
    Q_OBJECT

  public:
    explicit LogbookImporter(QString folder, QObject* parent = nullptr);
    // Stops a running import after the log at hand and waits for it.
    ~LogbookImporter() override;

    QString folder() const { return m_folder; }
    // From start() until finished is delivered.
    bool busy() const { return m_busy; }
    // Starts an import on a worker thread; false when one runs already.
    bool start(const QStringList& paths, const ImportOptions& options);
    // Stops before the next log; the log at hand is finished, never cut.
    void stop();

  signals:
    // After each log: `done` of `total` logs, in the order of the report.
    void progress(const ImportedLog& log, int done, int total);
    // Once per start(), after the last progress; busy() is false by then,
    // and the worker's logbook is closed.
    void finished(const ImportReport& report);

  private:
    void run(const QStringList& paths, const ImportOptions& options);
    void endThread();

    QString m_folder;
    bool m_busy = false;
    std::atomic<bool> m_stop = false;
    std::unique_ptr<QThread> m_thread;
};

Q_DECLARE_METATYPE(ImportedLog)
Q_DECLARE_METATYPE(ImportReport)
