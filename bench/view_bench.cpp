// The flight view with generated logs of 10,000 and 1,000,000 lines, each in
// a child process on the offscreen platform: the time from asking for the
// view to its first paint (reading the log included), the reading alone,
// a zoom's and a "show all" redraw, and the child's peak memory.
//   altorin-view-bench            all figures
//   altorin-view-bench LOG        one child run on LOG (what the parent starts)
#include "app/programstate.h"
#include "app/tform1.h"
#include "app/ui/dialogs.h"
#include "bench/childrun.h"
#include "bench/loggen.h"
#include "flight/flightlog.h"
#include "flight/ui/flightview.h"

#include <QApplication>
#include <chrono>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Answers every box without a window, so the start reminder does not wait.
class SilentDialogs final : public DialogSeam {
  public:
    void information(QWidget*, const QString&) override {}
    void error(QWidget*, const QString& text) override {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
    }
    QString runFileDialog(QFileDialog*) override { return {}; }
};

// Paints the whole window now, as its first showing does.
void paint(FlightView* view) {
    QCoreApplication::processEvents();
    view->grab();
}

int child(int argc, char* argv[]) {
    QApplication app(argc, argv);
    SilentDialogs silent;
    setDialogs(&silent);
    TForm1 form;
    programState().firmware = FirmwareVariant{500, 0};
    const QString log = QString::fromLocal8Bit(argv[1]);

    auto start = Clock::now();
    if (!readFlightLog(log, programState().firmware))
        return 1;
    const double read = msSince(start);

    start = Clock::now();
    FlightView* view = form.OpenFlightView({log});
    if (!view)
        return 1;
    paint(view);
    const double open = msSince(start);

    start = Clock::now();
    view->zoomAbout((view->from() + view->to()) / 2, 0.1);
    paint(view);
    const double zoom = msSince(start);
    start = Clock::now();
    view->showAll();
    paint(view);
    const double all = msSince(start);
    std::printf("%.0f %.0f %.1f %.1f\n", open, read, zoom, all);
    return 0;
}

struct ViewRun {
    bool ok = false;
    double open = 0, read = 0, zoom = 0, all = 0;
    long maxRssKb = 0;
};

// The child's figures come back on its standard output.
ViewRun runViewChild(const char* self, const std::string& log) {
    ViewRun run;
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return run;
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        setenv("XDG_CONFIG_HOME", "/nonexistent", 1); // the default settings
        execl(self, self, log.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    char text[256] = {};
    const ssize_t got = read(pipeFds[0], text, sizeof text - 1);
    close(pipeFds[0]);
    int status = 0;
    struct rusage usage {};
    if (pid < 0 || wait4(pid, &status, 0, &usage) < 0)
        return run;
    run.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0 && got > 0 &&
             std::sscanf(text, "%lf %lf %lf %lf", &run.open, &run.read, &run.zoom, &run.all) == 4;
    run.maxRssKb = usage.ru_maxrss;
    return run;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc > 1)
        return child(argc, argv);
    const std::string folder = makeBenchFolder();
    if (folder.empty())
        return 1;
    const int runs = benchRuns();
    std::printf("flight view, offscreen, best of %d runs each\n", runs);
    bool ok = true;
    double largeOpen = 0;
    for (long lines : {10000L, 1000000L}) {
        const std::string log = folder + "/LOG" + std::to_string(lines) + ".CSV";
        std::FILE* out = std::fopen(log.c_str(), "wb");
        if (!out) {
            std::perror(log.c_str());
            return 1;
        }
        writeLog(out, lines);
        std::fclose(out);
        ViewRun best;
        for (int i = 0; i < runs; ++i) {
            const ViewRun run = runViewChild(argv[0], log);
            if (!run.ok) {
                best = run;
                break;
            }
            const long peak = std::max(best.maxRssKb, run.maxRssKb);
            if (i == 0 || run.open < best.open)
                best = run;
            best.maxRssKb = peak;
        }
        ok = ok && best.ok;
        std::printf("%8ld lines: %s open and first paint %.0f ms (reading %.0f ms), zoom redraw "
                    "%.1f ms, show-all redraw %.1f ms, peak memory %.1f MB\n",
                    lines, best.ok ? "ok" : "FAILED", best.open, best.read, best.zoom, best.all,
                    best.maxRssKb / 1024.0);
        if (lines == 1000000)
            largeOpen = best.open;
    }
    std::printf("1,000,000 lines open and shown in %.0f ms (target < 1000 ms): %s\n", largeOpen,
                largeOpen < 1000 ? "met" : "MISSED");
    removeBenchFolder(folder);
    return ok ? 0 : 1;
}
