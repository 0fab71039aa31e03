#pragma once

// The rows of the log conversion matrix, set up alike for the core and the
// window: a log (or what stands in its place) beside an earlier output of the
// same name, and afterwards a check that nothing on disk was lost or added.
#include "common/badinput.h"
#include "common/testfiles.h"
#include "convert/conversion.h"
#include "convert/conversions.h"

#include <QFileInfo>
#include <QStringList>
#include <QTest>
#include <functional>
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

inline QString outputNameFor(const QString& format, const QString& logName) {
    if (format == QLatin1String("gpx"))
        return gpxOutputName(logName);
    if (format == QLatin1String("trakmond"))
        return trakmondOutputName(logName);
    return kmlOutputName(logName);
}

// What each row gives, per conversion in the order of conversionFormats():
// the failure text, or "ok" for a finished conversion.
struct BadLogRow {
    const char* name;
    BadLog row;
    QStringList outcomes;
};

// One outcome per conversion, in the order of conversionFormats().
inline QStringList perConversion(const std::function<QString(const QString& format)>& outcome) {
    QStringList outcomes;
    for (const ConversionFormat& format : conversionFormats())
        outcomes << outcome(QLatin1String(format.name));
    return outcomes;
}

inline QList<BadLogRow> badLogRows() {
    const QString denied = QStringLiteral("Dateizugriff verweigert");
    const auto all = [](const QString& text) {
        return perConversion([&](const QString&) { return text; });
    };
    // The three KML conversions and GPX fail alike; the plotter export differs.
    const auto kmlGpx = [](const QString& text, const QString& plotter) {
        return perConversion([&](const QString& format) {
            return format == QLatin1String("trakmond") ? plotter : text;
        });
    };
    // The output named after the log, which the refusal names.
    const QStringList outputIsLog = perConversion([](const QString& format) {
        return QStringLiteral("Ausgabe wäre die Log-Datei selbst: ") +
               outputNameFor(format, QStringLiteral("LOG00001.CSV"));
    });
    // The fields each conversion reads of a 17-field line (the plotter export
    // counts them without the first one), and how many the quote left.
    const QStringList tooFew = perConversion([](const QString& format) {
        const int needed = format == QLatin1String("kml3d-gps")  ? 13
                           : format == QLatin1String("gpx")      ? 14
                           : format == QLatin1String("trakmond") ? 15
                                                                 : 12;
        return QStringLiteral("Zeile 1: nur %1 Felder, die Konvertierung braucht %2 "
                              "(Anführungszeichen um ';'?)")
            .arg(needed == 15 ? 10 : 11)
            .arg(needed);
    });
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
        {"output path is the log", BadLog::OutputIsInput, outputIsLog},
        {"output is a link to the log", BadLog::LinkToInput, outputIsLog},
    };
}

// The rows as Qt Test data: "row" and "outcomes".
inline void addBadLogRows() {
    QTest::addColumn<BadLog>("row");
    QTest::addColumn<QStringList>("outcomes");
    for (const BadLogRow& row : badLogRows())
        QTest::newRow(row.name) << row.row << row.outcomes;
}

// A firmware-500 Data line; `lon` and `f12` are the fields the rows spoil.
inline QByteArray badLogLine(const QByteArray& lon = "8123456", const QByteArray& f12 = "500") {
    return "01;14:22:01;75;-2;4312;4.9;5.1;21;0;12;" + lon + ";48123456;" + f12 + ";42;180;7;1\r\n";
}

// The log of a row as a file scene, with an earlier output beside it.
class LogScene {
  public:
    LogScene(BadLog row, const QString& folder, const QString& format)
        : target(folder + QLatin1Char('/') + outputNameFor(format, logName(row, format))),
          oldTarget(row == BadLog::OutputIsInput || row == BadLog::LinkToInput
                        ? QByteArray()
                        : QByteArray("an earlier output\r\n")),
          m_link(row == BadLog::LinkToInput),
          m_file(fileRow(row), folder, logName(row, format), logBytes(row), writeLog(row),
                 [this](const QString& log) {
                     return (oldTarget.isEmpty() || writeBytes(target, oldTarget)) &&
                            (!m_link || QFile::link(log, target));
                 }) {}

    const QString& log() const { return m_file.path; }
    const QString& skip() const { return m_file.skip; }
    bool rightsDropped() const { return m_file.rights.has_value(); }
    void release() { m_file.release(); }

    // After a failed conversion: what was lost or added on disk, empty when
    // the log, the earlier output and the folder are as they were.
    QString damageAfterFailure() {
        QStringList damage;
        if (const QString changes = m_file.changes(); !changes.isEmpty())
            damage << changes;
        if (!oldTarget.isEmpty() && readBytes(target) != oldTarget)
            damage << QStringLiteral("the earlier output changed");
        if (m_link && !QFileInfo(target).isSymLink())
            damage << QStringLiteral("the link at the output was replaced");
        return damage.join(QStringLiteral("; "));
    }

    const QString target;
    const QByteArray oldTarget; // the earlier output, kept on failure

  private:
    static QString logName(BadLog row, const QString& format) {
        const QString name = QStringLiteral("LOG00001.CSV");
        return row == BadLog::OutputIsInput ? outputNameFor(format, name) : name;
    }
    static BadFile fileRow(BadLog row) {
        switch (row) {
        case BadLog::Missing:
            return BadFile::Missing;
        case BadLog::Folder:
            return BadFile::Folder;
        case BadLog::Unreadable:
            return BadFile::Unreadable;
        case BadLog::ReadOnlyFolder:
            return BadFile::ReadOnlyFolder;
        case BadLog::FullDisk:
            return BadFile::FullDisk;
        default:
            return BadFile::Content;
        }
    }
    // The log's bytes; none for the huge one, which is never held.
    static QByteArray logBytes(BadLog row) {
        switch (row) {
        case BadLog::Missing:
        case BadLog::Folder:
        case BadLog::Empty:
        case BadLog::LongLine:
            return {};
        case BadLog::NulBytes: // a NUL inside the longitude ends the line's fields there
            return badLogLine(QByteArray("81\0 23456", 9));
        case BadLog::BigInteger:
            return badLogLine("4294967296", "4294967296");
        case BadLog::OpenQuote:
            return badLogLine("\"8123456");
        default:
            return badLogLine();
        }
    }
    static std::function<bool(const QString&)> writeLog(BadLog row) {
        if (row != BadLog::LongLine)
            return {};
        // The longitude runs on for 100 MB and the file ends without a line end.
        return [](const QString& path) {
            const QByteArray good = badLogLine();
            const qsizetype lon = good.indexOf("8123456");
            return writeHugeFile(path, good.left(lon), HugeLineBytes, '1',
                                 good.mid(lon + 7).chopped(2));
        };
    }

    bool m_link;
    FileScene m_file;
};
