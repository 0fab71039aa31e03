#include "flight/ui/plotview.h"

#include <QFontMetrics>
#include <QGraphicsLayout>
#include <QLegend>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRubberBand>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

// A press and release closer than this are a click, not a drag.
constexpr int DragPixels = 4;
// One wheel notch shows 80 % of the range before it.
constexpr double ZoomPerNotch = 0.8;

// Room around the plot area (px): value labels and title at the left, the
// legend above, the time labels (and title) below.
constexpr int LeftRoom = 76, RightRoom = 18, TopRoom = 10, LegendRoom = 28, BottomRoom = 26,
              TitleRoom = 18;

// The least height of a plot whose time axis is named (px).
constexpr int TitledHeight = 150;
// The least room between two value labels (px).
constexpr double MinLabelSpacing = 24;

// The smallest step of 1, 2 or 5 times a power of ten that cuts the span in
// at most `count`. Labels closer than about 30 px are cut short by the chart.
double roundStep(double span, int count) {
    const double raw = span / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    const double share = raw / power;
    return (share <= 1 ? 1 : share <= 2 ? 2 : share <= 5 ? 5 : 10) * power;
}

void setLabelDecimals(QValueAxis* axis, double step) {
    const int decimals = step >= 1 ? 0 : int(std::ceil(-std::log10(step) - 1e-9));
    axis->setLabelFormat(QStringLiteral("%.%1f").arg(decimals));
}

} // namespace

PlotView::PlotView(QWidget* parent)
    : QChartView(new QChart, parent), m_timeAxis(new QValueAxis), m_valueAxis(new QValueAxis),
      m_band(new QRubberBand(QRubberBand::Rectangle, viewport())) {
    chart()->addAxis(m_timeAxis, Qt::AlignBottom);
    chart()->addAxis(m_valueAxis, Qt::AlignLeft);
    // Placed by hand beside the fixed plot area (placePlotArea).
    chart()->legend()->detachFromChart();
    // The rooms around the plot area are ours (placePlotArea); the chart's own
    // margins would leave a short plot's labels no room, and it cuts them short.
    chart()->setMargins(QMargins());
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);
    setDragMode(QGraphicsView::NoDrag);
    // A change of the scene draws the picture again whole, and it is shown
    // whole: the chart's account of the areas it changed misses pixels it
    // moved (antialiased edges, labels), which would stay on the screen as
    // the last range's curves, cursor line and half labels. Showing a picture
    // costs a copy; drawing it is what is saved.
    setViewportUpdateMode(QGraphicsView::FullViewportUpdate);
    connect(scene(), &QGraphicsScene::changed, this, [this] { m_pictureStale = true; });
}

QRectF PlotView::plotRect() const {
    return mapFromScene(chart()->mapToScene(chart()->plotArea())).boundingRect();
}

double PlotView::timeAt(double viewportX) const {
    const QRectF area = plotRect();
    if (area.width() <= 0)
        return m_timeAxis->min();
    const double share = std::clamp((viewportX - area.left()) / area.width(), 0.0, 1.0);
    return m_timeAxis->min() + share * (m_timeAxis->max() - m_timeAxis->min());
}

double PlotView::xOf(double time) const {
    const QRectF area = plotRect();
    const double span = m_timeAxis->max() - m_timeAxis->min();
    return area.left() + (span > 0 ? (time - m_timeAxis->min()) / span * area.width() : 0);
}

void PlotView::setCursorTime(double time) {
    m_cursor = time;
    viewport()->update();
}

void PlotView::setTimeRange(double from, double to) {
    m_timeAxis->setRange(from, to);
    if (!(to > from))
        return;
    const double step = roundStep(to - from, std::max(2, width() / 110));
    m_timeAxis->setTickType(QValueAxis::TicksDynamic);
    m_timeAxis->setTickAnchor(0);
    m_timeAxis->setTickInterval(step);
    setLabelDecimals(m_timeAxis, step);
}

// Widened to whole steps, so the ends carry labels too.
void PlotView::setValueRange(double low, double high) {
    if (!(high > low))
        high = low + 1;
    // Fewer steps in a short plot: labels closer than their height are cut
    // short by the chart.
    const double room = chart()->plotArea().height();
    double step = 0;
    for (int count = std::max(2, height() / 40); count >= 1; --count) {
        step = roundStep(high - low, count);
        const double steps = std::ceil(high / step) - std::floor(low / step);
        if (steps * MinLabelSpacing <= room)
            break;
    }
    low = std::floor(low / step) * step;
    high = std::ceil(high / step) * step;
    m_valueAxis->setRange(low, high);
    m_valueAxis->setTickType(QValueAxis::TicksFixed);
    m_valueAxis->setTickCount(int(std::lround((high - low) / step)) + 1);
    setLabelDecimals(m_valueAxis, step);
    // A fixed plot area is not laid out again by itself: new labels would keep
    // the room measured for the old ones.
    chart()->layout()->invalidate();
}

void PlotView::setTimeTitleShown(bool shown) {
    m_timeTitleWanted = shown;
    placePlotArea();
}

void PlotView::setValueTitle(const QString& title, const QString& unit) {
    m_valueTitle = title;
    m_valueUnit = unit;
    placePlotArea();
}

