#pragma once

#include "core/result.h"
#include "flight/flightlog.h"
#include "flight/flightsummary.h"

#include <QWidget>
#include <array>
#include <vector>

class FlightViewTools;
class PlotView;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QLabel;
class QLineSeries;
class QPainter;
class QPushButton;
class QTableWidget;
class QToolButton;
class TForm1;
class TrackView;

// The flight view: altitude, climb and speed over one time axis, the track
// from above, the summary, exports and the conversions of the shown log.
// Several logs are compared: their curves overlay, each timed from its own
// start, with their summaries side by side; the track, the conversions and
// the first line of the readout follow the log chosen in the list.
class FlightView : public QWidget {
    Q_OBJECT

  public:
    // The logs (at least one, each with samples) in a window of its own over
    // the main window, which reports the conversions and failures.
    FlightView(TForm1* form, std::vector<FlightLog> logs);
    ~FlightView() override;

    // The plotted series, in the order of the check boxes.
    enum Quantity { BaroAltitude, GpsAltitude, Climb, Speed, QuantityCount };
    enum Plot { AltitudePlot, ClimbPlot, SpeedPlot, PlotCount };

    const std::vector<FlightLog>& logs() const { return m_logs; }
    const std::vector<FlightSummary>& summaries() const { return m_summaries; }
    PlotView* plot(Plot plot) const { return m_plots[plot]; }
    QLineSeries* series(size_t log, Quantity quantity) const;

    // The plots' time range and cursor (s on the axis; with several logs from
    // each one's start).
    double from() const { return m_from; }
    double to() const { return m_to; }
    double cursorTime() const { return m_cursor; }
    void setRange(double from, double to);
    void showAll();
    void zoomAbout(double time, double factor);
    void setCursorTime(double time);
    size_t currentLog() const { return m_current; }
    void setCurrentLog(size_t log);

    // The shown plots as a picture, and the summaries as CSV.
    Status savePng(const QString& path);
    Status saveSvg(const QString& path);
    Status saveSummaryCsv(const QString& path);

  protected:
    bool event(QEvent* event) override;

  private:
    struct Curve {
        size_t log;
        Quantity quantity;
        QLineSeries* series;
        bool hidden = false; // switched off by its legend marker
    };

    void buildWindow();
    void buildCurves();
    void fillSummaryTable();
    void retranslate();
    void refresh();
    void placeTimeTitle();
    void showCheckedQuantities();
    void toggleCurve(size_t curve);
    void applyVisibility();
    void updateReadout();
    void runExport(QFileDialog* dialog, Status (FlightView::*save)(const QString&));
    QSize plotsSize() const;
    void paintPlots(QPainter& painter);
    double shiftOf(size_t log) const;

    TForm1* m_form;
    std::vector<FlightLog> m_logs;
    std::vector<FlightSummary> m_summaries;
    std::vector<Curve> m_curves;
    qint32 m_language = -1;
    double m_fullFrom = 0, m_fullTo = 1;
    double m_from = 0, m_to = 1;
    double m_cursor = 0;
    size_t m_current = 0;

    std::array<PlotView*, PlotCount> m_plots{};
    std::array<QCheckBox*, QuantityCount> m_shows{};
    QPushButton* m_showAll = nullptr;
    QComboBox* m_flightChoice = nullptr;
    QToolButton* m_convert = nullptr;
    std::array<QPushButton*, 3> m_exports{}; // PNG, SVG, CSV
    QLabel* m_readout = nullptr;
    QLabel* m_trackCaption = nullptr;
    TrackView* m_track = nullptr;
    QTableWidget* m_summaryTable = nullptr;
    QLabel* m_skippedNote = nullptr;
    FlightViewTools* m_viewTools = nullptr;
};
