#include "log/logreader.h"

#include <QFile>
#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {
constexpr size_t BufferSize = 64 * 1024;
// Bytes after the buffer that a scan may read (and ignore).
constexpr size_t ChunkSlack = 16;
constexpr char CtrlZ = 26;
// Lines up to this length are kept whole.
constexpr size_t LongLine = 64 * 1024;
// No Data line holds more ';' than this.
constexpr int MostSemicolons = 16;

// The first LF, CR or Ctrl-Z in [begin, end), or end. The buffer holds
// ChunkSlack readable bytes after `end`.
const char* findLineByte(const char* begin, const char* end) {
#if defined(__SSE2__)
    for (const char* p = begin; p < end; p += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        unsigned mask = unsigned(
            _mm_movemask_epi8(_mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(chunk, _mm_set1_epi8('\n')),
                                                        _mm_cmpeq_epi8(chunk, _mm_set1_epi8('\r'))),
                                           _mm_cmpeq_epi8(chunk, _mm_set1_epi8(CtrlZ)))));
        if (end - p < 16)
            mask &= (1u << (end - p)) - 1;
        if (mask != 0)
            return p + std::countr_zero(mask);
    }
    return end;
#else
    const char* p = begin;
    while (p < end && *p != '\n' && *p != '\r' && *p != CtrlZ)
        ++p;
    return p;
#endif
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
    m_buffer.resize(BufferSize + ChunkSlack);
    return std::nullopt;
}

void LogReader::open(const LogFileBytes& file) {
    m_status = file.status;
    m_bytes = file.bytes.data();
    m_bytesLeft = size_t(file.bytes.size());
    m_buffer.resize(BufferSize + ChunkSlack);
}

bool LogReader::fill() {
    if (m_fd < 0) {
        // From memory in the blocks a file gives, so that lines come out the same.
        const size_t n = std::min(m_bytesLeft, BufferSize);
        if (n == 0) {
            m_atEnd = true;
            return false;
        }
        std::memcpy(m_buffer.data(), m_bytes, n);
        m_bytes += n;
        m_bytesLeft -= n;
        m_pos = 0;
        m_end = n;
        return true;
    }
    for (;;) {
        const ssize_t n = ::read(m_fd, m_buffer.data(), BufferSize);
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
    line.append(begin, size_t(end - begin));
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
        const char* stop = findLineByte(begin, end);
        append(line, begin, stop);
        consumed = consumed || stop > begin;
        m_pos = size_t(stop - m_buffer.data());
        if (stop == end)
            continue;
        if (*stop == CtrlZ) {
            m_atEnd = true;
            break;
        }
        consumed = true;
        ++m_pos;
        // CR LF, the usual line end, in one step.
        if (*stop == '\r' && m_pos < m_end && stop[1] == '\n') {
            ++m_pos;
            ++m_lineNumber;
            return true;
        }
        if (*stop == '\n') {
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
