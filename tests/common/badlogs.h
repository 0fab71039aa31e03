#pragma once

// The rows of the log conversion matrix, set up alike for the core and the
// window: a log (or what stands in its place) beside an earlier output of the
// same name, and afterwards a check that nothing on disk was lost or added.
#include "common/badinput.h"
#include "common/testfiles.h"
#include "convert/conversion.h"

#include <QFileInfo>
#include <QStringList>
#include <optional>

enum class BadLog {
    Missing,
    Folder,
    Unreadable,
    Empty,
    NulBytes,
    LongLine,
    BigInteger,
    OpenQuote,
    ReadOnlyFolder,
    FullDisk,
    OutputIsInput,
    LinkToInput,
};

inline const QStringList ConversionNames{"kml2d", "kml3d-gps", "kml3d-baro", "gpx", "trakmond"};

inline constexpr qint64 HugeLineBytes = qint64(100) << 20;

inline QString outputNameFor(const QString& format, const QString& logName) {
    if (format == QLatin1String("gpx"))
        return gpxOutputName(logName);
    if (format == QLatin1String("trakmond"))
        return trakmondOutputName(logName);
    return kmlOutputName(logName);
}

// What each row gives, per conversion in the order of ConversionNames: the
// failure text, or "ok" for a finished conversion.
struct BadLogRow {
    const char* name;
    BadLog row;
    QStringList outcomes;
};

inline QList<BadLogRow> badLogRows() {
    const QString denied = QStringLiteral("Dateizugriff verweigert");
    const auto all = [](const QString& text) { return QStringList(5, text); };
    // The three KML conversions and GPX fail alike; the plotter export differs.
    const auto kmlGpx = [](const QString& text, const QString& plotter) {
        return QStringList{text, text, text, text, plotter};
    };
    const auto fewFields = [](int needed) {
        return QStringLiteral("Zeile 1: nur %1 Felder, die Konvertierung braucht %2 "
                              "(Anführungszeichen um ';'?)")
            .arg(needed == 15 ? 10 : 11)
            .arg(needed);
    };
    // The plotter export counts fields without the first one.
    const QStringList tooFew{fewFields(12), fewFields(13), fewFields(12), fewFields(14),
                             fewFields(15)};
    return {
        {"missing file", BadLog::Missing, all(QStringLiteral("Datei nicht gefunden"))},
        {"a folder", BadLog::Folder, all(denied)},
        {"unreadable file", BadLog::Unreadable, all(denied)},
        // An empty track, as for a log without Data lines.
        {"empty file", BadLog::Empty, all(QStringLiteral("ok"))},
        // Fields end at a NUL, so the line holds too few of them.
        {"NUL bytes", BadLog::NulBytes, tooFew},
        // The plotter export copies a coordinate as written; the others read
        // it and name its first 64 bytes.
        {"line of 100 MB", BadLog::LongLine,
         kmlGpx(QStringLiteral("'") + QString(64, QLatin1Char('1')) +
                    QStringLiteral("…' ist kein gültiger Integerwert"),
                QStringLiteral("ok"))},
        {"integers beyond 32 bits", BadLog::BigInteger,
         kmlGpx(QStringLiteral("'4294967296' ist kein gültiger Integerwert"),
                QStringLiteral("ok"))},
        {"unterminated quote", BadLog::OpenQuote, tooFew},
        {"read-only target folder", BadLog::ReadOnlyFolder, all(denied)},
        {"full disk", BadLog::FullDisk, all(QStringLiteral("E/A-Fehler 28"))},
        {"output path is the log", BadLog::OutputIsInput, all(denied)},
        {"output is a link to the log", BadLog::LinkToInput, all(denied)},
    };
}

// A firmware-500 Data line; `lon` and `f12` are the fields the rows spoil.
inline QByteArray badLogLine(const QByteArray& lon = "8123456", const QByteArray& f12 = "500") {
    return "01;14:22:01;75;-2;4312;4.9;5.1;21;0;12;" + lon + ";48123456;" + f12 + ";42;180;7;1\r\n";
}

