#pragma once

#include "convert/linewriter.h"
#include "core/atomicfile.h"
#include "core/result.h"

#include <sys/stat.h>

// An export's output: written in large blocks to a temporary file beside the
// target, and renamed over the target by commit(). Dropped without commit,
// the target stays as it was.
class OutputFile {
  public:
    // Fails when `path` names the log itself (writing it would destroy the log
    // being read), saying so: the pilot would look for a permission fault.
    Status open(const QString& path, const struct stat& log);
    OutputText& text() { return m_text; }
    // Passes the text on once a block has gathered.
    Status writeIfFull() { return m_text.size() >= BlockSize ? writeText() : Status(); }
    Status commit();

  private:
    static constexpr size_t BlockSize = 256 * 1024;
    Status writeText();

    std::optional<AtomicFile> m_file;
    OutputText m_text;
};
