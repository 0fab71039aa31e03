// The flight summary of a generated 1,000,000-line log against its GPX
// conversion, both by altorin-convert in child processes: wall time, their
// ratio and peak memory. Then, in this process, the time to read the log for
// the view and the bytes its columns hold.
#include "bench/childrun.h"
#include "bench/loggen.h"
#include "flight/flightlog.h"

#include <QString>
#include <chrono>
#include <string>
#include <vector>

namespace {

constexpr long Lines = 1000000;

bool generate(const std::string& path, long lines) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out)
        return false;
    writeLog(out, lines);
    return std::fclose(out) == 0;
}

template <typename T> size_t bytesOf(const std::vector<T>& column) {
    return column.capacity() * sizeof(T);
}

size_t columnBytes(const FlightLog& log) {
    size_t bytes = bytesOf(log.elapsed) + bytesOf(log.segments);
    for (const auto* column :
         {&log.baroAltitude, &log.latitude, &log.longitude, &log.gpsAltitude, &log.speed,
          &log.climb, &log.trackDistance, &log.startDistance, &log.east, &log.north})
        bytes += bytesOf(*column);
    return bytes;
}

void print(const char* what, const Run& run) {
    std::printf("%-34s %s %.3f s, peak memory %.1f MB\n", what, run.ok ? "ok    " : "FAILED",
                run.seconds, run.maxRssKb / 1024.0);
}

} // namespace

int main(int argc, char* argv[]) {
    const std::string converter = argc > 1 ? argv[1] : ALTORIN_CONVERT_PATH;
    const std::string folder = makeBenchFolder();
    if (folder.empty())
        return 1;
    const std::string log = folder + "/LOG00001.CSV";
    const std::string small = folder + "/LOG00002.CSV";
    if (!generate(log, Lines) || !generate(small, 10)) {
        std::perror("generate");
        return 1;
    }
    const int runs = benchRuns();
    std::printf("converter: %s\nlog: %ld lines, best of %d runs each\n\n", converter.c_str(), Lines,
                runs);

    const Run base = bestRun({converter, "--summary", "--firmware", "500", small}, runs);
    const Run summary = bestRun({converter, "--summary", "--firmware", "500", log}, runs);
    const Run gpx = bestRun({converter, "--firmware", "500", "--format", "gpx", log}, runs);
    print("--summary, 10 lines (base)", base);
    print("--summary, 1,000,000 lines", summary);
    print("--format gpx, 1,000,000 lines", gpx);
    const double ratio = gpx.seconds > 0 ? summary.seconds / gpx.seconds : 0;
    std::printf("summary / GPX time: %.2f\n", ratio);
    const double heldMb = (summary.maxRssKb - base.maxRssKb) / 1024.0;
    std::printf("summary peak memory over the base: %.1f MB (target < 60 MB): %s\n\n", heldMb,
                heldMb < 60 ? "met" : "MISSED");

    double fastest = 0;
    size_t bytes = 0;
    bool ok = true;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const Result<FlightLog> flight =
            readFlightLog(QString::fromStdString(log), FirmwareVariant{500, 0});
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ok = ok && flight.ok() && flight->size() == size_t(Lines);
        if (flight.ok())
            bytes = columnBytes(*flight);
        if (i == 0 || seconds < fastest)
            fastest = seconds;
    }
    std::printf("readFlightLog in process: %s %.3f s (target well under 1 s): %s\n",
                ok ? "ok" : "FAILED", fastest, fastest < 0.5 ? "met" : "MISSED");
    std::printf("columns held after reading: %.1f MB, %.1f bytes a sample\n", bytes / 1048576.0,
                double(bytes) / double(Lines));

    removeBenchFolder(folder);
    return ok && base.ok && summary.ok && gpx.ok ? 0 : 1;
}
