#pragma once

#include "app/failure.h"

#include <QString>
#include <optional>
#include <string>
#include <sys/stat.h>

// Reads a log file line by line with one line in memory: LF ends a line, every
// CR is dropped (before LF and alone), Ctrl-Z ends the file. Plain POSIX reads,
// so a failing call leaves its errno for the message.
class LogReader {
  public:
    LogReader() = default;
    LogReader(const LogReader&) = delete;
    LogReader& operator=(const LogReader&) = delete;
    ~LogReader();

    std::optional<Failure> open(const QString& path);
    // The next line into `line`; false at the end of the file or on a read
    // error (then failure() tells).
    bool readLine(std::string& line);
    const std::optional<Failure>& failure() const { return m_failure; }
    // 1-based number of the line last read.
    qint64 lineNumber() const { return m_lineNumber; }
    // The open file's status (modification time, device and inode).
    const struct stat& status() const { return m_status; }

  private:
    bool fill();

    int m_fd = -1;
    struct stat m_status {};
    std::string m_buffer;
    size_t m_pos = 0;
    size_t m_end = 0;
    bool m_atEnd = false;
    qint64 m_lineNumber = 0;
    std::optional<Failure> m_failure;
};
