#include "logbook/logbookimporter.h"

#include <QThread>
#include <utility>

LogbookImporter::LogbookImporter(QString folder, QObject* parent)
    : QObject(parent), m_folder(std::move(folder)) {
    qRegisterMetaType<ImportedLog>();
    qRegisterMetaType<ImportReport>();
}

LogbookImporter::~LogbookImporter() {
    // Closing the window mid-import: the log at hand is committed whole,
    // then the worker's logbook is closed before this object goes.
    m_stop = true;
    endThread();
}

void LogbookImporter::endThread() {
    if (!m_thread)
        return;
    m_thread->wait();
    m_thread.reset();
}

bool LogbookImporter::start(const QStringList& paths, const ImportOptions& options) {
    if (m_busy)
        return false;
    // A worker whose end was delivered is at most returning from run().
    endThread();
    m_busy = true;
    m_stop = false;
    // A thread of our own rather than the global pool's: the database
    // connection must be opened, used and removed on one thread, the
    // destructor must be able to wait for exactly this import, and an import
    // of a whole card must not hold one of the pool's few threads (two cores)
    // that the window's other background work shares.
    m_thread.reset(QThread::create([this, paths, options] { run(paths, options); }));
    m_thread->setObjectName(QStringLiteral("logbook import"));
    m_thread->start();
    return true;
}

void LogbookImporter::stop() {
    m_stop = true;
}

// On the worker thread. Every report is posted to this object's thread and
// emitted there, so that no receiver ever runs on the worker.
void LogbookImporter::run(const QStringList& paths, const ImportOptions& options) {
    const auto report = [this](const ImportedLog& log, int done, int total) {
        QMetaObject::invokeMethod(
            this, [this, log, done, total] { emit progress(log, done, total); },
            Qt::QueuedConnection);
    };
    ImportReport result;
    if (m_stop) {
        result.stopped = true; // stopped before it began: nothing read
    } else {
        // The logbook lives in this block only: its folder lock and its
        // connection are released before the end is heard, so the window may
        // open the logbook or import again at once.
        auto logbook = Logbook::open(m_folder);
        if (logbook) {
            result = (*logbook)->importLogs(
                paths, options, [this, &report](const ImportedLog& log, int done, int total) {
                    report(log, done, total);
                    return !m_stop;
                });
        } else {
            // Told per log, as any failed log is: none of them was kept.
            const QStringList logs = Logbook::logsNamedBy(paths);
            for (const QString& path : logs) {
                result.count({path, ImportOutcome::Failed, 0, logbook.failure().message});
                report(result.logs.back(), int(result.logs.size()), int(logs.size()));
            }
        }
    }
    QMetaObject::invokeMethod(
        this,
        [this, result = std::move(result)] {
            m_busy = false;
            emit finished(result);
        },
        Qt::QueuedConnection);
}
