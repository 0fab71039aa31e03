#include "core/initext.h"

#include <utility>

namespace {

// One line of INI text without its '\n' (a '\r' before it stays part of the
// line, so lines we do not touch come back byte for byte).
QByteArray lineContent(const QByteArray& line) {
    return (line.endsWith('\r') ? line.chopped(1) : line).trimmed();
}

bool sameName(const QByteArray& a, const QByteArray& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The section name of a "[name]" line, or nothing for any other line.
std::optional<QByteArray> sectionName(const QByteArray& content) {
    if (!content.startsWith('['))
        return std::nullopt;
    const qsizetype close = content.indexOf(']');
    return content.mid(1, close < 0 ? -1 : close - 1).trimmed();
}

struct Entry {
    QByteArray key;
    QByteArray value;
};

std::optional<Entry> entryOf(const QByteArray& content) {
    const qsizetype eq = content.indexOf('=');
    if (eq < 0 || content.startsWith('['))
        return std::nullopt;
    return Entry{content.left(eq).trimmed(), content.mid(eq + 1).trimmed()};
}

// Index of the header line of the first section called `section`, or -1.
qsizetype findSection(const QList<QByteArray>& items, const QByteArray& section) {
    for (qsizetype i = 0; i < items.size(); ++i) {
        const auto name = sectionName(lineContent(items[i]));
        if (name && sameName(*name, section))
            return i;
    }
    return -1;
}

} // namespace

IniText::IniText(QByteArray text) : m_crlf(text.contains("\r\n")) {
    if (text.isEmpty())
        return;
    m_finalNewline = text.endsWith('\n');
    m_lines = std::exchange(text, QByteArray()).split('\n');
    if (m_finalNewline)
        m_lines.removeLast();
}

QByteArray IniText::text() && {
    QByteArray out = m_lines.join('\n');
    if (m_finalNewline && !m_lines.isEmpty())
        out += '\n';
    m_lines = {};
    return out;
}

std::optional<QByteArray> IniText::value(const QByteArray& section, const QByteArray& key) const {
    const qsizetype header = findSection(m_lines, section);
    if (header < 0)
        return std::nullopt;
    for (qsizetype i = header + 1; i < m_lines.size(); ++i) {
        const QByteArray content = lineContent(m_lines[i]);
        if (sectionName(content))
            break;
        const auto entry = entryOf(content);
        if (!entry || !sameName(entry->key, key))
            continue;
        QByteArray value = entry->value;
        // The platform's INI reader drops one pair of enclosing quotes.
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        return value;
    }
    return std::nullopt;
}

void IniText::setValue(const QByteArray& section, const QByteArray& key, const QByteArray& value) {
    const bool crlf = m_crlf;
    const auto line = [crlf](const QByteArray& text) { return crlf ? text + '\r' : text; };
    const QByteArray entryLine = key + '=' + value;
    // A last line without its line break gets one before anything follows it.
    const auto closeLastLine = [this, crlf] {
        if (!m_finalNewline && crlf && !m_lines.last().endsWith('\r'))
            m_lines.last() += '\r';
        m_finalNewline = true;
    };

    const qsizetype header = findSection(m_lines, section);
    if (header < 0) {
        if (!m_lines.isEmpty())
            closeLastLine();
        m_lines << line('[' + section + ']') << line(entryLine);
        m_finalNewline = true;
        return;
    }
    qsizetype lastFilled = header;
    for (qsizetype i = header + 1; i < m_lines.size(); ++i) {
        const QByteArray content = lineContent(m_lines[i]);
        if (sectionName(content))
            break;
        const auto entry = entryOf(content);
        if (entry && sameName(entry->key, key)) {
            const bool hadCr = m_lines[i].endsWith('\r');
            m_lines[i] = hadCr ? entryLine + '\r' : entryLine;
            return;
        }
        if (!content.isEmpty())
            lastFilled = i;
    }
    // A section without the key gets it after its last non-blank line.
    if (lastFilled + 1 == m_lines.size())
        closeLastLine();
    m_lines.insert(lastFilled + 1, line(entryLine));
}

std::optional<QByteArray> iniValue(const QByteArray& ini, const QByteArray& section,
                                   const QByteArray& key) {
    return IniText(ini).value(section, key);
}

QByteArray iniWithValue(const QByteArray& ini, const QByteArray& section, const QByteArray& key,
                        const QByteArray& value) {
    IniText text(ini);
    text.setValue(section, key, value);
    return std::move(text).text();
}
