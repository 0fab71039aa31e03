// altorin-logbook: the pilot's logbook for scripts and the field laptop:
// import cards, list flights, sum them up, edit and export entries.
#include "cli/commandline.h"
#include "logbook/cli/entrytext.h"
#include "logbook/logbook.h"
#include "logbook/logbookcsv.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <cstdio>
#include <variant>

namespace {

void print(const QString& text) {
    std::fputs(text.toUtf8().constData(), stdout);
}

void report(const QString& where, const QString& message) {
    std::fprintf(stderr, "%s: %s\n", where.toUtf8().constData(), message.toUtf8().constData());
}

void printJson(const QJsonArray& array) {
    print(QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Compact)) +
          QLatin1Char('\n'));
}

std::optional<QDate> dateNamed(const QString& text) {
    const QDate date = QDate::fromString(text, Qt::ISODate);
    if (!date.isValid() || text.size() != 10)
        return std::nullopt;
    return date;
}

std::optional<QList<qint64>> idsNamed(const QStringList& texts) {
    QList<qint64> ids;
    for (const QString& text : texts) {
        bool ok = false;
        const qint64 id = text.toLongLong(&ok);
        if (!ok || id <= 0)
            return std::nullopt;
        ids << id;
    }
    return ids;
}

struct Options {
    QCommandLineOption logbook{QStringLiteral("logbook"),
                               QStringLiteral("The logbook folder. Default: "
                                              "$XDG_DATA_HOME/AltorinTool/logbook."),
                               QStringLiteral("DIR")};
    QCommandLineOption firmware{firmwareOption(QStringLiteral(
        "import: auto (default; 407 or 500 by the log's layout), 407, 500 or duo (a log of "
        "17 fields read as the Duo). set: the variant an entry is read again with."))};
    QCommandLineOption model{QStringLiteral("model"),
                             QStringLiteral("import, set: the model of the entries; list, "
                                            "totals: only entries of this model."),
                             QStringLiteral("NAME")};
    QCommandLineOption from{QStringLiteral("from"),
                            QStringLiteral("list, totals: from this local date."),
                            QStringLiteral("DATE")};
    QCommandLineOption to{QStringLiteral("to"),
                          QStringLiteral("list, totals: up to this local date, included."),
                          QStringLiteral("DATE")};
    QCommandLineOption minFlight{
        QStringLiteral("min-flight"),
        QStringLiteral("list, totals: entries of at least this flight time."),
        QStringLiteral("SECONDS")};
    QCommandLineOption text{QStringLiteral("text"),
                            QStringLiteral("list, totals: entries with this text in their site "
                                           "or note, any letter case."),
                            QStringLiteral("TEXT")};
    QCommandLineOption by{QStringLiteral("by"),
                          QStringLiteral("totals: one row per model, month or year."),
                          QStringLiteral("model|month|year")};
    QCommandLineOption since{QStringLiteral("since"),
                             QStringLiteral("totals: only flights from this local date on (a "
                                            "maintenance counter)."),
                             QStringLiteral("DATE")};
    QCommandLineOption site{QStringLiteral("site"), QStringLiteral("set: the flying site."),
                            QStringLiteral("TEXT")};
    QCommandLineOption note{QStringLiteral("note"), QStringLiteral("set: the note."),
                            QStringLiteral("TEXT")};
    QCommandLineOption date{QStringLiteral("date"),
                            QStringLiteral("set: the flight's local date and time."),
                            QStringLiteral("YYYY-MM-DDTHH:MM")};
    QCommandLineOption json{QStringLiteral("json"),
                            QStringLiteral("list, totals, show: JSON instead of a table.")};
};

// The options each command takes, beside --logbook.
QList<const QCommandLineOption*> optionsOf(const QString& command, const Options& o) {
    if (command == QLatin1String("import"))
        return {&o.firmware, &o.model};
    if (command == QLatin1String("list"))
        return {&o.model, &o.from, &o.to, &o.minFlight, &o.text, &o.json};
    if (command == QLatin1String("totals"))
        return {&o.by, &o.since, &o.model, &o.from, &o.to, &o.minFlight, &o.text, &o.json};
    if (command == QLatin1String("show"))
        return {&o.json};
    if (command == QLatin1String("set"))
        return {&o.model, &o.site, &o.note, &o.firmware, &o.date};
    return {};
}

