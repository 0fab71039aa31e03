#include "flight/ui/flightplots.h"

#include "flight/decimate.h"
#include "flight/ui/plotview.h"

#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>
#include <limits>

namespace {

using State = FlightViewState;

constexpr const char* PlotNames[State::PlotCount] = {"altitudePlot", "climbPlot", "speedPlot"};

// One colour per log, told apart also by the colour-blind (Tableau 10).
QColor logColour(size_t log) {
    static const QRgb colours[] = {0x1f77b4, 0xff7f0e, 0x2ca02c, 0xd62728, 0x9467bd,
                                   0x8c564b, 0xe377c2, 0x7f7f7f, 0xbcbd22, 0x17becf};
    return QColor(colours[log % std::size(colours)]);
}

} // namespace

FlightPlots::FlightPlots(const FlightViewState& state, QWidget* parent)
    : QWidget(parent), m_state(state) {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    for (int p = 0; p < State::PlotCount; ++p) {
        auto* plot = new PlotView(this);
        plot->setObjectName(QString::fromLatin1(PlotNames[p]));
        plot->chart()->legend()->setVisible(p == State::AltitudePlot);
        plot->chart()->legend()->setAlignment(Qt::AlignTop);
        connect(plot, &PlotView::cursorMoved, this, &FlightPlots::cursorMoved);
        connect(plot, &PlotView::rangeChosen, this, &FlightPlots::rangeChosen);
        connect(plot, &PlotView::zoomRequested, this, &FlightPlots::zoomRequested);
        connect(plot, &PlotView::resized, this, &FlightPlots::refresh);
        column->addWidget(plot, p == State::AltitudePlot ? 3 : 2);
        m_plots[p] = plot;
    }
    buildCurves();
}

QLineSeries* FlightPlots::series(size_t log, FlightViewState::Quantity quantity) const {
    for (const Curve& curve : m_curves)
        if (curve.log == log && curve.quantity == quantity)
            return curve.series;
    return nullptr;
}

void FlightPlots::buildCurves() {
    const bool several = m_state.several();
    for (size_t log = 0; log < m_state.logs().size(); ++log) {
        for (int q = 0; q < State::PlottedCount; ++q) {
            const State::QuantityRow& row = State::quantities()[q];
            auto* series = new QLineSeries;
            // One log: a colour per quantity. Several: a colour per log.
            // With several, the GPS altitude is the paler line of its log's colour
            // (a dashed line would cost a stroke per dash in a dense curve).
            QColor colour = logColour(several ? log : size_t(q));
            if (several && row.paler)
                colour = colour.lighter(150);
            series->setPen(QPen(colour, 1.6));
            PlotView* plot = m_plots[row.plot];
            plot->chart()->addSeries(series);
            series->attachAxis(plot->timeAxis());
            series->attachAxis(plot->valueAxis());
            for (QLegendMarker* marker : plot->chart()->legend()->markers(series))
                connect(marker, &QLegendMarker::clicked, this,
                        [this, log, q] { emit legendEntryClicked(log, State::Quantity(q)); });
            m_curves.push_back({log, State::Quantity(q), series});
        }
    }
}

// Qt Charts hides the marker of a hidden series; a marker whose curve is off
// stays, dimmed, so it can switch it on again.
void FlightPlots::applyVisibility() {
    const bool several = m_state.several();
    for (const Curve& curve : m_curves) {
        curve.series->setVisible(m_state.curveVisible(curve.log, curve.quantity));
        const bool inLegend = !several || curve.quantity == State::BaroAltitude;
        const double alpha = m_state.legendEntryDimmed(curve.log, curve.quantity) ? 0.35 : 1.0;
        const State::Plot plot = State::quantities()[curve.quantity].plot;
        for (QLegendMarker* marker : m_plots[plot]->chart()->legend()->markers(curve.series)) {
            marker->setVisible(inLegend);
            QColor label = marker->labelBrush().color();
            label.setAlphaF(alpha);
            marker->setLabelBrush(label);
            QColor colour = curve.series->pen().color();
            colour.setAlphaF(alpha);
            marker->setBrush(colour);
            QPen pen = marker->pen();
            pen.setColor(colour);
            marker->setPen(pen);
        }
    }
    PlotView* lowest = nullptr;
    for (int p = 0; p < State::PlotCount; ++p) {
        m_plots[p]->setVisible(m_state.plotShown(State::Plot(p)));
        if (!m_plots[p]->isHidden())
            lowest = m_plots[p];
    }
    // Only the lowest plot names the time axis.
    for (PlotView* plot : m_plots)
        plot->setTimeTitleShown(plot == lowest);
}

