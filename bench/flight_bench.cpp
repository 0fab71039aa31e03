// Flight summaries and the flight view on generated logs, in one run:
// - `altorin-convert --summary` of a 1,000,000-line log against its GPX
//   conversion, each in a child process: wall time, their ratio, peak memory;
// - the flight view on logs of 10,000 and 1,000,000 lines, each in a child on
//   the offscreen platform: the time from asking for the view to its first
//   paint (reading the log included), the reading alone, a zoom's and a
//   "show all" redraw, the child's peak memory, and the bytes the log's
//   columns hold once read.
//   altorin-flight-bench [CONVERTER]   all figures
//   altorin-flight-bench --view LOG    one view child (what the run starts)
#include "app/tform1.h"
#include "app/ui/dialogs.h"
#include "bench/childrun.h"
#include "bench/loggen.h"
#include "bench/silentdialogs.h"
#include "core/programstate.h"
#include "flight/flightlog.h"
#include "flight/ui/flightview.h"
#include "flight/ui/replaybar.h"

#include <QApplication>
#include <chrono>
#include <cstring>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

constexpr long LargeLog = 1000000;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
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

// Paints the whole window now, as its first showing does.
void paint(FlightView* view) {
    QCoreApplication::processEvents();
    view->grab();
}

// The mean time of a replay frame (ms): the view's replay played at 64x,
// each frame run at once rather than on its timer: the cursor moved over the
// plots, the track's marker, the readout and the slider drawn anew.
double replayFrame(FlightView* view) {
    constexpr int Frames = 120;
    ReplayBar* bar = view->findChild<ReplayBar*>();
    if (!bar)
        return 0;
    bar->driver()->setSpeed(64);
    bar->driver()->play();
    QCoreApplication::processEvents();
    const auto start = Clock::now();
    // The real clock moves the cursor little between frames run at once: each
    // frame starts a 120th of the flight further on, as a long replay moves.
    const double step = (view->to() - view->from()) / Frames;
    for (int f = 0; f < Frames; ++f) {
        bar->driver()->seek(view->from() + f * step);
        bar->driver()->frame();
        QCoreApplication::processEvents();
    }
    bar->driver()->pause();
    return msSince(start) / Frames;
}

// The view child: prints "open read zoom all columnBytes frame".
int viewChild(int argc, char* argv[]) {
    QApplication app(argc, argv);
    SilentDialogs silent;
    setDialogs(&silent);
    TForm1 form;
    programState().firmware = FirmwareVariant{500, 0};
    const QString log = QString::fromLocal8Bit(argv[2]);

    auto start = Clock::now();
    size_t bytes = 0;
    {
        const Result<FlightLog> read = readFlightLog(log, programState().firmware);
        if (!read)
            return 1;
        bytes = columnBytes(*read);
    }
    const double reading = msSince(start);

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
    const double frame = replayFrame(view);
    std::printf("%.0f %.0f %.1f %.1f %zu %.2f\n", open, reading, zoom, all, bytes, frame);
    return 0;
}

struct ViewRun {
    Run run;
    double open = 0, read = 0, zoom = 0, all = 0, frame = 0;
    size_t columnBytes = 0;
};

ViewRun runViewChild(const char* self, const std::string& log) {
    ViewRun view;
    std::string output;
    view.run = runForked(
        [self, &log] {
            setenv("QT_QPA_PLATFORM", "offscreen", 1);
            setenv("XDG_CONFIG_HOME", "/nonexistent", 1); // the default settings
            // The offscreen platform's warnings would bury the figures.
            setenv("QT_LOGGING_RULES", "*.warning=false", 1);
            execl(self, self, "--view", log.c_str(), static_cast<char*>(nullptr));
            return 127;
        },
        &output);
    view.run.ok = view.run.ok &&
                  std::sscanf(output.c_str(), "%lf %lf %lf %lf %zu %lf", &view.open, &view.read,
                              &view.zoom, &view.all, &view.columnBytes, &view.frame) == 6;
    return view;
}

// The best of the runs by the time to the first paint; the peak memory is the
// largest seen.
ViewRun bestViewRun(const char* self, const std::string& log, int runs) {
    ViewRun best;
    for (int i = 0; i < runs; ++i) {
        const ViewRun view = runViewChild(self, log);
        if (!view.run.ok)
            return view;
        const long peak = std::max(best.run.maxRssKb, view.run.maxRssKb);
        if (i == 0 || view.open < best.open)
            best = view;
        best.run.maxRssKb = peak;
    }
    return best;
}

