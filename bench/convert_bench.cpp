// Converts synthetic logs of 10,000 and 1,000,000 lines to GPX with
// altorin-convert and reports wall time, CPU time (user + system of the child)
// and peak memory. For the large log it sets these against GPSBabel turning
// the same 1,000,000 points (unicsv) into GPX 1.1, and against the I/O floor
// of this machine: a child that only reads the log and writes a file of the
// GPX's size with plain read and write calls, once as it is and once with
// the fdatasync and rename the converter's atomic write does.
#include "bench/childrun.h"
#include "bench/loggen.h"

#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

// The I/O floor: the log read in large blocks, then `outputBytes` written to a
// file beside it; with `durable`, written to a temporary file that is synced
// and renamed over the target, as the converter does.
Run runIoFloor(const std::string& log, const std::string& target, long long outputBytes,
               bool durable) {
    return runForked([&] {
        constexpr size_t Block = 1 << 20;
        std::vector<char> buffer(Block, 'x');
        const int in = open(log.c_str(), O_RDONLY);
        if (in < 0)
            return 1;
        while (read(in, buffer.data(), Block) > 0) {
        }
        close(in);
        const std::string written = durable ? target + ".tmp" : target;
        const int out = open(written.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (out < 0)
            return 1;
        for (long long left = outputBytes; left > 0;) {
            const ssize_t n = write(out, buffer.data(), size_t(std::min<long long>(left, Block)));
            if (n <= 0)
                return 1;
            left -= n;
        }
        if (durable && (fdatasync(out) != 0 || rename(written.c_str(), target.c_str()) != 0))
            return 1;
        return close(out) == 0 ? 0 : 1;
    });
}

bool generate(const std::string& log, const std::string& csv, long lines) {
    if (!writeLogFile(log, lines))
        return false;
    if (csv.empty())
        return true;
    std::FILE* out = std::fopen(csv.c_str(), "wb");
    if (!out)
        return false;
    writeUnicsv(out, lines);
    std::fclose(out);
    return true;
}

long countOf(const std::string& path, const char* needle) {
    std::FILE* in = std::fopen(path.c_str(), "rb");
    if (!in)
        return -1;
    long count = 0;
    char line[512];
    while (std::fgets(line, sizeof line, in))
        if (std::strstr(line, needle))
            ++count;
    std::fclose(in);
    return count;
}

long long sizeOf(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? (long long)status.st_size : -1;
}

void print(const char* what, const Run& run) {
    std::printf("%-34s %s wall %.3f s, CPU %.3f s, peak memory %.1f MB\n", what,
                run.ok ? "ok    " : "FAILED", run.seconds, run.cpuSeconds, run.maxRssKb / 1024.0);
}

} // namespace

int main(int argc, char* argv[]) {
    const std::string converter = argc > 1 ? argv[1] : ALTORIN_CONVERT_PATH;
    const std::string folder = makeBenchFolder();
    if (folder.empty())
        return 1;
    std::printf("converter: %s\nwork folder: %s\n", converter.c_str(), folder.c_str());

    const int runs = benchRuns();
    auto best = [runs](const std::function<Run()>& once) { return bestOf(runs, once); };
    std::printf("best of %d runs each (peak memory: the highest)\n\n", runs);

    Run small, large;
    std::string largeLog, largeGpx;
    for (long lines : {10000L, 1000000L}) {
        const std::string log = folder + "/LOG" + std::to_string(lines) + ".CSV";
        const std::string csv = lines == 1000000 ? folder + "/track.csv" : std::string();
        if (!generate(log, csv, lines)) {
            std::perror("generate");
            return 1;
        }
        const Run run = best([&] {
            return runChild({converter, "--firmware", "500", "--format", "gpx", log}, true);
        });
        const std::string gpx = log.substr(0, log.size() - 4) + ".GPX";
        const std::string what = "altorin-convert " + std::to_string(lines) + " lines";
        print(what.c_str(), run);
        std::printf("%34s %ld points, log %.1f MB, GPX %.1f MB\n", "", countOf(gpx, "<trkpt "),
                    sizeOf(log) / 1e6, sizeOf(gpx) / 1e6);
        (lines == 10000 ? small : large) = run;
        largeLog = log;
        largeGpx = gpx;
    }

    const Run babel = best([&] {
        return runChild({"gpsbabel", "-t", "-i", "unicsv", "-f", folder + "/track.csv", "-o",
                         "gpx,gpxver=1.1", "-F", folder + "/out.gpx"},
                        true);
    });
    print("gpsbabel 1000000 lines", babel);
    std::printf("%34s %ld points\n", "", countOf(folder + "/out.gpx", "<trkpt "));

    const long long gpxBytes = sizeOf(largeGpx);
    const std::string floorTarget = folder + "/floor.out";
    const Run plainFloor = best([&] { return runIoFloor(largeLog, floorTarget, gpxBytes, false); });
    print("I/O floor: read + write", plainFloor);
    const Run durableFloor =
        best([&] { return runIoFloor(largeLog, floorTarget, gpxBytes, true); });
    print("I/O floor: + fdatasync, rename", durableFloor);

    const auto ratio = [](double a, double b) { return b > 0 ? a / b : 0; };
    const double cpuRatio = ratio(babel.cpuSeconds, large.cpuSeconds);
    const double plainRatio = ratio(large.seconds, plainFloor.seconds);
    const double durableRatio = ratio(large.seconds, durableFloor.seconds);
    std::printf(
        "\npeak memory 10,000 lines %.1f MB, 1,000,000 lines %.1f MB (target < 16 MB): %s\n",
        small.maxRssKb / 1024.0, large.maxRssKb / 1024.0,
        large.maxRssKb < 16 * 1024 ? "met" : "MISSED");
    std::printf("CPU time: gpsbabel %.3f s / altorin-convert %.3f s = %.1fx (target >= 25x): %s\n",
                babel.cpuSeconds, large.cpuSeconds, cpuRatio, cpuRatio >= 25 ? "met" : "MISSED");
    std::printf("wall time: altorin-convert %.3f s / I/O floor with fdatasync %.3f s = %.2fx "
                "(target <= 2.5x): %s\n",
                large.seconds, durableFloor.seconds, durableRatio,
                durableRatio <= 2.5 ? "met" : "MISSED");
    std::printf("           altorin-convert %.3f s / plain I/O floor %.3f s = %.2fx\n",
                large.seconds, plainFloor.seconds, plainRatio);
    std::printf("wall time: gpsbabel %.3f s / altorin-convert %.3f s = %.1fx\n", babel.seconds,
                large.seconds, ratio(babel.seconds, large.seconds));

    removeBenchFolder(folder);
    return small.ok && large.ok && babel.ok && plainFloor.ok && durableFloor.ok ? 0 : 1;
}
