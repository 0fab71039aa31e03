#include "flight/decimate.h"

#include "flight/samplesearch.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

struct Sample {
    size_t index;
    double x;
    float y;
};

// A stretch of samples without a break inside one pixel column.
class Run {
  public:
    bool empty() const { return m_count == 0; }
    void add(const Sample& s) {
        if (m_count++ == 0)
            m_first = m_low = m_high = s;
        if (s.y < m_low.y)
            m_low = s;
        if (s.y > m_high.y)
            m_high = s;
        m_last = s;
    }
    // Takes in a later run, as if the break between them were not there.
    void absorb(const Run& later) {
        if (later.empty())
            return;
        if (empty()) {
            *this = later;
            return;
        }
        if (later.m_low.y < m_low.y)
            m_low = later.m_low;
        if (later.m_high.y > m_high.y)
            m_high = later.m_high;
        m_last = later.m_last;
        m_count += later.m_count;
    }
    void appendTo(std::vector<QPointF>& out) const {
        Sample kept[4] = {m_first, m_low, m_high, m_last};
        std::sort(std::begin(kept), std::end(kept),
                  [](const Sample& a, const Sample& b) { return a.index < b.index; });
        for (size_t k = 0; k < 4; ++k)
            if (k == 0 || kept[k].index != kept[k - 1].index)
                out.emplace_back(kept[k].x, kept[k].y);
    }

  private:
    size_t m_count = 0;
    Sample m_first{}, m_low{}, m_high{}, m_last{};
};

// The samples of one pixel column: its first run, the runs between merged
// into one, and its last run.
class Column {
  public:
    long long index = 0;

    bool empty() const { return m_runs == 0; }
    void start(long long column, bool breakBefore) {
        index = column;
        m_runs = 0;
        m_open = false;
        m_breakBefore = breakBefore;
    }
    void add(const Sample& s) {
        if (!m_open) {
            if (m_runs < 3) {
                m_run[m_runs++] = Run();
            } else {
                m_run[1].absorb(m_run[2]);
                m_run[2] = Run();
            }
            m_open = true;
        }
        m_run[m_runs - 1].add(s);
    }
    void cut() { m_open = false; }
    // Whether the column ended with a break.
    bool cutAtEnd() const { return !m_open; }
    void appendTo(std::vector<QPointF>& out) const {
        for (int r = 0; r < m_runs; ++r) {
            if ((r > 0 || m_breakBefore) && !out.empty())
                out.emplace_back(out.back().x(), NaN);
            m_run[r].appendTo(out);
        }
    }

  private:
    Run m_run[3];
    int m_runs = 0;
    bool m_open = false;
    bool m_breakBefore = false;
};

} // namespace

std::vector<QPointF> decimateSeries(const FlightLog& log, const std::vector<float>& values,
                                    double from, double to, int columns, double shift) {
    std::vector<QPointF> out;
    if (log.empty() || columns < 1 || !(to > from) || values.size() < log.size())
        return out;
    const double scale = columns / (to - from);
    // The range in axis time, widened by one sample either side.
    size_t begin = firstSampleFrom(log, from - shift);
    size_t end = firstSampleAfter(log, to - shift);
    begin -= begin > 0;
    end += end < log.size();

    Column column;
    bool cutPending = false; // a break before the next column's first sample
    auto finish = [&] {
        if (column.empty())
            return;
        column.appendTo(out);
        cutPending = cutPending || column.cutAtEnd();
        column.start(0, false);
    };
    for (const FlightLog::Segment& segment : log.segments) {
        const size_t first = std::max(begin, segment.begin);
        const size_t last = std::min(end, segment.end);
        for (size_t i = first; i < last; ++i) {
            const float y = values[i];
            if (std::isnan(y)) {
                if (column.empty())
                    cutPending = true;
                column.cut();
                continue;
            }
            const double x = log.elapsed[i] + segment.axisOffset + shift;
            long long index = (long long)std::floor((x - from) * scale);
            if (x <= to)
                index = std::min<long long>(index, columns - 1);
            if (!column.empty() && index != column.index)
                finish();
            if (column.empty()) {
                column.start(index, cutPending);
                cutPending = false;
            }
            column.add({i, x, y});
        }
        if (first < last) {
            column.cut();
            if (column.empty())
                cutPending = true;
        }
    }
    finish();
    return out;
}