void print(const char* what, const Run& run) {
    std::printf("  %-32s %s %.3f s, peak memory %.1f MB\n", what, run.ok ? "ok    " : "FAILED",
                run.seconds, run.maxRssKb / 1024.0);
}

const char* verdict(bool met) {
    return met ? "met" : "MISSED";
}

// The summary against the GPX conversion, by altorin-convert.
bool summaryFigures(const std::string& converter, const std::string& log, const std::string& small,
                    int runs) {
    const Run base = bestRun({converter, "--summary", "--firmware", "500", small}, runs);
    const Run summary = bestRun({converter, "--summary", "--firmware", "500", log}, runs);
    const Run gpx = bestRun({converter, "--firmware", "500", "--format", "gpx", log}, runs);
    std::printf("summary against GPX conversion (%s):\n", converter.c_str());
    print("--summary, 10 lines (base)", base);
    print("--summary, 1,000,000 lines", summary);
    print("--format gpx, 1,000,000 lines", gpx);
    std::printf("  summary / GPX time: %.2f\n",
                gpx.seconds > 0 ? summary.seconds / gpx.seconds : 0);
    const double heldMb = (summary.maxRssKb - base.maxRssKb) / 1024.0;
    std::printf("  summary peak memory over the base: %.1f MB (target < 60 MB): %s\n\n", heldMb,
                verdict(heldMb < 60));
    return base.ok && summary.ok && gpx.ok;
}

// The flight view opened on each log.
bool viewFigures(const char* self, const std::string& folder, int runs) {
    std::printf("flight view, offscreen:\n");
    bool ok = true;
    for (long lines : {10000L, LargeLog}) {
        const std::string log = folder + "/LOG" + std::to_string(lines) + ".CSV";
        const ViewRun best = bestViewRun(self, log, runs);
        ok = ok && best.run.ok;
        std::printf("  %7ld lines: %s open and first paint %.0f ms (reading %.0f ms), zoom redraw "
                    "%.1f ms, show-all redraw %.1f ms, peak memory %.1f MB\n",
                    lines, best.run.ok ? "ok" : "FAILED", best.open, best.read, best.zoom, best.all,
                    best.run.maxRssKb / 1024.0);
        if (lines != LargeLog)
            continue;
        std::printf("  1,000,000 lines open and shown in %.0f ms (target < 1000 ms): %s\n",
                    best.open, verdict(best.run.ok && best.open < 1000));
        std::printf("  replay frame at 64x, cursor and track marker: %.2f ms, %.0f frames a "
                    "second (target >= 30): %s\n",
                    best.frame, 1000 / best.frame,
                    verdict(best.run.ok && best.frame < 1000 / 30.0));
        const double mb = best.columnBytes / 1048576.0;
        std::printf("  columns held after reading: %.1f MB, %.1f bytes a sample (target < 60 MB, "
                    "well under 80 MB): %s\n",
                    mb, double(best.columnBytes) / double(lines), verdict(best.run.ok && mb < 60));
    }
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc > 2 && std::strcmp(argv[1], "--view") == 0)
        return viewChild(argc, argv);
    const std::string converter = argc > 1 ? argv[1] : ALTORIN_CONVERT_PATH;
    const std::string folder = makeBenchFolder();
    if (folder.empty())
        return 1;
    const std::string large = folder + "/LOG" + std::to_string(LargeLog) + ".CSV";
    const std::string small = folder + "/LOG10.CSV";
    for (const auto& [path, lines] :
         {std::pair{small, 10L}, std::pair{folder + "/LOG10000.CSV", 10000L},
          std::pair{large, LargeLog}})
        if (!writeLogFile(path, lines)) {
            std::perror(path.c_str());
            return 1;
        }
    const int runs = benchRuns();
    std::printf("flight summaries and flight view, generated logs, best of %d runs each\n\n", runs);
    const bool summaryOk = summaryFigures(converter, large, small, runs);
    const bool viewOk = viewFigures(argv[0], folder, runs);
    removeBenchFolder(folder);
    return summaryOk && viewOk ? 0 : 1;
}
