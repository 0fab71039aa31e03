#pragma once

#include "app/atomicfile.h"
#include "app/result.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string_view>
#include <sys/stat.h>

// Text composed for the output. A writer asks for room for a whole line,
// writes into it and marks the end; a line abandoned half-way (a bad field)
// is simply never marked.
class OutputText {
  public:
    OutputText() { grow(InitialSize); }
    // At least `n` writable bytes at the end of the text.
    char* room(size_t n) {
        if (m_capacity - m_size < n)
            grow(m_size + n);
        return m_data.get() + m_size;
    }
    // The text now ends at `end` (a pointer from room() plus what was written).
    void setEnd(const char* end) { m_size = size_t(end - m_data.get()); }
    void append(std::string_view text) {
        char* p = room(text.size());
        std::memcpy(p, text.data(), text.size());
        m_size += text.size();
    }
    const char* data() const { return m_data.get(); }
    size_t size() const { return m_size; }
    void clear() { m_size = 0; }

  private:
    static constexpr size_t InitialSize = 128 * 1024;
    void grow(size_t needed) {
        const size_t capacity = std::max(needed, m_capacity * 2);
        auto data = std::make_unique<char[]>(capacity);
        if (m_size)
            std::memcpy(data.get(), m_data.get(), m_size);
        m_data = std::move(data);
        m_capacity = capacity;
    }

    std::unique_ptr<char[]> m_data;
    size_t m_size = 0;
    size_t m_capacity = 0;
};

// Bytes into the text at a write position from OutputText::room().
template <size_t N> inline char* put(char* p, const char (&literal)[N]) {
    std::memcpy(p, literal, N - 1);
    return p + N - 1;
}
inline char* put(char* p, std::string_view text) {
    std::memcpy(p, text.data(), text.size());
    return p + text.size();
}

// An export's output: written in large blocks to a temporary file beside the
// target, and renamed over the target by commit(). Dropped without commit,
// the target stays as it was.
class OutputFile {
  public:
    // Fails with "Dateizugriff verweigert" when `path` names the log itself
    // (writing it would destroy the log being read).
    Status open(const QString& path, const struct stat& log);
    OutputText& text() { return m_text; }
    // Passes the text on once a block has gathered.
    Status writeIfFull() { return m_text.size() >= BlockSize ? writeText() : Status(); }
    Status commit();

  private:
    static constexpr size_t BlockSize = 64 * 1024;
    Status writeText();

    std::optional<AtomicFile> m_file;
    OutputText m_text;
};
