#pragma once

#include "flight/viewstate.h"

#include <QWidget>
#include <array>
#include <vector>

class PlotView;
class QLineSeries;
class QPainter;

// The flight view's plots one below the other over the shared time axis, their
// curves and the legend, drawn as the view state says. The mouse's requests
// (cursor, range, zoom, a legend entry) go out as signals for the view to
// answer in the state.
class FlightPlots : public QWidget {
    Q_OBJECT

  public:
    FlightPlots(const FlightViewState& state, QWidget* parent);

    PlotView* plot(FlightViewState::Plot plot) const { return m_plots[plot]; }
    QLineSeries* series(size_t log, FlightViewState::Quantity quantity) const;

    // The curves again for the state's range at each plot's width, the value
    // axes fitted to what shows.
    void refresh();
    // The plots, curves and legend entries the state shows.
    void applyVisibility();
    void showCursor();
    void retranslate(qint32 language);

    // The shown plots as one picture, as large as on the screen, without the
    // cursor line.
    QSize pictureSize() const;
    void paintPicture(QPainter& painter);

  signals:
    void cursorMoved(double time);
    void rangeChosen(double from, double to);
    void zoomRequested(double time, double factor);
    void legendEntryClicked(size_t log, FlightViewState::Quantity quantity);

  private:
    struct Curve {
        size_t log;
        FlightViewState::Quantity quantity;
        QLineSeries* series;
    };
    void buildCurves();

    const FlightViewState& m_state;
    std::array<PlotView*, FlightViewState::PlotCount> m_plots{};
    std::vector<Curve> m_curves;
};
