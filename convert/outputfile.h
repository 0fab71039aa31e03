#pragma once

#include "app/failure.h"

#include <QSaveFile>
#include <optional>
#include <string>
#include <sys/stat.h>

// An export's output: composed in a buffer, written in large blocks to a
// temporary file beside the target, and renamed over the target by commit().
// Dropped without commit, the target stays as it was.
class OutputFile {
  public:
    // Fails with "Dateizugriff verweigert" when `path` names the log itself
    // (writing it would destroy the log being read).
    std::optional<Failure> open(const QString& path, const struct stat& log);
    // The text composed so far; writeIfFull() passes it on.
    std::string& text() { return m_text; }
    std::optional<Failure> writeIfFull() {
        return m_text.size() >= BlockSize ? writeText() : std::nullopt;
    }
    std::optional<Failure> commit();

  private:
    static constexpr size_t BlockSize = 64 * 1024;
    std::optional<Failure> writeText();

    QSaveFile m_file;
    std::string m_text;
};
