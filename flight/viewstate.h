#pragma once

#include "flight/flightlog.h"
#include "flight/flightsummary.h"
#include "i18n/viewcaptions.h"

#include <array>
#include <optional>
#include <utility>
#include <vector>

// What the flight view shows, without its widgets: the logs, the time range
// and cursor of the plots, the chosen log, which curves show and the values
// the readout gives. Several logs are compared: each is timed from its own
// start; the track and the first readout line follow the chosen one.
class FlightViewState {
  public:
    // The readings of a sample. The plotted ones come first, in the order of
    // the view's check boxes.
    enum Quantity {
        BaroAltitude,
        GpsAltitude,
        Climb,
        Speed,
        TrackDistance,
        StartDistance,
        QuantityCount
    };
    static constexpr int PlottedCount = Speed + 1;
    enum Plot { AltitudePlot, ClimbPlot, SpeedPlot, PlotCount, NoPlot = PlotCount };

    // Per quantity: its caption, the plot it is drawn in, the log's column,
    // the decimals the readout gives, and whether it is drawn paler than its
    // log's colour when several logs show.
    struct QuantityRow {
        ViewText caption;
        Plot plot;
        std::vector<float> FlightLog::*column;
        int decimals;
        bool paler;
    };
    static const std::array<QuantityRow, QuantityCount>& quantities();

    // The logs: at least one, each with samples.
    explicit FlightViewState(std::vector<FlightLog> logs);

    const std::vector<FlightLog>& logs() const { return m_logs; }
    const std::vector<FlightSummary>& summaries() const { return m_summaries; }
    bool several() const { return m_logs.size() > 1; }
    // Added to a log's axis time on the shared axis: with several logs each
    // one starts at 0.
    double shiftOf(size_t log) const;

    // The time range (s on the shared axis), kept inside the whole flight and
    // no narrower than two seconds.
    double from() const { return m_from; }
    double to() const { return m_to; }
    double fullFrom() const { return m_fullFrom; }
    double fullTo() const { return m_fullTo; }
    void setRange(double from, double to);
    void showAll() { setRange(m_fullFrom, m_fullTo); }
    void zoomAbout(double time, double factor);
    // Brings a time outside the range into view, keeping the range's width.
    void panTo(double time);

    double cursorTime() const { return m_cursor; }
    void setCursorTime(double time) { m_cursor = time; }
    size_t currentLog() const { return m_current; }
    // False for a log that is not there.
    bool setCurrentLog(size_t log);

    // A quantity's check box. With one log a legend entry names a quantity
    // and is the same switch as its check box; with several it names a log
    // and switches all of that log's curves. A dimmed entry is switched off.
    bool shown(Quantity quantity) const { return m_shown[quantity]; }
    void setShown(Quantity quantity, bool shown) { m_shown[quantity] = shown; }
    void toggleLegendEntry(size_t log, Quantity quantity);
    bool legendEntryDimmed(size_t log, Quantity quantity) const;
    bool curveVisible(size_t log, Quantity quantity) const;
    // A plot none of whose quantities is shown gives its room to the others.
    bool plotShown(Plot plot) const;
    // The values a plot draws of a quantity: the log's column, but the GPS
    // altitude over its value at the start, so that it compares with the
    // barometric altitude, which the device zeroes at power-on.
    const std::vector<float>& plotted(size_t log, Quantity quantity) const;
    // The GPS altitude at the start: the median of the fixes before the climb
    // begins (one fix may be tens of metres off); NaN without a fix.
    static double gpsStartAltitude(const FlightLog& log);

    // Whether any log has values of the quantity (logs up to V407x have no speed).
    bool hasValues(Quantity quantity) const;

    // The value axis range for what a plot shows from low to high: a small
    // margin keeps a curve off the frame; climb and speed keep their zero line
    // in sight, and a curve that does not cross it ends at the frame there.
    static std::pair<double, double> valueRange(Plot plot, double low, double high);

    // The readout: one line per log, the chosen log first, each with every
    // value of the sample nearest the cursor; no sample when the log's flight
    // does not last at the cursor time.
    struct ReadoutLine {
        size_t log;
        std::optional<size_t> sample;
        double time = 0; // the sample's time on the shared axis
        std::array<double, QuantityCount> values{};
    };
    std::vector<ReadoutLine> readout() const;
    // The chosen log's sample the track marks at the cursor: the last one
    // with a position; nothing outside its flight.
    std::optional<size_t> trackCursor() const;

  private:
    bool during(size_t log, double axisTime) const;

    std::vector<FlightLog> m_logs;
    std::vector<FlightSummary> m_summaries;
    std::vector<std::vector<float>> m_gpsOverStart;
    double m_fullFrom = 0, m_fullTo = 1;
    double m_from = 0, m_to = 1;
    double m_cursor = 0;
    size_t m_current = 0;
    std::array<bool, QuantityCount> m_shown;
    std::vector<char> m_logHidden;
};
