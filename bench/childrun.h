#pragma once

// Runs a program (or a piece of work) as a child process and measures it:
// wall time, CPU time (user + system) and peak memory (the child's max RSS),
// so that each figure is the child's alone.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

struct Run {
    bool ok = false;
    double seconds = 0;    // wall
    double cpuSeconds = 0; // user + system of the child
    long maxRssKb = 0;
};

inline double secondsOf(const timeval& t) {
    return double(t.tv_sec) + double(t.tv_usec) / 1e6;
}

// Runs `child` in a forked process; its return value is the exit status (0:
// success). With `output`, what the child writes on its standard output is
// collected there (a child that reports its own figures).
inline Run runForked(const std::function<int()>& child, std::string* output = nullptr) {
    Run run;
    int pipeFds[2] = {-1, -1};
    if (output && pipe(pipeFds) != 0)
        return run;
    std::fflush(stdout);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (output) {
            dup2(pipeFds[1], STDOUT_FILENO);
            close(pipeFds[0]);
            close(pipeFds[1]);
        }
        const int status = child();
        std::fflush(stdout);
        _exit(status);
    }
    if (output) {
        close(pipeFds[1]);
        char buffer[4096];
        ssize_t got = 0;
        while (pid > 0 && (got = read(pipeFds[0], buffer, sizeof buffer)) > 0)
            output->append(buffer, size_t(got));
        close(pipeFds[0]);
    }
    int status = 0;
    struct rusage usage {};
    if (pid < 0 || wait4(pid, &status, 0, &usage) < 0)
        return run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    run.cpuSeconds = secondsOf(usage.ru_utime) + secondsOf(usage.ru_stime);
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    run.maxRssKb = usage.ru_maxrss;
    return run;
}

inline Run runChild(std::vector<std::string> args, bool quiet) {
    return runForked([&args, quiet] {
        setenv("TZ", "UTC", 1);
        if (quiet && !freopen("/dev/null", "w", stdout))
            return 126;
        std::vector<char*> argv;
        for (auto& a : args)
            argv.push_back(a.data());
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        return 127;
    });
}

// Best of `runs` (ALTORIN_BENCH_RUNS, default 3), so a busy moment of the
// machine does not decide the figures; the peak memory is the largest seen.
inline int benchRuns() {
    const char* runsText = getenv("ALTORIN_BENCH_RUNS");
    return runsText ? std::max(1, atoi(runsText)) : 3;
}

// The best wall and CPU time of `runs` runs of `once`, each figure on its own.
inline Run bestOf(int runs, const std::function<Run()>& once) {
    Run fastest;
    for (int i = 0; i < runs; ++i) {
        const Run run = once();
        if (!run.ok)
            return run;
        if (i == 0) {
            fastest = run;
            continue;
        }
        fastest.seconds = std::min(fastest.seconds, run.seconds);
        fastest.cpuSeconds = std::min(fastest.cpuSeconds, run.cpuSeconds);
        fastest.maxRssKb = std::max(fastest.maxRssKb, run.maxRssKb);
    }
    return fastest;
}

inline Run bestRun(const std::vector<std::string>& args, int runs) {
    return bestOf(runs, [&args] { return runChild(args, true); });
}

// A fresh work folder under /tmp, empty string when none can be made.
inline std::string makeBenchFolder() {
    char folderTemplate[] = "/tmp/altorin-bench-XXXXXX";
    if (!mkdtemp(folderTemplate)) {
        std::perror("mkdtemp");
        return std::string();
    }
    return folderTemplate;
}

// Removes the work folder, unless ALTORIN_BENCH_KEEP asks to keep it.
inline void removeBenchFolder(const std::string& folder) {
    if (getenv("ALTORIN_BENCH_KEEP"))
        return;
    const std::string cleanup = "rm -rf '" + folder + "'";
    if (std::system(cleanup.c_str()) != 0)
        std::fprintf(stderr, "could not remove %s\n", folder.c_str());
}
