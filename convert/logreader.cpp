#include "convert/logreader.h"

#include <QFile>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr size_t BufferSize = 64 * 1024;
constexpr char CtrlZ = 26;
} // namespace

LogReader::~LogReader() {
    if (m_fd >= 0)
        ::close(m_fd);
}

std::optional<Failure> LogReader::open(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    m_fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        return lastFileFailure();
    if (::fstat(m_fd, &m_status) != 0)
        return lastFileFailure();
    if (S_ISDIR(m_status.st_mode))
        return Failure{fileErrorText(EISDIR)};
    m_buffer.resize(BufferSize);
    return std::nullopt;
}

bool LogReader::fill() {
    for (;;) {
        const ssize_t n = ::read(m_fd, m_buffer.data(), m_buffer.size());
        if (n > 0) {
            m_pos = 0;
            m_end = size_t(n);
            return true;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            m_failure = lastFileFailure();
        m_atEnd = true;
        return false;
    }
}

bool LogReader::readLine(std::string& line) {
    line.clear();
    if (m_atEnd)
        return false;
    bool consumed = false;
    for (;;) {
        if (m_pos == m_end && !fill())
            break;
        const char* data = m_buffer.data();
        size_t i = m_pos;
        // Copy runs of ordinary bytes at once; stop at LF, CR or Ctrl-Z.
        while (i < m_end) {
            const char c = data[i];
            if (c == '\n' || c == '\r' || c == CtrlZ)
                break;
            ++i;
        }
        line.append(data + m_pos, i - m_pos);
        consumed = consumed || i > m_pos;
        m_pos = i;
        if (i == m_end)
            continue;
        const char c = data[i];
        ++m_pos;
        if (c == '\n') {
            ++m_lineNumber;
            return true;
        }
        if (c == CtrlZ) {
            m_atEnd = true;
            break;
        }
        consumed = true; // a CR: dropped, the line goes on
    }
    if (m_failure)
        return false;
    // Text after the last LF is a line of its own.
    if (consumed) {
        ++m_lineNumber;
        return true;
    }
    return false;
}
