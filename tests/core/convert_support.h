#pragma once

// Helpers shared by the conversion tests: test data, file bytes, file dates
// and a readable line diff for byte-exact comparisons.
#include "common/testfiles.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QString>
#include <QTest>

namespace convert_support {

// The repository: SOURCE_DIR under CTest, else found from this header's place.
inline QString sourceDir() {
    const QString fromEnvironment = qEnvironmentVariable("SOURCE_DIR");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QDir::cleanPath(QFileInfo(QStringLiteral(__FILE__)).absolutePath() +
                           QStringLiteral("/../.."));
}

inline QString dataPath(const QString& name) {
    return sourceDir() + QStringLiteral("/tests/data/convert/") + name;
}

inline bool setModified(const QString& path, const QDateTime& when) {
    QFile file(path);
    return file.open(QIODevice::ReadWrite) &&
           file.setFileTime(when, QFileDevice::FileModificationTime);
}

// Control characters shown, so that a stray or missing CR is visible.
inline QByteArray visible(const QByteArray& line) {
    QByteArray out;
    for (char c : line) {
        if (c == '\r')
            out += "\\r";
        else if (static_cast<unsigned char>(c) < 32)
            out += "\\x" + QByteArray::number(static_cast<unsigned char>(c), 16);
        else
            out += c;
    }
    return out;
}

// True when equal; otherwise prints the first differing lines with context.
inline bool sameBytes(const QByteArray& actual, const QByteArray& expected, const char* what) {
    if (actual == expected)
        return true;
    const QList<QByteArray> a = actual.split('\n');
    const QList<QByteArray> e = expected.split('\n');
    qsizetype first = 0;
    while (first < a.size() && first < e.size() && a[first] == e[first])
        ++first;
    QByteArray report = QByteArray(what) + ": output differs from the expected bytes at line " +
                        QByteArray::number(first + 1) + " (lines end at \\n, CR shown as \\r)\n";
    for (qsizetype i = qMax<qsizetype>(0, first - 2); i < first; ++i)
        report += "    " + visible(a[i]) + '\n';
    for (qsizetype i = first; i < qMin(e.size(), first + 3); ++i)
        report += "  - " + visible(e[i]) + '\n';
    for (qsizetype i = first; i < qMin(a.size(), first + 3); ++i)
        report += "  + " + visible(a[i]) + '\n';
    report += "  (expected " + QByteArray::number(expected.size()) + " bytes, got " +
              QByteArray::number(actual.size()) + ")";
    qWarning("%s", report.constData());
    return false;
}

// Files in the folder besides `keep`: a stopped conversion must leave none.
inline QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace convert_support
