#pragma once

#include <QChartView>
#include <QPixmap>
#include <limits>

class QRubberBand;
class QValueAxis;

// One plot of the flight view over the shared time axis. It draws the cursor
// line and turns the mouse into requests: a move or click sets the cursor,
// a drag chooses a time range, the wheel zooms about the time under it. The
// view answers them for all plots at once.
class PlotView : public QChartView {
    Q_OBJECT

  public:
    explicit PlotView(QWidget* parent = nullptr);

    QValueAxis* timeAxis() const { return m_timeAxis; }
    QValueAxis* valueAxis() const { return m_valueAxis; }
    // The time at a viewport x, and the viewport x of a time.
    double timeAt(double viewportX) const;
    double xOf(double time) const;
    // NaN: no cursor line.
    void setCursorTime(double time);
    // The axes' ranges, with ticks at round steps.
    void setTimeRange(double from, double to);
    void setValueRange(double low, double high);
    // Only the lowest plot names the time axis.
    void setTimeTitleShown(bool shown);
    // The value axis is named by `title` where the plot is tall enough for it,
    // else by the shorter `unit` alone, never cut short.
    void setValueTitle(const QString& title, const QString& unit);

  signals:
    void cursorMoved(double time);
    void rangeChosen(double from, double to);
    void zoomRequested(double time, double factor);
    void resized();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QRectF plotRect() const; // the plot area in viewport pixels
    bool onLegend(const QPointF& viewportPosition) const;
    // The same margins in every plot, so their time axes stand one above the other.
    void placePlotArea();
    int legendHeight(int width);

    QValueAxis* m_timeAxis;
    QValueAxis* m_valueAxis;
    QRubberBand* m_band;
    QString m_valueTitle, m_valueUnit;
    bool m_timeTitleWanted = true;
    double m_cursor = std::numeric_limits<double>::quiet_NaN();
    // The chart as last drawn, without the cursor: a moving cursor (a replay,
    // the mouse) draws over it instead of drawing the curves again. Any
    // change of the scene makes it stale.
    QPixmap m_picture;
    bool m_pictureStale = true;
    bool m_drawingPicture = false;
    int m_dragStart = -1; // viewport x of the pressed button; -1 when up
};
