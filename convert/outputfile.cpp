#include "convert/outputfile.h"

#include <QFile>
#include <cerrno>

namespace {

// errno is not always left by Qt's calls; fall back on Qt's error class.
Failure fileFailure(const QFileDevice& file, int savedErrno) {
    if (savedErrno != 0)
        return Failure{fileErrorText(savedErrno)};
    switch (file.error()) {
    case QFileDevice::PermissionsError:
    case QFileDevice::OpenError:
        return Failure{fileErrorText(EACCES)};
    default:
        return Failure{fileErrorText(EIO)};
    }
}

} // namespace

std::optional<Failure> OutputFile::open(const QString& path, const struct stat& log) {
    struct stat target {};
    if (::stat(QFile::encodeName(path).constData(), &target) == 0 && target.st_dev == log.st_dev &&
        target.st_ino == log.st_ino)
        return Failure{fileErrorText(EACCES)};
    m_file.setFileName(path);
    errno = 0;
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fileFailure(m_file, errno);
    return std::nullopt;
}

std::optional<Failure> OutputFile::writeText() {
    const char* data = m_text.data();
    qint64 left = qint64(m_text.size());
    while (left > 0) {
        errno = 0;
        const qint64 n = m_file.write(data, left);
        if (n <= 0) {
            const int saved = errno;
            m_file.cancelWriting();
            return fileFailure(m_file, saved);
        }
        data += n;
        left -= n;
    }
    m_text.clear();
    return std::nullopt;
}

std::optional<Failure> OutputFile::commit() {
    if (auto failure = writeText())
        return failure;
    errno = 0;
    if (!m_file.commit())
        return fileFailure(m_file, errno);
    return std::nullopt;
}
