#include "app/settingsfile.h"
#include "app/atomicfile.h"
#include "app/integertext.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QStandardPaths>
#include <utility>

namespace {

QString folderOverride;

// The seven entries in the order they are written, each the only key of a
// section of its own name.
constexpr std::pair<const char*, qint32 ToolSettings::*> Entries[] = {
    {"Top", &ToolSettings::top},
    {"Left", &ToolSettings::left},
    {"Width", &ToolSettings::width},
    {"Height", &ToolSettings::height},
    {"AR_Version", &ToolSettings::firmwareVersion},
    {"OptionInt", &ToolSettings::duo},
    {"english", &ToolSettings::language},
};

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

struct Lines {
    QList<QByteArray> items;
    bool finalNewline = true;
};

Lines splitLines(const QByteArray& ini) {
    Lines lines;
    if (ini.isEmpty())
        return lines;
    lines.items = ini.split('\n');
    lines.finalNewline = ini.endsWith('\n');
    if (lines.finalNewline)
        lines.items.removeLast();
    return lines;
}

QByteArray joinLines(const Lines& lines) {
    QByteArray out = lines.items.join('\n');
    if (lines.finalNewline && !lines.items.isEmpty())
        out += '\n';
    return out;
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

Failure cannotWrite() {
    return Failure{FailureKind::NotWritable, QStringLiteral("In %1 kann nicht geschrieben werden.")
                                                 .arg(QLatin1String(SettingsFileName))};
}

} // namespace

QString settingsFolder() {
    if (!folderOverride.isEmpty())
        return folderOverride;
    QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/AltorinTool");
}

QString settingsFilePath() {
    return settingsFolder() + QLatin1Char('/') + QLatin1String(SettingsFileName);
}

void setSettingsFolder(const QString& folder) {
    folderOverride = folder;
}

std::optional<qint32> parseSettingsInteger(const QByteArray& text) {
    return parseIntegerText(std::string_view(text.constData(), size_t(text.size())),
                            SettingsIntegerRules);
}

namespace {

std::optional<QByteArray> valueIn(const Lines& lines, const QByteArray& section,
                                  const QByteArray& key) {
    const qsizetype header = findSection(lines.items, section);
    if (header < 0)
        return std::nullopt;
    for (qsizetype i = header + 1; i < lines.items.size(); ++i) {
        const QByteArray content = lineContent(lines.items[i]);
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

void setValue(Lines& lines, bool crlf, const QByteArray& section, const QByteArray& key,
              const QByteArray& value) {
    const auto line = [crlf](const QByteArray& text) { return crlf ? text + '\r' : text; };
    const QByteArray entryLine = key + '=' + value;
    // A last line without its line break gets one before anything follows it.
    const auto closeLastLine = [&lines, crlf] {
        if (!lines.finalNewline && crlf && !lines.items.last().endsWith('\r'))
            lines.items.last() += '\r';
        lines.finalNewline = true;
    };

    const qsizetype header = findSection(lines.items, section);
    if (header < 0) {
        if (!lines.items.isEmpty())
            closeLastLine();
        lines.items << line('[' + section + ']') << line(entryLine);
        lines.finalNewline = true;
        return;
    }
    qsizetype lastFilled = header;
    for (qsizetype i = header + 1; i < lines.items.size(); ++i) {
        const QByteArray content = lineContent(lines.items[i]);
        if (sectionName(content))
            break;
        const auto entry = entryOf(content);
        if (entry && sameName(entry->key, key)) {
            const bool hadCr = lines.items[i].endsWith('\r');
            lines.items[i] = hadCr ? entryLine + '\r' : entryLine;
            return;
        }
        if (!content.isEmpty())
            lastFilled = i;
    }
    // A section without the key gets it after its last non-blank line.
    if (lastFilled + 1 == lines.items.size())
        closeLastLine();
    lines.items.insert(lastFilled + 1, line(entryLine));
}

} // namespace

std::optional<QByteArray> iniValue(const QByteArray& ini, const QByteArray& section,
                                   const QByteArray& key) {
    return valueIn(splitLines(ini), section, key);
}

QByteArray iniWithValue(const QByteArray& ini, const QByteArray& section, const QByteArray& key,
                        const QByteArray& value) {
    Lines lines = splitLines(ini);
    setValue(lines, ini.contains("\r\n"), section, key, value);
    return joinLines(lines);
}

ToolSettings readToolSettings(const ToolSettings& defaults) {
    ToolSettings result = defaults;
    QFile file(settingsFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return result;
    // Split once and the text dropped: a huge file is held about twice, not
    // once more for every entry.
    const Lines lines = splitLines(file.readAll());
    for (const auto& [name, value] : Entries)
        if (const auto text = valueIn(lines, name, name))
            if (const auto number = parseSettingsInteger(*text))
                result.*value = *number;
    return result;
}

FirmwareVariant storedFirmwareVariant() {
    return readToolSettings(ToolSettings{}).firmware();
}

Status writeToolSettings(const ToolSettings& settings) {
    if (!QDir().mkpath(settingsFolder()))
        return cannotWrite();
    const QString path = settingsFilePath();
    QByteArray ini;
    QFile existing(path);
    if (existing.exists()) {
        // Rewriting a file we cannot read would throw its other lines away.
        if (!existing.open(QIODevice::ReadOnly))
            return cannotWrite();
        ini = existing.readAll();
        existing.close();
    }
    // One split and one join for all seven entries, so a huge file is held
    // about twice, not once more for every entry.
    const bool crlf = ini.contains("\r\n");
    Lines lines = splitLines(std::exchange(ini, QByteArray()));
    for (const auto& [name, value] : Entries)
        setValue(lines, crlf, name, name, QByteArray::number(settings.*value));
    ini = joinLines(std::exchange(lines, Lines()));

    if (writeFileAtomically(path, ini))
        return cannotWrite();
    return std::nullopt;
}
