#include "convert/outputfile.h"

#include <QFile>
#include <QFileInfo>

Status OutputFile::open(const QString& path, const struct stat& log) {
    struct stat target {};
    if (::stat(QFile::encodeName(path).constData(), &target) == 0 && target.st_dev == log.st_dev &&
        target.st_ino == log.st_ino)
        return Failure{FailureKind::OutputIsLog,
                       QStringLiteral("Ausgabe wäre die Log-Datei selbst: %1")
                           .arg(QFileInfo(path).fileName())};
    return m_file.emplace(path).open();
}

Status OutputFile::writeText() {
    auto failure = m_file->write(m_text.data(), qint64(m_text.size()));
    m_text.clear();
    return failure;
}

Status OutputFile::commit() {
    if (auto failure = writeText())
        return failure;
    return m_file->commit();
}