class LogScene {
  public:
    LogScene(BadLog row, const QString& folder, const QString& format) : m_folder(folder) {
        QDir().mkpath(folder);
        if (row == BadLog::FullDisk) {
            disk.emplace(folder);
            if (!disk->mounted()) {
                skip = disk->why();
                return;
            }
        }
        const QString logName =
            row == BadLog::OutputIsInput ? outputNameFor(format, "LOG00001.CSV") : "LOG00001.CSV";
        log = folder + '/' + logName;
        target = folder + '/' + outputNameFor(format, logName);
        logBytes = badLogLine();
        switch (row) {
        case BadLog::Empty:
            logBytes.clear();
            break;
        case BadLog::NulBytes: // a NUL inside the longitude ends the line's fields there
            logBytes = badLogLine(QByteArray("81\0 23456", 9));
            break;
        case BadLog::BigInteger:
            logBytes = badLogLine("4294967296", "4294967296");
            break;
        case BadLog::OpenQuote:
            logBytes = badLogLine("\"8123456");
            break;
        default:
            break;
        }
        if (row != BadLog::OutputIsInput) {
            oldTarget = "an earlier output\r\n";
            writeBytes(target, oldTarget);
        }
        if (row == BadLog::Folder) {
            QDir().mkdir(log);
        } else if (row == BadLog::LongLine) {
            // The longitude runs on for 100 MB and the file ends without a line end.
            const QByteArray good = badLogLine();
            const qsizetype lon = good.indexOf("8123456");
            writeHugeFile(log, good.left(lon), HugeLineBytes, '1', good.mid(lon + 7).chopped(2));
            logBytes.clear();
        } else if (row != BadLog::Missing) {
            writeBytes(log, logBytes);
        }
        if (row == BadLog::LinkToInput) {
            QFile::remove(target);
            oldTarget.clear();
            m_link = QFile::link(log, target);
        }
        if (row == BadLog::FullDisk && !disk->fill())
            skip = QStringLiteral("cannot fill the tiny disk");
        m_before = entries();
        if (row == BadLog::Unreadable)
            m_locked = QFile::setPermissions(log, {});
        if (row == BadLog::ReadOnlyFolder)
            m_locked = QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner |
                                                         QFile::ReadOther | QFile::ExeOther);
        if (row == BadLog::Unreadable || row == BadLog::ReadOnlyFolder) {
            rights.emplace();
            if (!rights->binding())
                skip = QStringLiteral("cannot drop the rights that let root ignore permissions");
        }
    }
    ~LogScene() { release(); }
    LogScene(const LogScene&) = delete;
    LogScene& operator=(const LogScene&) = delete;

    // Rights and permissions back as they were (the disk stays mounted).
    void release() {
        rights.reset();
        if (m_locked) {
            QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            QFile::setPermissions(log, QFile::ReadOwner | QFile::WriteOwner);
            m_locked = false;
        }
    }

    // After a failed conversion: what was lost or added on disk, empty when
    // the log, the earlier output and the folder are as they were.
    QString damageAfterFailure() {
        release();
        QStringList damage;
        if (QFileInfo(log).isFile() && !logBytes.isEmpty() && readBytes(log) != logBytes)
            damage << "the log changed";
        if (!oldTarget.isEmpty() && readBytes(target) != oldTarget)
            damage << "the earlier output changed";
        if (m_link && !QFileInfo(target).isSymLink())
            damage << "the link at the output was replaced";
        if (entries() != m_before)
            damage << "folder held " + m_before.join(',') + ", now " + entries().join(',');
        return damage.join("; ");
    }

    QString log;
    QString target;
    QByteArray logBytes;  // empty when not checked (none, or too large to hold)
    QByteArray oldTarget; // the earlier output, kept on failure
    QString skip;         // why the row cannot be set up here
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
    bool m_link = false;
};