int importLogs(Logbook& logbook, const QCommandLineParser& parser, const Options& o,
               const QStringList& paths) {
    ImportOptions options;
    const QString choice = parser.value(o.firmware).toLower();
    if (parser.isSet(o.firmware) && choice != QLatin1String("auto")) {
        const auto variant = firmwareNamed(choice);
        if (!variant)
            return usageError(QStringLiteral("unknown firmware '%1'").arg(choice));
        options.firmware = variant->isDuo()           ? FirmwareChoice::Duo
                           : variant->hasV500Layout() ? FirmwareChoice::V500
                                                      : FirmwareChoice::V407;
    }
    options.model = parser.value(o.model);
    const ImportReport result =
        logbook.importLogs(paths, options, [](const ImportedLog& log, int, int) {
            QString line = log.path + QStringLiteral(": ") + importOutcomeText(log.outcome);
            if (log.outcome == ImportOutcome::Added)
                line += QStringLiteral(" (Eintrag %1)").arg(log.entryId);
            else if (!log.reason.isEmpty() && log.outcome != ImportOutcome::AlreadyThere)
                line += QStringLiteral(": ") + log.reason;
            else if (log.outcome == ImportOutcome::AlreadyThere)
                line = log.path + QStringLiteral(": ") + log.reason;
            if (log.outcome == ImportOutcome::Failed) {
                std::fflush(stdout);
                std::fprintf(stderr, "%s\n", line.toUtf8().constData());
            } else {
                print(line + QLatin1Char('\n'));
                std::fflush(stdout);
            }
            return true;
        });
    print(QStringLiteral("%1 hinzugefügt, %2 schon im Flugbuch, %3 übersprungen, %4 "
                         "fehlgeschlagen\n")
              .arg(result.added)
              .arg(result.alreadyThere)
              .arg(result.skipped)
              .arg(result.failed));
    return result.failed > 0 ? 1 : 0;
}

// The filter list and totals share; the usage error's text where an option
// is malformed. --since is the maintenance counter's name for --from.
std::variant<LogbookFilter, QString> filterOf(const QCommandLineParser& parser, const Options& o) {
    LogbookFilter filter;
    if (parser.isSet(o.model))
        filter.model = parser.value(o.model);
    if (parser.isSet(o.since) && parser.isSet(o.from))
        return QStringLiteral("--since and --from name the same date: give one");
    for (auto [option, target] : {std::pair{&o.from, &filter.from},
                                  std::pair{&o.since, &filter.from}, std::pair{&o.to, &filter.to}})
        if (parser.isSet(*option)) {
            *target = dateNamed(parser.value(*option));
            if (!*target)
                return QStringLiteral("--%1 wants a date as YYYY-MM-DD")
                    .arg(option->names().front());
        }
    if (parser.isSet(o.minFlight)) {
        bool ok = false;
        filter.minFlightTime = parser.value(o.minFlight).toDouble(&ok);
        if (!ok || filter.minFlightTime < 0)
            return QStringLiteral("--min-flight wants seconds");
    }
    filter.text = parser.value(o.text);
    return filter;
}

int listEntries(const Logbook& logbook, const QCommandLineParser& parser, const Options& o) {
    const auto filter = filterOf(parser, o);
    if (const auto* usage = std::get_if<QString>(&filter))
        return usageError(*usage);
    const auto entries = logbook.entries(std::get<LogbookFilter>(filter));
    if (!entries) {
        report(logbook.folder(), entries.failure().message);
        return 1;
    }
    if (parser.isSet(o.json)) {
        QJsonArray array;
        for (const LogbookEntry& entry : *entries)
            array.append(entryJson(entry));
        printJson(array);
    } else {
        print(entryTable(*entries));
    }
    return 0;
}

int showTotals(const Logbook& logbook, const QCommandLineParser& parser, const Options& o) {
    TotalsGrouping grouping = TotalsGrouping::All;
    QString heading = QStringLiteral("All");
    if (parser.isSet(o.by)) {
        const QString by = parser.value(o.by);
        if (by == QLatin1String("model"))
            grouping = TotalsGrouping::Model;
        else if (by == QLatin1String("month"))
            grouping = TotalsGrouping::Month;
        else if (by == QLatin1String("year"))
            grouping = TotalsGrouping::Year;
        else
            return usageError(QStringLiteral("--by wants model, month or year"));
        heading = by.left(1).toUpper() + by.mid(1);
    }
    const auto filter = filterOf(parser, o);
    if (const auto* usage = std::get_if<QString>(&filter))
        return usageError(*usage);
    const auto entries = logbook.entries(std::get<LogbookFilter>(filter));
    if (!entries) {
        report(logbook.folder(), entries.failure().message);
        return 1;
    }
    const std::vector<LogbookTotals> totals = totalsOf(*entries, grouping);
    if (parser.isSet(o.json)) {
        QJsonArray array;
        for (const LogbookTotals& t : totals)
            array.append(totalsJson(t));
        printJson(array);
    } else {
        print(totalsTable(totals, heading));
    }
    return 0;
}

