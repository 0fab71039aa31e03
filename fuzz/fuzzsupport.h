#pragma once

// Shared by the fuzz targets: a scratch folder of this process (in memory where
// the machine has /dev/shm), and small file helpers that abort loudly, so a
// broken invariant is a finding like a crash.

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace fuzz {

// "<tmp>/altorin-fuzz-<pid>", created on first use and removed at exit.
const std::string& scratchFolder();
QString scratchPath(const char* name);

void writeBytes(const std::string& path, const uint8_t* data, size_t size);
std::string readBytes(const std::string& path);
bool exists(const std::string& path);
// Names in the scratch folder, sorted.
std::vector<std::string> folderEntries();
void removeFile(const std::string& path);

[[noreturn]] inline void fail(const char* what, const std::string& detail = {}) {
    std::fprintf(stderr, "invariant broken: %s %s\n", what, detail.c_str());
    std::abort();
}

inline void check(bool ok, const char* what, const std::string& detail = {}) {
    if (!ok)
        fail(what, detail);
}

} // namespace fuzz
