#pragma once

#include "logbook/logbook.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>

class QThread;

// Imports logs into the logbook of a folder on a worker thread, with a
// Logbook of its own there (one per thread), so that a window stays
// responsive. The signals arrive in the thread this object lives in.
class LogbookImporter : public QObject {
    Q_OBJECT

  public:
    explicit LogbookImporter(QString folder, QObject* parent = nullptr);
    // Stops a running import between two logs and waits for it.
    ~LogbookImporter() override;

    bool busy() const;
    // Starts an import on a worker thread; false when one runs already.
    bool start(const QStringList& paths, const ImportOptions& options);
    void stop(); // stops between two logs

  signals:
    void progress(const ImportedLog& log, int done, int total);
    void finished(const ImportReport& report);

  private:
    QString m_folder;
    QThread* m_thread = nullptr;
    std::atomic<bool> m_stop{false};
};
