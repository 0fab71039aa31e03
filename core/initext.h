#pragma once

#include <QByteArray>
#include <QList>
#include <optional>

// INI text as the platform's INI facility reads and writes it: "[section]"
// lines, key=value entries, names matched ignoring ASCII case. Lines that are
// not touched come back byte for byte, their line ends included.
class IniText {
  public:
    // Split once; the text itself is not kept, so a huge file is held about
    // twice, not once more for every entry read or written.
    explicit IniText(QByteArray text);

    // The value text of `key` in the first section called `section`, trimmed
    // and without one pair of enclosing quotes; nothing when absent.
    std::optional<QByteArray> value(const QByteArray& section, const QByteArray& key) const;
    // `key`=`value` in `section`: the entry replaced in place, or added after
    // the section's last non-blank line, or a new section appended at the end.
    // New lines end as the text's lines do (CR LF when it held any).
    void setValue(const QByteArray& section, const QByteArray& key, const QByteArray& value);
    // The text joined again; the lines are given up.
    QByteArray text() &&;

  private:
    QList<QByteArray> m_lines; // without their '\n'; a '\r' before it stays
    bool m_finalNewline = true;
    bool m_crlf = false;
};

// The same for a single entry.
std::optional<QByteArray> iniValue(const QByteArray& ini, const QByteArray& section,
                                   const QByteArray& key);
QByteArray iniWithValue(const QByteArray& ini, const QByteArray& section, const QByteArray& key,
                        const QByteArray& value);
