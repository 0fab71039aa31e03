#pragma once

#include "core/result.h"

#include <QByteArrayView>
#include <QString>
#include <optional>
#include <string>
#include <sys/stat.h>

// A log file's bytes read whole, with the file's status: the reader gives
// from them what it gives from the file, so that what was read once (to hash
// it, to copy it) is not read again to parse it.
struct LogFileBytes {
    QByteArrayView bytes;
    struct stat status {};
};

// Reads a log file line by line with one line in memory: LF ends a line, every
// CR is dropped (before LF and alone), Ctrl-Z ends the file. Plain POSIX reads,
// so a failing call leaves its errno for the message.
//
// A long line that holds a NUL after its first three bytes keeps only the ';'
// bytes after that NUL: field splitting ends at a NUL (also once the plotter
// export has cut the first three bytes), so only the Data line test still
// looks there. A zero-filled stretch of a card image then costs no memory.
class LogReader {
  public:
    LogReader() = default;
    LogReader(const LogReader&) = delete;
    LogReader& operator=(const LogReader&) = delete;
    ~LogReader();

    Status open(const QString& path);
    // Reads the bytes (which outlive the reader) instead of a file.
    void open(const LogFileBytes& file);
    // The next line into `line`; false at the end of the file or on a read
    // error (then failure() tells).
    bool readLine(std::string& line);
    const Status& failure() const { return m_failure; }
    // 1-based number of the line last read.
    qint64 lineNumber() const { return m_lineNumber; }
    // The open file's status (modification time, device and inode).
    const struct stat& status() const { return m_status; }

  private:
    bool fill();
    void append(std::string& line, const char* begin, const char* end);
    void dropTextAfterNul(std::string& line);

    int m_fd = -1;
    // The bytes not yet read, when reading from memory.
    const char* m_bytes = nullptr;
    size_t m_bytesLeft = 0;
    struct stat m_status {};
    std::string m_buffer;
    size_t m_pos = 0;
    size_t m_end = 0;
    bool m_atEnd = false;
    // Of the line being read: how far it was searched for a NUL, and how many
    // ';' it kept after one (-1: none found yet).
    size_t m_nulSearched = 0;
    int m_semicolonsAfterNul = -1;
    qint64 m_lineNumber = 0;
    Status m_failure;
};
