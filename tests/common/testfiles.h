#pragma once

// File bytes for tests, header-only so that core and window tests share it.
#include <QByteArray>
#include <QFile>
#include <QString>

inline QByteArray readBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<cannot read ") + QFile::encodeName(path) + '>';
    return file.readAll();
}

inline bool writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
