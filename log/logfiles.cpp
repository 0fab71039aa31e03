#include "log/logfiles.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

bool isLogFileName(const QString& name) {
    return name.size() == 12 && name.startsWith(QLatin1String("LOG"), Qt::CaseInsensitive) &&
           name.endsWith(QLatin1String(".CSV"), Qt::CaseInsensitive);
}

namespace {

bool isDirectory(const QByteArray& path) {
    struct stat status {};
    return ::stat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool isRegularFile(const QByteArray& path) {
    struct stat status {};
    return ::stat(path.constData(), &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace

Result<QStringList> logFilesNamedBy(const QString& argument) {
    const QByteArray folder = QFile::encodeName(argument);
    if (!isDirectory(folder))
        return QStringList{argument};
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.constData()), ::closedir);
    if (!dir)
        return lastFileFailure();
    const QString prefix = argument.endsWith(QLatin1Char('/')) ? argument : argument + '/';
    QStringList names;
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (!entry) {
            if (errno != 0)
                return lastFileFailure();
            break;
        }
        const QString name = QFile::decodeName(entry->d_name);
        if (isLogFileName(name) && isRegularFile(QFile::encodeName(prefix + name)))
            names << name;
    }
    if (names.isEmpty())
        return Failure{FailureKind::FileNotFound,
                       QStringLiteral("Keine Log-Datei (LOG?????.CSV) in diesem Ordner")};
    // Cards mix the cases of one numbering: log00001.csv before LOG00002.CSV.
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a < b;
    });
    QStringList paths;
    for (const QString& name : names)
        paths << prefix + name;
    return paths;
}
