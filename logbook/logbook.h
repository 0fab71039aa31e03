#pragma once

#include "core/result.h"
#include "logbook/logbookentry.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

class LogbookDatabase;
struct PreparedLog;

// What became of one log offered to the logbook.
enum class ImportOutcome {
    Added,
    AlreadyThere, // a log of the same bytes is kept already (same card again, a renamed copy)
    Skipped,      // no Data line: a device switched on and off
    Failed,       // could not be read or kept; nothing was added
};

struct ImportedLog {
    QString path;
    ImportOutcome outcome;
    qint64 entryId = 0; // the new entry (Added) or the one kept (AlreadyThere)
    QString reason;     // Failed: why; Skipped/AlreadyThere: what the pilot is told
};

struct ImportOptions {
    FirmwareChoice firmware = FirmwareChoice::Auto;
    QString model; // given to every added entry
};

struct ImportReport {
    std::vector<ImportedLog> logs;
    qint64 added = 0, alreadyThere = 0, skipped = 0, failed = 0;
    bool stopped = false; // the caller stopped it between two logs

    void count(const ImportedLog& log);
};

// What `update` changes on every entry it is given; parts left empty stay.
struct EntryChanges {
    std::optional<QString> model;
    std::optional<QString> site;
    std::optional<QString> note;
    std::optional<QDateTime> date;
    // The figures are then read again from the copy.
    std::optional<FirmwareVariant> firmware;

    // Sets the model, site, note and date given; the firmware needs the copy.
    void applyTo(LogbookEntry& entry) const;
};

// A pilot's logbook: a folder with the database and a copy of every imported
// log, named by the SHA-256 of its bytes, so that the card can be emptied.
// One Logbook per thread: its database connection belongs to the thread that
// opened it. Several programs may open one folder at once; writers wait for
// each other.
class Logbook {
  public:
    // $XDG_DATA_HOME/AltorinTool/logbook (~/.local/share/AltorinTool/logbook).
    static QString defaultFolder();

    // Opens the logbook in `folder`, creating folder and database when there
    // is none, and upgrading an older one. A file that is no logbook database
    // or is damaged fails with FailureKind::LogbookDamaged ("Flugbuch
    // beschädigt: …") and is left exactly as it is. Copies without an entry
    // (an import killed between copy and entry) are removed.
    static Result<std::unique_ptr<Logbook>> open(const QString& folder);
    // Whether `folder` holds a logbook (its database file), without creating one.
    static bool existsIn(const QString& folder);
    ~Logbook();
    Logbook(const Logbook&) = delete;
    Logbook& operator=(const Logbook&) = delete;

    QString folder() const;
    // The copy of an entry's log, to open in the flight view.
    QString copyPath(const LogbookEntry& entry) const;

    // The logs that import paths name: a file as it is, a folder (a card) as
    // every LOG?????.CSV in it and its subfolders, any letter case, in path
    // order. A folder without logs stays in the list as it is; importLog()
    // then reports it.
    static QStringList logsNamedBy(const QStringList& paths);

    // One log: copy written and synced, then its entry in one transaction.
    ImportedLog importLog(const QString& path, const ImportOptions& options = {});
    // Every log the paths name. `progress` (when given) is called after each
    // log with the logs done so far and their number; it returns false to
    // stop before the next log.
    ImportReport
    importLogs(const QStringList& paths, const ImportOptions& options = {},
               const std::function<bool(const ImportedLog&, int done, int total)>& progress = {});

    // The entries the filter takes, by date, then id.
    Result<std::vector<LogbookEntry>> entries(const LogbookFilter& filter = {}) const;
    // Nothing when there is no entry of that number.
    Result<std::optional<LogbookEntry>> entry(qint64 id) const;
    // The models in use, in order.
    Result<QStringList> models() const;
    // A number that changes whenever another program (or another opening in
    // this one) has changed the logbook since it was last asked: a window
    // reads its entries again when it does.
    Result<qint64> othersChanges() const;

    // Changes every entry of `ids` in one transaction; an id without entry
    // fails and changes nothing.
    Status update(const QList<qint64>& ids, const EntryChanges& changes);
    // Every entry of model `from` gets model `to`.
    Status renameModel(const QString& from, const QString& to);
    // Removes the entries and their copies; an id without entry fails and
    // removes nothing.
    Status remove(const QList<qint64>& ids);

  private:
    explicit Logbook(std::unique_ptr<LogbookDatabase> database);
    QString copiesFolder() const;
    ImportedLog commitLog(PreparedLog& log, const ImportOptions& options);

    std::unique_ptr<LogbookDatabase> m_db;
    int m_lockFd = -1; // the folder's import lock
};

// "hinzugefügt", "schon im Flugbuch", "übersprungen", "fehlgeschlagen".
QString importOutcomeText(ImportOutcome outcome);
