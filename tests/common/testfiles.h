#pragma once

// File bytes for tests, header-only so that core and window tests share it.
#include <QByteArray>
#include <QFile>
#include <QString>

inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<cannot read ") + QFile::encodeName(path) + '>';
    return file.readAll();
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

#include <csignal>
#include <sys/resource.h>

// While alive, writes past `bytes` fail (EFBIG) instead of raising SIGXFSZ:
// a way to make a write stop half-way, as on a full disk.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) : m_handler(std::signal(SIGXFSZ, SIG_IGN)) {
        m_active = getrlimit(RLIMIT_FSIZE, &m_saved) == 0;
        rlimit small = m_saved;
        small.rlim_cur = bytes;
        m_active = m_active && setrlimit(RLIMIT_FSIZE, &small) == 0;
    }
    ~FileSizeLimit() {
        if (m_active)
            setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_handler);
    }
    bool active() const { return m_active; }

  private:
    rlimit m_saved{};
    bool m_active = false;
    void (*m_handler)(int);
};
