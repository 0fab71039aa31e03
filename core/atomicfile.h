#pragma once

#include "core/result.h"

#include <QSaveFile>
#include <optional>

// A file replaced as a whole: the bytes go to a temporary file beside the
// target, which commit() renames over it only when every byte was written.
// Dropped without commit, the target stays as it was. Used for every file the
// tool writes, so no failure ever leaves a half-written setup, settings or
// track file behind.
class AtomicFile {
  public:
    explicit AtomicFile(const QString& path);

    Status open();
    // Every byte, or a failure after which the temporary file is dropped.
    Status write(const char* data, qint64 size);
    Status commit();

  private:
    static constexpr qint64 SyncBlock = 1 << 20;
    Failure failure(int savedErrno) const;

    QSaveFile m_file;
    qint64 m_written = 0;
    qint64 m_synced = 0; // bytes handed to the disk before commit()
};

// The whole file in one go.
Status writeFileAtomically(const QString& path, const QByteArray& bytes);
