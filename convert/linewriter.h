#pragma once

#include "convert/numbertext.h"
#include "core/result.h"
#include "log/logfields.h"

#include <cstring>
#include <memory>
#include <string_view>

// Text composed for the output: fixed texts appended whole, Data lines
// composed one at a time through a LineWriter.
class OutputText {
  public:
    OutputText() { reserve(0, InitialSize); }
    void append(std::string_view text) {
        std::memcpy(reserve(m_size, text.size()), text.data(), text.size());
        m_size += text.size();
    }
    const char* data() const { return m_data.get(); }
    size_t size() const { return m_size; }
    void clear() { m_size = 0; }

  private:
    friend class LineWriter;
    static constexpr size_t InitialSize = 128 * 1024;

    // Room for `more` bytes after the first `used` ones, which are kept (the
    // text and a line being composed after it). Grown by what is asked and a
    // block more, not doubled: a line of a damaged log can run for hundreds
    // of megabytes, and it comes in a handful of pieces.
    char* reserve(size_t used, size_t more) {
        if (m_capacity - used < more) {
            const size_t capacity = used + more + InitialSize;
            auto data = std::make_unique<char[]>(capacity);
            if (used)
                std::memcpy(data.get(), m_data.get(), used);
            m_data = std::move(data);
            m_capacity = capacity;
        }
        return m_data.get() + used;
    }

    std::unique_ptr<char[]> m_data;
    size_t m_size = 0;
    size_t m_capacity = 0;
};

// One output line (or the block of lines of one track point) composed at the
// end of an OutputText. Every write makes its own room, so no caller counts
// bytes. The line joins the text only through end(), so a line given up
// half-way leaves nothing of it in the output.
//
// A field that should be a number and is not is noted, not written; end()
// then gives "'%s' ist kein gültiger Integerwert" for the first such field and
// drops the line. The writes before and after it still run, in vain; fields
// are checked in the order they are written.
class LineWriter {
  public:
    explicit LineWriter(OutputText& text)
        : m_text(text), m_p(text.reserve(text.m_size, 0)),
          m_limit(text.m_data.get() + text.m_capacity) {}
    LineWriter(const LineWriter&) = delete;
    LineWriter& operator=(const LineWriter&) = delete;

    LineWriter& text(std::string_view bytes) {
        std::memcpy(room(bytes.size()), bytes.data(), bytes.size());
        m_p += bytes.size();
        return *this;
    }
    LineWriter& number(const NumberText& number) {
        // All the buffer in one fixed-size move; only its text counts.
        std::memcpy(room(NumberText::Capacity), number.bytes(), NumberText::Capacity);
        m_p += number.size();
        return *this;
    }
    // The field's number text in canonical decimal form, tenths, or degrees,
    // composed straight into the line.
    LineWriter& intField(std::string_view field) {
        return composed(composeIntFieldText(room(NumberText::Capacity), field), field);
    }
    LineWriter& tenthsField(std::string_view field) {
        return composed(composeTenthsFieldText(room(NumberText::Capacity), field), field);
    }
    LineWriter& coordinateField(std::string_view field,
                                NumberLayout layout = NumberLayout::General) {
        return composed(composeCoordinateText(room(NumberText::Capacity), field, layout), field);
    }

    // The line with its CR LF into the text; or, after a field that was no
    // number, nothing and the failure naming it.
    Status end() {
        if (m_badField)
            return notAnInteger(*m_badField);
        text("\r\n");
        m_text.m_size = size_t(m_p - m_text.m_data.get());
        return std::nullopt;
    }

  private:
    char* room(size_t n) {
        if (size_t(m_limit - m_p) < n) {
            const size_t used = size_t(m_p - m_text.m_data.get());
            m_p = m_text.reserve(used, n);
            m_limit = m_text.m_data.get() + m_text.m_capacity;
        }
        return m_p;
    }
    // A composer's text, put at the line's end, joins it; no text (nullptr)
    // notes the field.
    LineWriter& composed(char* end, std::string_view field) {
        if (end)
            m_p = end;
        else if (!m_badField)
            m_badField = field;
        return *this;
    }

    OutputText& m_text;
    char* m_p;     // the end of the line so far
    char* m_limit; // the end of the room the text has
    std::optional<std::string_view> m_badField;
};