void FlightPlots::refresh() {
    std::array<double, State::PlotCount> low, high;
    low.fill(std::numeric_limits<double>::infinity());
    high.fill(-std::numeric_limits<double>::infinity());
    const double from = m_state.from(), to = m_state.to();
    for (const Curve& curve : m_curves) {
        const State::QuantityRow& row = State::quantities()[curve.quantity];
        PlotView* plot = m_plots[row.plot];
        if (!curve.series->isVisible() || plot->isHidden())
            continue;
        const int columns = std::max(100, int(plot->chart()->plotArea().width()));
        const FlightLog& log = m_state.logs()[curve.log];
        const std::vector<QPointF> points =
            decimateSeries(log, m_state.plotted(curve.log, curve.quantity), from, to, columns,
                           m_state.shiftOf(curve.log));
        for (const QPointF& p : points) {
            if (std::isnan(p.y()) || p.x() < from || p.x() > to)
                continue;
            low[row.plot] = std::min(low[row.plot], p.y());
            high[row.plot] = std::max(high[row.plot], p.y());
        }
        curve.series->replace(QList<QPointF>(points.begin(), points.end()));
    }
    for (int p = 0; p < State::PlotCount; ++p) {
        m_plots[p]->setTimeRange(from, to);
        const auto [a, b] = State::valueRange(State::Plot(p), low[p], high[p]);
        m_plots[p]->setValueRange(a, b);
    }
}

void FlightPlots::showCursor() {
    for (PlotView* plot : m_plots)
        plot->setCursorTime(m_state.cursorTime());
}

void FlightPlots::retranslate(qint32 language) {
    auto withUnit = [language](ViewText t) {
        return QStringLiteral("%1 (%2)").arg(viewText(t, language), viewUnit(t));
    };
    // One log: the legend names the two altitudes, the GPS one as drawn,
    // over the start. Several: it names the logs by their barometric curve,
    // the GPS curve paler in the same colour.
    for (const Curve& curve : m_curves) {
        QString name = viewText(State::quantities()[curve.quantity].caption, language);
        if (m_state.several())
            name = m_state.logs()[curve.log].name;
        else if (curve.quantity == State::GpsAltitude)
            name = viewText(ViewText::GpsOverStart, language);
        curve.series->setName(name);
    }
    // After the names: the legend takes the lines they need.
    for (PlotView* plot : m_plots)
        plot->timeAxis()->setTitleText(withUnit(ViewText::Time));
    m_plots[State::AltitudePlot]->setValueTitle(viewUnit(ViewText::BaroAltitude),
                                                viewUnit(ViewText::BaroAltitude));
    m_plots[State::ClimbPlot]->setValueTitle(withUnit(ViewText::Climb), viewUnit(ViewText::Climb));
    m_plots[State::SpeedPlot]->setValueTitle(withUnit(ViewText::Speed), viewUnit(ViewText::Speed));
}

QSize FlightPlots::pictureSize() const {
    QSize size(0, 0);
    for (PlotView* plot : m_plots)
        if (!plot->isHidden())
            size = QSize(std::max(size.width(), plot->width()), size.height() + plot->height());
    return size.isEmpty() ? QSize(800, 600) : size;
}

void FlightPlots::paintPicture(QPainter& painter) {
    for (PlotView* plot : m_plots)
        plot->setCursorTime(std::numeric_limits<double>::quiet_NaN());
    int top = 0;
    for (PlotView* plot : m_plots) {
        if (plot->isHidden())
            continue;
        plot->render(&painter, QRectF(0, top, plot->width(), plot->height()),
                     plot->viewport()->rect());
        top += plot->height();
    }
    showCursor();
}
