#include "core/atomicfile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

AtomicFile::AtomicFile(const QString& path) : m_file(path) {}

Status AtomicFile::open() {
    // A write-protected target stays. Asked with the effective rights, which
    // the writes use; the platform library asks with the real user's, which
    // lets a process that gave up its override rights replace the file.
    if (::faccessat(AT_FDCWD, QFile::encodeName(m_file.fileName()).constData(), W_OK, AT_EACCESS) !=
            0 &&
        errno == EACCES)
        return failure(EACCES);
    errno = 0;
    // Unbuffered: a buffered QSaveFile loses a short write (a full disk, a size
    // limit) in its final flush and commits the truncated file as if all went well.
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failure(errno);
    return std::nullopt;
}

Status AtomicFile::write(const char* data, qint64 size) {
    while (size > 0) {
        errno = 0;
        const qint64 n = m_file.write(data, size);
        if (n <= 0) {
            const int saved = errno;
            m_file.cancelWriting();
            m_file.commit(); // only removes the temporary file
            return failure(saved);
        }
        data += n;
        size -= n;
        m_written += n;
    }
    // commit() waits until every byte is on disk: start the disk on these now,
    // so that a large file is mostly written by then.
    if (m_file.handle() >= 0 && m_written - m_synced >= SyncBlock) {
        ::sync_file_range(m_file.handle(), m_synced, m_written - m_synced, SYNC_FILE_RANGE_WRITE);
        m_synced = m_written;
    }
    return std::nullopt;
}

Status AtomicFile::commit() {
    errno = 0;
    if (!m_file.commit())
        return failure(errno);
    return std::nullopt;
}

Failure AtomicFile::failure(int savedErrno) const {
    if (savedErrno != 0)
        return fileFailure(savedErrno);
    // Qt refuses a folder, and a write-protected target, without an errno; the
    // platform reports a denied access for both.
    const QFileInfo target(m_file.fileName());
    if (target.isDir() || (target.exists() && !target.isWritable()))
        return fileFailure(EACCES);
    switch (m_file.error()) {
    case QFileDevice::PermissionsError:
    case QFileDevice::OpenError:
        return fileFailure(EACCES);
    default:
        return fileFailure(EIO);
    }
}

Status writeFileAtomically(const QString& path, const QByteArray& bytes) {
    AtomicFile file(path);
    if (auto failure = file.open())
        return failure;
    if (auto failure = file.write(bytes.constData(), bytes.size()))
        return failure;
    return file.commit();
}
