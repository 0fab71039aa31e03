#pragma once

#include "core/result.h"
#include "setup/setupimage.h"

#include <QByteArray>
#include <QString>

// The device reads its configuration from this file: the twenty image bytes,
// binary, no header or checksum.
inline constexpr const char* SetupFileName = "SETUPUPL.HEX";

// What the window and altorin-setup say about a file of another length.
inline constexpr const char* NotASetupFileText = "Keine gültige Altorin Setup-Datei!";

// A file of 16 to 20 bytes is a setup; 16 bytes are setups 0 to 15.
inline constexpr int MinSetupFileBytes = 16;
// One byte more than an image, so that a longer file is recognised.
inline constexpr int MaxSetupFileRead = SetupImage::Size + 1;

// The first bytes of a file, at most 21, or why it could not be read.
Result<QByteArray> readSetupFile(const QString& path);

bool isValidSetupLength(qsizetype count);

// Reads the whole file first and stores its bytes in bytes 0.. of the image
// only when the length is valid; the rest of the image stays. Returns the
// number of bytes read (0 to 21); a read error leaves the image untouched.
Result<int> loadSetupFile(SetupImage& image, const QString& path);

// SETUPUPL.HEX in that folder.
QString setupFilePath(const QString& folder);

// Writes the twenty bytes to that file, replacing it only once all are on disk.
Status writeSetupFile(const SetupImage& image, const QString& path);

// Writes the twenty bytes as SETUPUPL.HEX into the folder. The old file is
// replaced only once all twenty bytes are on disk, so a failed save never
// leaves a truncated setup for the device.
Status saveSetupFile(const SetupImage& image, const QString& folder);
