#include "convert/logreader.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
constexpr size_t BufferSize = 64 * 1024;
constexpr char CtrlZ = 26;
// Lines up to this length are kept whole.
constexpr size_t LongLine = 64 * 1024;
// No Data line holds more ';' than this.
constexpr int MostSemicolons = 16;

// Appends bytes to the line without their CRs (a CR never ends a line).
void appendWithoutCr(std::string& line, const char* begin, const char* end) {
    while (begin < end) {
        const auto* cr = static_cast<const char*>(std::memchr(begin, '\r', size_t(end - begin)));
        const char* stop = cr ? cr : end;
        line.append(begin, size_t(stop - begin));
        begin = cr ? cr + 1 : end;
    }
}

} // namespace

LogReader::~LogReader() {
    if (m_fd >= 0)
        ::close(m_fd);
}

Status LogReader::open(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    m_fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0)
        return lastFileFailure();
    if (::fstat(m_fd, &m_status) != 0)
        return lastFileFailure();
    if (S_ISDIR(m_status.st_mode))
        return fileFailure(EISDIR);
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

void LogReader::append(std::string& line, const char* begin, const char* end) {
    if (m_semicolonsAfterNul >= 0) {
        // Enough ';' to fail the Data line test whatever came before the NUL.
        for (; begin < end && m_semicolonsAfterNul <= MostSemicolons; ++m_semicolonsAfterNul) {
            begin = static_cast<const char*>(std::memchr(begin, ';', size_t(end - begin)));
            if (!begin)
                return;
            ++begin;
            line += ';';
        }
        return;
    }
    appendWithoutCr(line, begin, end);
    if (line.size() > LongLine)
        dropTextAfterNul(line);
}

void LogReader::dropTextAfterNul(std::string& line) {
    const size_t nul = line.find('\0', std::max<size_t>(m_nulSearched, 3));
    m_nulSearched = line.size();
    if (nul == std::string::npos)
        return;
    const std::string after = line.substr(nul + 1);
    line.resize(nul + 1);
    m_semicolonsAfterNul = 0;
    append(line, after.data(), after.data() + after.size());
}

bool LogReader::readLine(std::string& line) {
    line.clear();
    m_nulSearched = 0;
    m_semicolonsAfterNul = -1;
    if (m_atEnd)
        return false;
    bool consumed = false;
    for (;;) {
        if (m_pos == m_end && !fill())
            break;
        const char* begin = m_buffer.data() + m_pos;
        const char* end = m_buffer.data() + m_end;
        const auto* lf = static_cast<const char*>(std::memchr(begin, '\n', size_t(end - begin)));
        const char* stop = lf ? lf : end;
        const auto* ctrlZ =
            static_cast<const char*>(std::memchr(begin, CtrlZ, size_t(stop - begin)));
        if (ctrlZ) {
            append(line, begin, ctrlZ);
            consumed = consumed || ctrlZ > begin;
            m_atEnd = true;
            break;
        }
        append(line, begin, stop);
        consumed = consumed || stop > begin;
        m_pos = size_t(stop - m_buffer.data());
        if (lf) {
            ++m_pos;
            ++m_lineNumber;
            return true;
        }
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
