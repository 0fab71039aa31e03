#pragma once

#include "core/result.h"

#include <QString>
#include <map>
#include <sys/stat.h>
#include <utility>

// The outputs one run over many logs has written (altorin-convert), so that a
// later log cannot silently replace one of them: every card names its first
// log LOG00001.CSV, and two cards converted into one output folder would
// otherwise leave only the second card's track. Files are told apart by device
// and inode rather than by path, as a card's file system ignores letter case
// and one folder has many spellings.
class OutputsOfRun {
  public:
    // Fails when `outputPath` is a file this run wrote from another log than
    // `log`; the same log named again may rewrite its own output (same bytes).
    Status checkTarget(const QString& outputPath, const struct stat& log) const;
    // Records the output just written from the log at `logPath`.
    void add(const QString& outputPath, const QString& logPath, const struct stat& log);

  private:
    using FileId = std::pair<dev_t, ino_t>;
    struct Source {
        FileId log;
        QString logPath;
    };
    std::map<FileId, Source> m_outputs;
};
