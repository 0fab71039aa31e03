#pragma once

#include "core/programstate.h"
#include "picture/flightpicture.h"

#include <QString>
#include <QStringList>

// altorin-convert --picture: one LOGnnnnn.png per log, beside it or in
// `outputFolder`; the options' tile wait holds for the whole run. Each written path is printed on
// stdout, each failure on stderr as "LOGFILE: message", and the next log goes on. Returns 0, or 1
// when a log failed. `eachOwnLayout` (--firmware auto) reads each log with the
// layout it has instead of `firmware`.
int writePictures(const QStringList& logs, const FirmwareVariant& firmware, bool eachOwnLayout,
                  const PictureOptions& options, const QString& outputFolder);

// "1200x800" as a size from 200x150 to 8000x8000; nothing otherwise.
std::optional<QSize> pictureSize(const QString& text);
