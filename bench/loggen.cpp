// altorin-loggen N LOGFILE [UNICSV]: writes a synthetic log of N Data lines
// (firmware from V500) and, when asked, the same points as GPSBabel unicsv.
#include "bench/loggen.h"

#include <cstdlib>

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: altorin-loggen N LOGFILE [UNICSV]\n");
        return 2;
    }
    const long lines = std::strtol(argv[1], nullptr, 10);
    std::FILE* log = std::fopen(argv[2], "wb");
    if (!log) {
        std::perror(argv[2]);
        return 1;
    }
    writeLog(log, lines);
    std::fclose(log);
    if (argc > 3) {
        std::FILE* csv = std::fopen(argv[3], "wb");
        if (!csv) {
            std::perror(argv[3]);
            return 1;
        }
        writeUnicsv(csv, lines);
        std::fclose(csv);
    }
    return 0;
}
