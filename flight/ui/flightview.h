#pragma once

#include "core/result.h"
#include "flight/viewstate.h"

#include <QWidget>
#include <array>
#include <vector>

class FlightPlots;
class FlightViewTools;
class PlotView;
class QCheckBox;
class QComboBox;
class QFileDialog;
class QGridLayout;
class QLabel;
class QLineSeries;
class QPushButton;
class QSplitter;
class QToolButton;
class SideColumn;
class SummaryTable;
class TrackView;
struct ConversionFormat;

// The flight view: altitude, climb and speed over one time axis, the track
// from above, the summary, exports and the conversions of the shown log. This
// window holds the toolbar and the side column and answers the requests of
// its parts in the view state; the conversions and failures it leaves to
// whoever opened it, by its signals.
class FlightView : public QWidget {
    Q_OBJECT

  public:
    // The logs (at least one, each with samples) in a window of its own over
    // the parent. `readAs` names, per log, the firmware whose layout it was
    // read with where that is not the chosen one (empty: the chosen one).
    FlightView(QWidget* parent, std::vector<FlightLog> logs, std::vector<QString> readAs = {});
    ~FlightView() override;

    const FlightViewState& state() const { return m_state; }
    const std::vector<FlightLog>& logs() const { return m_state.logs(); }
    const std::vector<FlightSummary>& summaries() const { return m_state.summaries(); }
    PlotView* plot(FlightViewState::Plot plot) const;
    QLineSeries* series(size_t log, FlightViewState::Quantity quantity) const;

    double from() const { return m_state.from(); }
    double to() const { return m_state.to(); }
    double cursorTime() const { return m_state.cursorTime(); }
    void setRange(double from, double to);
    void showAll();
    void zoomAbout(double time, double factor);
    void setCursorTime(double time);
    size_t currentLog() const { return m_state.currentLog(); }
    void setCurrentLog(size_t log);

    // The shown plots and the track as a picture, and the summaries as CSV.
    Status savePng(const QString& path);
    Status saveSvg(const QString& path);
    Status saveSummaryCsv(const QString& path);

  signals:
    // The pilot chose a conversion of the chosen log.
    void convertRequested(const ConversionFormat& format, const QString& logPath);
    // A failure to report, named by the file it concerns.
    void failed(const Failure& failure);

  protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void buildWindow();
    QWidget* buildSide();
    void fitToScreen();
    int toolsWidth() const;
    void placeTools(bool stacked);
    void retranslate();
    void showChecked();
    void redraw();
    void updateReadout();
    void updateConvertButton();
    void runExport(QFileDialog* dialog, int row);

    FlightViewState m_state;
    std::vector<QString> m_readAs;
    qint32 m_language = -1;

    QGridLayout* m_tools = nullptr;
    QWidget* m_showTools = nullptr;
    QWidget* m_doTools = nullptr;
    QSplitter* m_split = nullptr;
    FlightPlots* m_plots = nullptr;
    std::array<QCheckBox*, FlightViewState::PlottedCount> m_shows{};
    QPushButton* m_showAll = nullptr;
    QComboBox* m_flightChoice = nullptr;
    QToolButton* m_convert = nullptr;
    std::array<QPushButton*, 3> m_exports{}; // PNG, SVG, CSV
    QLabel* m_readout = nullptr;
    QLabel* m_trackCaption = nullptr;
    TrackView* m_track = nullptr;
    SummaryTable* m_summaryTable = nullptr;
    QLabel* m_skippedNote = nullptr;
    SideColumn* m_side = nullptr;
    FlightViewTools* m_viewTools = nullptr;
};