// The legend's entries take as many lines as they need at `width`: its height.
// It is laid out at that width on a tall place first, and measured.
int PlotView::legendHeight(int width) {
    QLegend* legend = chart()->legend();
    legend->setGeometry(QRectF(LeftRoom, 2, width, 1000));
    if (QGraphicsLayout* entries = legend->layout())
        entries->activate();
    double bottom = 0;
    for (QGraphicsItem* item : legend->childItems())
        for (QGraphicsItem* entry : item->childItems())
            if (entry->isVisible())
                bottom =
                    std::max(bottom, entry->mapRectToItem(legend, entry->boundingRect()).bottom());
    return std::max(LegendRoom - 4, int(std::ceil(bottom)));
}

void PlotView::placePlotArea() {
    const int plotWidth = std::max(10, width() - LeftRoom - RightRoom);
    const int legendHeight = chart()->legend()->isVisible() ? this->legendHeight(plotWidth) : 0;
    // Qt Charts leaves out the top value label unless a whole label's height
    // fits above the plot area (half of it stands above its tick).
    const int labelHeight = QFontMetrics(m_valueAxis->labelsFont()).height() + 2;
    const int top =
        std::max(labelHeight, chart()->legend()->isVisible() ? legendHeight + 4 : TopRoom);
    // A short plot leaves the time axis unnamed: with its title the chart
    // would cut the time labels short (the readout names the time anyway).
    m_timeAxis->setTitleVisible(m_timeTitleWanted && height() >= TitledHeight);
    const int bottom = BottomRoom + (m_timeAxis->isTitleVisible() ? TitleRoom : 0);
    // Room for two value labels at least, so no label is cut short.
    setMinimumHeight(top + bottom + int(2 * MinLabelSpacing) + 4);
    const int plotHeight = std::max(10, height() - top - bottom);
    chart()->setPlotArea(QRectF(LeftRoom, top, plotWidth, plotHeight));
    const QFontMetrics metrics(m_valueAxis->titleFont());
    const bool full = metrics.horizontalAdvance(m_valueTitle) + 8 <= plotHeight;
    m_valueAxis->setTitleText(full ? m_valueTitle : m_valueUnit);
    chart()->legend()->setGeometry(QRectF(LeftRoom, 2, plotWidth, std::max(1, legendHeight)));
}

bool PlotView::onLegend(const QPointF& viewportPosition) const {
    const QLegend* legend = chart()->legend();
    return legend->isVisible() &&
           legend->geometry().contains(mapToScene(viewportPosition.toPoint()));
}

void PlotView::mousePressEvent(QMouseEvent* event) {
    // The legend's markers take their own clicks.
    if (event->button() != Qt::LeftButton || onLegend(event->position()))
        return QChartView::mousePressEvent(event);
    m_dragStart = qRound(event->position().x());
    emit cursorMoved(timeAt(event->position().x()));
}

void PlotView::mouseMoveEvent(QMouseEvent* event) {
    const int x = qRound(event->position().x());
    if (m_dragStart >= 0 && std::abs(x - m_dragStart) >= DragPixels) {
        const QRect area = plotRect().toAlignedRect();
        m_band->setGeometry(QRect(QPoint(std::min(x, m_dragStart), area.top()),
                                  QPoint(std::max(x, m_dragStart), area.bottom())));
        m_band->show();
    }
    emit cursorMoved(timeAt(x));
}

void PlotView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || m_dragStart < 0)
        return QChartView::mouseReleaseEvent(event);
    const int x = qRound(event->position().x());
    const bool dragged = m_band->isVisible();
    m_band->hide();
    const double from = timeAt(std::min(x, m_dragStart));
    const double to = timeAt(std::max(x, m_dragStart));
    m_dragStart = -1;
    if (dragged && to > from)
        emit rangeChosen(from, to);
    else
        emit cursorMoved(timeAt(x));
}

void PlotView::wheelEvent(QWheelEvent* event) {
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0)
        emit zoomRequested(timeAt(event->position().x()), std::pow(ZoomPerNotch, notches));
    event->accept();
}

void PlotView::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    placePlotArea();
    emit resized();
}

void PlotView::drawForeground(QPainter* painter, const QRectF& rect) {
    QChartView::drawForeground(painter, rect);
    if (m_drawingPicture || std::isnan(m_cursor) || m_cursor < m_timeAxis->min() ||
        m_cursor > m_timeAxis->max())
        return;
    const QRectF area = chart()->mapToScene(chart()->plotArea()).boundingRect();
    const double span = m_timeAxis->max() - m_timeAxis->min();
    const double x =
        area.left() + (span > 0 ? (m_cursor - m_timeAxis->min()) / span : 0) * area.width();
    painter->save();
    painter->setPen(QPen(QColor(200, 30, 30), 1));
    painter->drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    painter->restore();
}

void PlotView::paintEvent(QPaintEvent* event) {
    // The scene reports its changes before the paint they cause.
    QWidget* port = viewport();
    const qreal ratio = port->devicePixelRatioF();
    if (m_pictureStale || m_picture.size() != port->size() * ratio) {
        m_picture = QPixmap(port->size() * ratio);
        m_picture.setDevicePixelRatio(ratio);
        m_picture.fill(port->palette().color(port->backgroundRole()));
        QPainter painter(&m_picture);
        painter.setRenderHints(renderHints());
        m_drawingPicture = true;
        render(&painter, QRectF(QPointF(0, 0), port->size()), port->rect());
        m_drawingPicture = false;
        m_pictureStale = false;
    }
    QPainter painter(port);
    painter.drawPixmap(
        event->rect(), m_picture,
        QRectF(QPointF(event->rect().topLeft()) * ratio, QSizeF(event->rect().size()) * ratio));
    painter.setRenderHints(renderHints());
    painter.setWorldTransform(viewportTransform());
    drawForeground(&painter, mapToScene(event->rect()).boundingRect());
}
