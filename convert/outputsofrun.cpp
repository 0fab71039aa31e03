#include "convert/outputsofrun.h"

#include <QFile>
#include <optional>

namespace {

std::optional<std::pair<dev_t, ino_t>> fileId(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return std::pair(status.st_dev, status.st_ino);
}

} // namespace

Status OutputsOfRun::checkTarget(const QString& outputPath, const struct stat& log) const {
    const auto target = fileId(outputPath);
    const auto written = target ? m_outputs.find(*target) : m_outputs.end();
    if (written == m_outputs.end() || written->second.log == FileId(log.st_dev, log.st_ino))
        return std::nullopt;
    return Failure{FailureKind::OutputOfRun,
                   QStringLiteral("%1 wurde in diesem Lauf schon aus %2 geschrieben und wird "
                                  "nicht ersetzt")
                       .arg(outputPath, written->second.logPath)};
}

void OutputsOfRun::add(const QString& outputPath, const QString& logPath, const struct stat& log) {
    if (const auto output = fileId(outputPath))
        m_outputs[*output] = Source{FileId(log.st_dev, log.st_ino), logPath};
}
