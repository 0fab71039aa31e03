#pragma once

// Tools for the bad-input matrices (core, window): file rights that bind root,
// a disk that is full, huge files written without holding them in memory, and
// the peak memory of a piece of work measured in a child process.
// Header-only and QtCore only, so core and window tests share it.
#include "common/testfiles.h"
#include "setup/setupfile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <linux/capability.h>
#include <optional>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

// Root ignores permission bits, and CI runs the tests as root. While alive,
// the calling thread runs without CAP_DAC_OVERRIDE and CAP_DAC_READ_SEARCH, so
// a chmod 000 file or a 0555 folder binds it as it binds a pilot's account.
// Nothing to do for other users.
class FileRightsDropped {
  public:
    FileRightsDropped() {
        if (geteuid() != 0)
            return;
        if (syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_dropped = syscall(SYS_capset, &m_header, reduced) == 0;
    }
    ~FileRightsDropped() {
        if (m_dropped)
            syscall(SYS_capset, &m_header, m_saved);
    }
    FileRightsDropped(const FileRightsDropped&) = delete;
    FileRightsDropped& operator=(const FileRightsDropped&) = delete;

    // True when permission bits now bind this thread.
    bool binding() const { return geteuid() != 0 || m_dropped; }

  private:
    __user_cap_header_struct m_header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct m_saved[2]{};
    bool m_dropped = false;
};

// A tmpfs of a few KiB mounted on `folder` while alive, so that a write there
// runs out of space (ENOSPC). /dev/full would not do: the tool writes a
// temporary file beside the target and renames it, which a device node
// cannot take part in. Mounting needs root; why() says what stopped it.
class TinyDisk {
  public:
    explicit TinyDisk(const QString& folder) : m_folder(QFile::encodeName(folder)) {
        QDir().mkpath(folder);
        if (geteuid() != 0) {
            m_why = QStringLiteral("mounting a tmpfs for the full disk needs root");
            return;
        }
        if (::mount("tmpfs", m_folder.constData(), "tmpfs", MS_NOSUID | MS_NODEV,
                    "size=64k,mode=0755") != 0) {
            m_why = QStringLiteral("cannot mount a tmpfs here: %1")
                        .arg(QString::fromLocal8Bit(std::strerror(errno)));
            return;
        }
        m_mounted = true;
    }
    ~TinyDisk() {
        if (m_mounted)
            ::umount2(m_folder.constData(), MNT_DETACH);
    }
    TinyDisk(const TinyDisk&) = delete;
    TinyDisk& operator=(const TinyDisk&) = delete;

    bool mounted() const { return m_mounted; }
    QString why() const { return m_why; }

    // Takes every free byte with the file "filler"; true when the disk is full.
    bool fill() const {
        const int fd = ::open((m_folder + "/filler").constData(), O_WRONLY | O_CREAT, 0644);
        if (fd < 0)
            return false;
        const QByteArray block(4096, 'f');
        while (::write(fd, block.constData(), size_t(block.size())) > 0) {
        }
        const bool full = errno == ENOSPC;
        ::close(fd);
        return full;
    }

  private:
    QByteArray m_folder;
    QString m_why;
    bool m_mounted = false;
};

// `head`, then `size` bytes of `fill`, then `tail`, written in blocks, so the
// test itself never holds the file.
inline bool writeHugeFile(const QString& path, const QByteArray& head, qint64 size, char fill,
                          const QByteArray& tail = {}) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(head) != head.size())
        return false;
    const QByteArray block(1 << 20, fill);
    for (qint64 left = size; left > 0; left -= block.size()) {
        const qint64 n = qMin<qint64>(left, block.size());
        if (file.write(block.constData(), n) != n)
            return false;
    }
    return file.write(tail) == tail.size();
}

// The size of the huge line or file the matrices try.
inline constexpr qint64 HugeLineBytes = qint64(100) << 20;

// A file of `size` NUL bytes that takes no disk space.
inline bool writeSparseFile(const QString& path, qint64 size) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.resize(size);
}

// AddressSanitizer keeps freed blocks in quarantine and maps shadow memory,
// so peak memory says nothing there; the bounds are checked in normal builds.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool MemoryMeasurable = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
inline constexpr bool MemoryMeasurable = false;
#else
inline constexpr bool MemoryMeasurable = true;
#endif
#else
inline constexpr bool MemoryMeasurable = true;
#endif

// Runs `work` in a child process and returns its text together with how far
// the child's peak resident memory rose above what it started with (KiB).
// A child, so that each measurement starts from the same footing; a plain
// fork, so only for QtCore work (no window, no threads of our own).
struct MeasuredRun {
    bool ran = false;
    QString text;
    long growthKiB = 0;
};

inline long residentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return 0;
}

