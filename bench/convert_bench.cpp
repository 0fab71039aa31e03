// Converts synthetic logs of 10,000 and 1,000,000 lines to GPX with
// altorin-convert and reports wall time and peak memory (max RSS of the child),
// then lets GPSBabel turn the same 1,000,000 points (unicsv) into GPX 1.1.
#include "bench/childrun.h"
#include "bench/loggen.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool generate(const std::string& log, const std::string& csv, long lines) {
    std::FILE* out = std::fopen(log.c_str(), "wb");
    if (!out)
        return false;
    writeLog(out, lines);
    std::fclose(out);
    if (csv.empty())
        return true;
    out = std::fopen(csv.c_str(), "wb");
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

} // namespace

int main(int argc, char* argv[]) {
    const std::string converter = argc > 1 ? argv[1] : ALTORIN_CONVERT_PATH;
    const std::string folder = makeBenchFolder();
    if (folder.empty())
        return 1;
    std::printf("converter: %s\nwork folder: %s\n\n", converter.c_str(), folder.c_str());

    const int runs = benchRuns();
    auto best = [runs](const std::vector<std::string>& args) { return bestRun(args, runs); };
    std::printf("best of %d runs each\n", runs);

    Run small, large;
    for (long lines : {10000L, 1000000L}) {
        const std::string log = folder + "/LOG" + std::to_string(lines) + ".CSV";
        const std::string csv = lines == 1000000 ? folder + "/track.csv" : std::string();
        if (!generate(log, csv, lines)) {
            std::perror("generate");
            return 1;
        }
        const Run run = best({converter, "--firmware", "500", "--format", "gpx", log});
        const std::string gpx = log.substr(0, log.size() - 4) + ".GPX";
        std::printf("altorin-convert %8ld lines: %s %.3f s, peak memory %.1f MB, %ld points\n",
                    lines, run.ok ? "ok" : "FAILED", run.seconds, run.maxRssKb / 1024.0,
                    countOf(gpx, "<trkpt "));
        (lines == 10000 ? small : large) = run;
    }

    const Run babel = best({"gpsbabel", "-t", "-i", "unicsv", "-f", folder + "/track.csv", "-o",
                            "gpx,gpxver=1.1", "-F", folder + "/out.gpx"});
    std::printf("gpsbabel        %8d lines: %s %.3f s, peak memory %.1f MB, %ld points\n\n",
                1000000, babel.ok ? "ok" : "FAILED", babel.seconds, babel.maxRssKb / 1024.0,
                countOf(folder + "/out.gpx", "<trkpt "));

    const double ratio = large.seconds > 0 ? babel.seconds / large.seconds : 0;
    std::printf("peak memory 10,000 lines %.1f MB, 1,000,000 lines %.1f MB (target < 16 MB): %s\n",
                small.maxRssKb / 1024.0, large.maxRssKb / 1024.0,
                large.maxRssKb < 16 * 1024 ? "met" : "MISSED");
    std::printf("speed: gpsbabel %.3f s / altorin-convert %.3f s = %.1fx (target >= 15x): %s\n",
                babel.seconds, large.seconds, ratio, ratio >= 15 ? "met" : "MISSED");

    removeBenchFolder(folder);
    return small.ok && large.ok && babel.ok ? 0 : 1;
}
