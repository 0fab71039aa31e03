// Fuzz target: arbitrary bytes imported as a log into a logbook. The first
// byte picks the firmware choice of the import (auto, 407, 500, duo). Checks
// that the import never crashes, that a log is added, skipped or failed and
// nothing else, that an added entry has finite figures (its thermal figures
// among them) and a copy of exactly the bytes, that the logbook stays
// consistent (one copy per entry), and that removing the entry takes its copy
// along.
#include "fuzzsupport.h"

#include "logbook/logbook.h"

#include <QDir>
#include <QFile>
#include <cmath>
#include <cstdlib>
#include <memory>

using namespace fuzz;

namespace {

std::unique_ptr<Logbook> logbook;

void closeLogbook() {
    const QString folder = logbook ? logbook->folder() : QString();
    logbook.reset();
    if (!folder.isEmpty())
        QDir(folder).removeRecursively();
}

void checkFinite(const LogbookEntry& e) {
    check(std::isfinite(e.flightTime) && e.flightTime >= 0 && e.flightTime <= e.logTime + 1e-6,
          "flight time not within the log time");
    check(e.launches >= 0 && (e.launches == 0) == (e.flightTime == 0), "launches without time");
    for (const std::optional<double>* figure :
         {&e.startAltitude, &e.maxAltitude, &e.minAltitude, &e.altitudeGain, &e.maxGpsAltitude,
          &e.maxClimb, &e.maxSink, &e.maxSpeed, &e.trackDistance, &e.maxStartDistance})
        check(!*figure || std::isfinite(**figure), "a figure that is no number");
    // A log just read has its thermal figures; only an upgrade leaves them out.
    check(e.thermalCount && *e.thermalCount >= 0 && !e.thermalSource.isEmpty(),
          "an added entry without its thermal figures");
    check(!e.circlingShare || (*e.circlingShare >= 0 && *e.circlingShare <= 1),
          "a circling share outside 0 to 1");
    check((*e.thermalCount == 0) == !e.bestThermalGain, "a best thermal without a thermal");
    for (const std::optional<double>* figure :
         {&e.thermalClimb, &e.bestThermalClimb, &e.bestThermalGain})
        check(!*figure || std::isfinite(**figure), "a thermal figure that is no number");
}

qsizetype copies() {
    return QDir(logbook->folder() + QStringLiteral("/logs")).entryList(QDir::Files).size();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("TZ", "UTC", 1);
    auto opened = Logbook::open(scratchPath("book"));
    if (!opened)
        fail("cannot open a logbook", opened.failure().message.toStdString());
    logbook = std::move(*opened);
    std::atexit(closeLogbook);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0)
        return 0;
    ImportOptions options;
    options.firmware = FirmwareChoice(data[0] % 4);
    ++data;
    --size;
    static const std::string path = scratchFolder() + "/LOG00001.CSV";
    writeBytes(path, data, size);

    const ImportedLog imported = logbook->importLog(QString::fromStdString(path), options);
    check(imported.outcome != ImportOutcome::AlreadyThere, "an emptied logbook knows the log");
    const auto entries = logbook->entries();
    check(entries.ok(), "the logbook cannot be listed");
    if (imported.outcome != ImportOutcome::Added) {
        check(!imported.reason.isEmpty(), "skipped or failed without a reason");
        check(entries->empty() && copies() == 0, "a log not added left an entry or a copy");
        return 0;
    }
    check(entries->size() == 1 && copies() == 1, "not one entry with one copy");
    const LogbookEntry& entry = entries->front();
    checkFinite(entry);
    check(entry.id == imported.entryId, "the entry is not the one reported");
    check(readBytes(logbook->copyPath(entry).toStdString()) ==
              std::string(reinterpret_cast<const char*>(data), size),
          "the copy differs from the log");
    check(!logbook->remove({entry.id}), "the entry cannot be removed");
    check(copies() == 0, "the copy stayed after its entry");
    return 0;
}