inline MeasuredRun runMeasured(const std::function<QString()>& work) {
    int fds[2];
    if (::pipe(fds) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        const long before = residentKiB();
        const QByteArray text = work().toUtf8();
        rusage usage{};
        ::getrusage(RUSAGE_SELF, &usage);
        const QByteArray report = QByteArray::number(usage.ru_maxrss - before) + '\n' + text;
        ssize_t written = 0;
        while (written < report.size()) {
            const ssize_t n =
                ::write(fds[1], report.constData() + written, size_t(report.size() - written));
            if (n <= 0)
                ::_exit(2);
            written += n;
        }
        ::_exit(0);
    }
    ::close(fds[1]);
    QByteArray report;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        report.append(buffer, n);
    }
    ::close(fds[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return {};
    const qsizetype newline = report.indexOf('\n');
    return {true, QString::fromUtf8(report.mid(newline + 1)), report.left(newline).toLong()};
}

// The rows the setup and settings files share, and one file set up for a row:
// its bytes at `path` (or what stands in their place), and afterwards a check
// that nothing on disk was lost or added.
enum class BadFile {
    Missing,
    Folder,
    Unreadable,
    Content, // the row's own bytes: empty, NUL bytes, huge, numbers, quotes
    ReadOnlyFolder,
    FullDisk,
    Link, // the name is a link to a file of the pilot's elsewhere in the folder
};

class FileScene {
  public:
    // `write` puts the row's bytes into a file (default: `bytes` as they are);
    // `beside` then adds other files next to `path` (before the disk fills).
    FileScene(BadFile row, const QString& folder, const QString& name, const QByteArray& bytes,
              const std::function<bool(const QString&)>& write = {},
              const std::function<bool(const QString&)>& beside = {})
        : path(folder + QLatin1Char('/') + name), bytes(bytes), m_folder(folder) {
        QDir().mkpath(folder);
        if (row == BadFile::FullDisk) {
            disk.emplace(folder);
            if (!disk->mounted()) {
                skip = disk->why();
                return;
            }
        }
        const QString written = row == BadFile::Link ? folder + QStringLiteral("/linked") : path;
        if (row == BadFile::Folder)
            QDir().mkdir(path);
        else if (row != BadFile::Missing && !(write ? write(written) : writeBytes(written, bytes)))
            skip = QStringLiteral("cannot write the test file");
        if (row == BadFile::Link && !QFile::link(written, path))
            skip = QStringLiteral("cannot make a symbolic link");
        if (beside && !beside(path))
            skip = QStringLiteral("cannot place the files beside the test file");
        if (row == BadFile::FullDisk && !disk->fill())
            skip = QStringLiteral("cannot fill the tiny disk");
        m_before = entries();
        if (row == BadFile::Unreadable)
            m_locked = QFile::setPermissions(path, {});
        if (row == BadFile::ReadOnlyFolder)
            m_locked = QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        if (row == BadFile::Unreadable || row == BadFile::ReadOnlyFolder) {
            rights.emplace();
            if (!rights->binding())
                skip = QStringLiteral("cannot drop the rights that let root ignore permissions");
        }
    }
    ~FileScene() { release(); }
    FileScene(const FileScene&) = delete;
    FileScene& operator=(const FileScene&) = delete;

    // Rights and permissions back as they were (the disk stays mounted).
    void release() {
        rights.reset();
        if (m_locked) {
            QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
            m_locked = false;
        }
    }

    // Files added beside the file and the ones there before (a temporary
    // file left behind).
    QStringList added() {
        release();
        QStringList now = entries();
        for (const QString& name : m_before)
            now.removeAll(name);
        now.removeAll(QFileInfo(path).fileName());
        return now;
    }
    // What changed on disk: empty when the folder holds what it held and, if
    // `bytes` were given, the file still holds them.
    QString changes() {
        release();
        QStringList changes;
        if (!bytes.isEmpty() && readBytes(path) != bytes)
            changes << QFileInfo(path).fileName() + QStringLiteral(" changed");
        if (entries() != m_before)
            changes << QStringLiteral("the folder held %1, now %2")
                           .arg(m_before.join(QLatin1Char(',')), entries().join(QLatin1Char(',')));
        return changes.join(QStringLiteral("; "));
    }
    bool unchanged() { return changes().isEmpty(); }

    QString path;
    QByteArray bytes;
    QString skip; // why the row cannot be set up here
    std::optional<TinyDisk> disk;
    std::optional<FileRightsDropped> rights;

  private:
    QStringList entries() const {
        return QDir(m_folder).entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    }

    QString m_folder;
    QStringList m_before;
    bool m_locked = false;
};

// The setup file of a row: `bytes` as they are, or for the bytes "huge" a
// 100 MB file of NUL bytes that is never held in memory.
inline FileScene setupFileScene(BadFile row, const QString& folder, const QByteArray& bytes) {
    const bool huge = bytes == "huge";
    return FileScene(row, folder, QLatin1String(SetupFileName), huge ? QByteArray() : bytes,
                     [&](const QString& path) {
                         return huge ? writeSparseFile(path, HugeLineBytes)
                                     : writeBytes(path, bytes);
                     });
}