int showEntry(const Logbook& logbook, qint64 id, bool json) {
    const auto entry = logbook.entry(id);
    if (!entry || !*entry) {
        report(logbook.folder(), entry ? QStringLiteral("kein Eintrag %1 im Flugbuch").arg(id)
                                       : entry.failure().message);
        return 1;
    }
    if (json)
        print(QString::fromUtf8(QJsonDocument(entryJson(**entry)).toJson(QJsonDocument::Compact)) +
              QLatin1Char('\n'));
    else
        print(entryDetails(**entry));
    return 0;
}

int renameModel(Logbook& logbook, const QString& from, const QString& to) {
    const auto models = logbook.models();
    if (!models) {
        report(logbook.folder(), models.failure().message);
        return 1;
    }
    if (!models->contains(from)) {
        report(logbook.folder(), QStringLiteral("kein Eintrag mit dem Modell \"%1\"").arg(from));
        return 1;
    }
    if (auto failure = logbook.renameModel(from, to.trimmed())) {
        report(logbook.folder(), failure->message);
        return 1;
    }
    return 0;
}

int setEntries(Logbook& logbook, const QCommandLineParser& parser, const Options& o,
               const QList<qint64>& ids) {
    EntryChanges changes;
    if (parser.isSet(o.model))
        changes.model = parser.value(o.model);
    if (parser.isSet(o.site))
        changes.site = parser.value(o.site);
    if (parser.isSet(o.note))
        changes.note = parser.value(o.note);
    if (parser.isSet(o.firmware)) {
        changes.firmware = firmwareNamed(parser.value(o.firmware));
        if (!changes.firmware)
            return usageError(QStringLiteral("set wants --firmware 407, 500 or duo"));
    }
    if (parser.isSet(o.date)) {
        const QString text = parser.value(o.date);
        const QDateTime date = QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd'T'HH:mm"));
        if (!date.isValid())
            return usageError(QStringLiteral("--date wants YYYY-MM-DDTHH:MM"));
        changes.date = date;
    }
    if (!changes.model && !changes.site && !changes.note && !changes.firmware && !changes.date)
        return usageError(QStringLiteral("set wants what to change (--model, --site, --note, "
                                         "--firmware or --date)"));
    if (auto failure = logbook.update(ids, changes)) {
        report(logbook.folder(), failure->message);
        return 1;
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("altorin-logbook"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(VersionText));

    const Options o;
    const CommandHelp help{
        QStringLiteral(
            "altorin-logbook [--logbook DIR] import [--firmware auto|407|500|duo] [--model "
            "NAME] PATH...\n"
            "altorin-logbook [--logbook DIR] list [--model M] [--from DATE] [--to DATE] "
            "[--min-flight SECONDS] [--text TEXT] [--json]\n"
            "altorin-logbook [--logbook DIR] totals [--by model|month|year] [--since DATE] "
            "[--model M] [--from DATE] [--to DATE] [--min-flight SECONDS] [--text TEXT] "
            "[--json]\n"
            "altorin-logbook [--logbook DIR] show ID [--json]\n"
            "altorin-logbook [--logbook DIR] set ID... [--model NAME] [--site TEXT] [--note "
            "TEXT] [--firmware 407|500|duo] [--date YYYY-MM-DDTHH:MM]\n"
            "altorin-logbook [--logbook DIR] rename-model OLD NEW\n"
            "altorin-logbook [--logbook DIR] remove ID...\n"
            "altorin-logbook [--logbook DIR] export-csv FILE"),
        QStringLiteral(
            "Keeps every flight log once, with a copy, so that the card can be emptied: import "
            "takes log files or folders (a card: every LOG?????.CSV in it and its subfolders) "
            "and prints one line per log (added, already there, skipped, failed) and the counts. "
            "A log is known by its bytes, so a card imported twice or a renamed copy adds "
            "nothing. Flight time and launches count the stretches in which the model was in "
            "the air.\n"
            "Dates are local, as YYYY-MM-DD; ranges include both ends.\n"
            "Exit status: 0 when all went well, 1 when a log failed or the logbook could not be "
            "read or written, 2 for a usage error."),
        {helpOption(), versionOption(), o.logbook, o.firmware, o.model, o.from, o.to, o.minFlight,
         o.text, o.by, o.since, o.site, o.note, o.date, o.json},
        {{QStringLiteral("altorin-logbook import --model \"Easy Glider\" /media/card"),
          QStringLiteral("Every new log of the card into the logbook.")},
         {QStringLiteral("altorin-logbook totals --by year"),
          QStringLiteral("Flights, launches and hours per year.")},
         {QStringLiteral("altorin-logbook totals --since 2026-05-01"),
          QStringLiteral("Flights and hours since the last servo check.")}}};

    QCommandLineParser parser;
    parser.addPositionalArgument(QStringLiteral("command"),
                                 QStringLiteral("import, list, totals, show, set, rename-model, "
                                                "remove or export-csv"));
    if (const auto done = parseCommandLine(parser, help))
        return *done;

    QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return usageError(QStringLiteral("a command is required"));
    const QString command = args.takeFirst();
    static const QSet<QString> commands{"import", "list",         "totals", "show",
                                        "set",    "rename-model", "remove", "export-csv"};
    if (!commands.contains(command))
        return usageError(QStringLiteral("unknown command '%1'").arg(command));
    const QList<const QCommandLineOption*> allowed = optionsOf(command, o);
    for (const QCommandLineOption* option :
         {&o.firmware, &o.model, &o.from, &o.to, &o.minFlight, &o.text, &o.by, &o.since, &o.site,
          &o.note, &o.date, &o.json})
        if (parser.isSet(*option) && !allowed.contains(option))
            return usageError(
                QStringLiteral("--%1 does not go with %2").arg(option->names().front(), command));

    const bool takesIds = command == QLatin1String("set") || command == QLatin1String("remove") ||
                          command == QLatin1String("show");
    const auto ids = takesIds ? idsNamed(args) : std::optional<QList<qint64>>(QList<qint64>());
    if (!ids)
        return usageError(QStringLiteral("%1 wants entry numbers").arg(command));
    if (command == QLatin1String("import") && args.isEmpty())
        return usageError(QStringLiteral("import wants logs or folders"));
    if ((command == QLatin1String("list") || command == QLatin1String("totals")) && !args.isEmpty())
        return usageError(QStringLiteral("%1 takes no argument").arg(command));
    if (takesIds && args.isEmpty())
        return usageError(QStringLiteral("%1 wants entry numbers").arg(command));
    if (command == QLatin1String("show") && args.size() != 1)
        return usageError(QStringLiteral("show wants one entry number"));
    if (command == QLatin1String("export-csv") && args.size() != 1)
        return usageError(QStringLiteral("export-csv wants one file"));
    if (command == QLatin1String("rename-model") &&
        (args.size() != 2 || args[0].trimmed().isEmpty() || args[1].trimmed().isEmpty()))
        return usageError(QStringLiteral("rename-model wants the old and the new name"));

    const QString folder =
        parser.isSet(o.logbook) ? parser.value(o.logbook) : Logbook::defaultFolder();
    // Only an import makes a logbook: a mistyped --logbook would otherwise
    // leave one in whatever folder it names, and list nothing.
    if (command != QLatin1String("import") && !Logbook::existsIn(folder)) {
        report(folder, QStringLiteral("kein Flugbuch in diesem Ordner (Logs mit import "
                                      "aufnehmen, oder --logbook prüfen)"));
        return finishOutput(1);
    }
    auto opened = Logbook::open(folder);
    if (!opened) {
        report(folder, opened.failure().message);
        return finishOutput(1);
    }
    Logbook& logbook = **opened;

    int status = 0;
    if (command == QLatin1String("import")) {
        status = importLogs(logbook, parser, o, args);
    } else if (command == QLatin1String("list")) {
        status = listEntries(logbook, parser, o);
    } else if (command == QLatin1String("totals")) {
        status = showTotals(logbook, parser, o);
    } else if (command == QLatin1String("show")) {
        status = showEntry(logbook, ids->front(), parser.isSet(o.json));
    } else if (command == QLatin1String("set")) {
        status = setEntries(logbook, parser, o, *ids);
    } else if (command == QLatin1String("rename-model")) {
        status = renameModel(logbook, args[0], args[1]);
    } else if (command == QLatin1String("remove")) {
        if (auto failure = logbook.remove(*ids)) {
            report(logbook.folder(), failure->message);
            status = 1;
        }
    } else {
        const auto entries = logbook.entries();
        const Status written = entries ? writeLogbookCsv(args.front(), *entries, logbook.folder())
                                       : Status(entries.failure());
        if (written) {
            report(args.front(), written->message);
            status = 1;
        }
    }
    return finishOutput(status);
}
