#include "logbook/logbookimporter.h"

#include <QThread>

LogbookImporter::LogbookImporter(QString folder, QObject* parent)
    : QObject(parent), m_folder(std::move(folder)) {}

LogbookImporter::~LogbookImporter() {
    if (m_thread) {
        m_stop = true;
        m_thread->wait();
        delete m_thread;
    }
}

bool LogbookImporter::busy() const {
    return m_thread != nullptr;
}

bool LogbookImporter::start(const QStringList& paths, const ImportOptions& options) {
    if (m_thread)
        return false;
    m_stop = false;
    m_thread = QThread::create([this, paths, options] {
        ImportReport report;
        auto logbook = Logbook::open(m_folder);
        if (!logbook) {
            // Nothing can be kept: every log is reported with the reason.
            for (const QString& path : Logbook::logsNamedBy(paths))
                report.count({path, ImportOutcome::Failed, 0, logbook.failure().message});
        } else {
            report = (*logbook)->importLogs(paths, options,
                                            [this](const ImportedLog& log, int done, int total) {
                                                emit progress(log, done, total);
                                                return !m_stop.load();
                                            });
        }
        emit finished(report);
    });
    // The thread is done once its last signal is queued; `busy` ends with it.
    connect(m_thread, &QThread::finished, this, [this] {
        if (m_thread && m_thread->isFinished()) {
            m_thread->deleteLater();
            m_thread = nullptr;
        }
    });
    m_thread->start();
    return true;
}

void LogbookImporter::stop() {
    m_stop = true;
}
