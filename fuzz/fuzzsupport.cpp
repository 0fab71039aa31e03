#include "fuzzsupport.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fuzz {
namespace {

std::string folder;

void removeFolder(const std::string& path);

void removeScratch() {
    removeFolder(folder);
}

void removeFolder(const std::string& path) {
    if (DIR* dir = ::opendir(path.c_str())) {
        while (const dirent* entry = ::readdir(dir))
            ::unlink((path + '/' + entry->d_name).c_str());
        ::closedir(dir);
    }
    ::rmdir(path.c_str());
}

// A run that crashed, was killed or ended through _Exit never got to atexit:
// the folders of processes that are gone are removed by the next run.
void removeStaleScratch(const std::string& base) {
    DIR* dir = ::opendir(base.c_str());
    if (!dir)
        return;
    const std::string prefix = "altorin-fuzz-";
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const long pid = std::atol(name.c_str() + prefix.size());
        if (pid > 0 && ::kill(pid_t(pid), 0) != 0 && errno == ESRCH)
            removeFolder(base + '/' + name);
    }
    ::closedir(dir);
}

std::string makeScratch() {
    struct stat st {};
    // A memory file system keeps the many small writes off the disk.
    const std::string base =
        ::stat("/dev/shm", &st) == 0 && S_ISDIR(st.st_mode) && ::access("/dev/shm", W_OK) == 0
            ? "/dev/shm"
            : "/tmp";
    removeStaleScratch(base);
    folder = base + "/altorin-fuzz-" + std::to_string(::getpid());
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        fail("cannot create scratch folder", folder);
    std::atexit(removeScratch);
    return folder;
}

} // namespace

const std::string& scratchFolder() {
    static const std::string made = makeScratch();
    return made;
}

QString scratchPath(const char* name) {
    return QString::fromStdString(scratchFolder() + '/' + name);
}

void writeBytes(const std::string& path, const uint8_t* data, size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    check(fd >= 0, "cannot create", path);
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        check(n > 0, "cannot write", path);
        data += n;
        size -= size_t(n);
    }
    ::close(fd);
}

std::string readBytes(const std::string& path) {
    std::string bytes;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    check(fd >= 0, "cannot open", path);
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        check(n >= 0, "cannot read", path);
        if (n == 0)
            break;
        bytes.append(buffer, size_t(n));
    }
    ::close(fd);
    return bytes;
}

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::vector<std::string> folderEntries() {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return names;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..")
            names.push_back(name);
    }
    ::closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

void removeFile(const std::string& path) {
    check(::unlink(path.c_str()) == 0, "cannot remove", path);
}

} // namespace fuzz
