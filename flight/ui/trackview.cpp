#include "flight/ui/trackview.h"

#include "flight/decimate.h"
#include "flight/flightlog.h"
#include "flight/samplesearch.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

constexpr int Margin = 14;
constexpr int ScaleWidth = 10; // the colour scale at the right edge
constexpr int ScaleRoom = ScaleWidth + 48;
constexpr int ColourSteps = 64;
constexpr size_t WideLegs = 20000;

// Viridis, cut before its palest yellow so the high parts stay visible on
// white: dark violet, blue, teal, green, yellow-green. Perceptually even and
// readable for the colour-blind.
QColor altitudeColour(double share) {
    static const QColor stops[] = {QColor(0x44, 0x01, 0x54), QColor(0x3b, 0x52, 0x8b),
                                   QColor(0x21, 0x91, 0x8c), QColor(0x5e, 0xc9, 0x62),
                                   QColor(0xbd, 0xdf, 0x26)};
    const double at = std::clamp(share, 0.0, 1.0) * (std::size(stops) - 1);
    const size_t low = std::min(size_t(at), std::size(stops) - 2);
    const double t = at - double(low);
    const QColor& a = stops[low];
    const QColor& b = stops[low + 1];
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t),
                            float(a.greenF() + (b.greenF() - a.greenF()) * t),
                            float(a.blueF() + (b.blueF() - a.blueF()) * t));
}

} // namespace

TrackView::TrackView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(200, 160);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TrackView::setLog(const FlightLog* log) {
    m_log = log;
    m_cursor.reset();
    m_track = QImage(); // drawn at the next paint, at the size shown then
    m_fitted = QSize();
    update();
}

void TrackView::setCursorSample(std::optional<size_t> sample) {
    if (sample == m_cursor)
        return;
    m_cursor = sample;
    update();
}

void TrackView::setCaptions(const QString& start, const QString& end) {
    m_start = start;
    m_end = end;
    update();
}

QPointF TrackView::toWidget(double east, double north) const {
    return {m_origin.x() + east * m_scale, m_origin.y() - north * m_scale};
}

QPointF TrackView::positionOf(size_t sample) {
    fitToSize();
    return toWidget(m_log->east[sample], m_log->north[sample]);
}

// Scale and origin so the whole track fits, centred, metres square.
void TrackView::fitToSize() {
    if (!m_log || m_fitted == size())
        return;
    m_fitted = size();
    float west = 0, east = 0, south = 0, north = 0;
    bool any = false;
    for (size_t i = 0; i < m_log->size(); ++i) {
        const float e = m_log->east[i], n = m_log->north[i];
        if (std::isnan(e) || std::isnan(n))
            continue;
        west = any ? std::min(west, e) : e;
        east = any ? std::max(east, e) : e;
        south = any ? std::min(south, n) : n;
        north = any ? std::max(north, n) : n;
        any = true;
    }
    const auto [low, high] =
        std::minmax_element(m_log->baroAltitude.begin(), m_log->baroAltitude.end());
    m_lowest = low == m_log->baroAltitude.end() ? 0 : *low;
    m_highest = high == m_log->baroAltitude.end() ? 0 : *high;
    const double width = std::max(1.0, double(this->width() - 2 * Margin - ScaleRoom));
    const double height = std::max(1.0, double(this->height() - 2 * Margin));
    const double spanEast = std::max(1.0f, east - west), spanNorth = std::max(1.0f, north - south);
    m_scale = std::min(width / spanEast, height / spanNorth);
    m_origin = QPointF(Margin + (width - (east + west) * m_scale) / 2,
                       Margin + (height + (north + south) * m_scale) / 2);
}

void TrackView::renderTrack() {
    m_track = QImage(size(), QImage::Format_RGB32);
    m_track.fill(Qt::white);
    if (!m_log || m_log->empty())
        return;
    QPainter painter(&m_track);
    painter.setRenderHint(QPainter::Antialiasing);
    // The legs are drawn a colour step at a time: a handful of strokes for
    // any number of legs, in steps finer than the eye tells apart.
    const double range = std::max(1.0f, m_highest - m_lowest);
    const std::vector<size_t> kept = thinTrack(*m_log, 1 / m_scale);
    std::vector<QList<QLineF>> legs(ColourSteps);
    for (size_t k = 1; k < kept.size(); ++k) {
        const size_t from = kept[k - 1], to = kept[k];
        if (from == TrackBreak || to == TrackBreak)
            continue;
        const double share = (m_log->baroAltitude[to] - m_lowest) / range;
        legs[size_t(std::lround(share * (ColourSteps - 1)))].append(
            QLineF(positionOf(from), positionOf(to)));
    }
    // Up to a few ten thousand legs the line is two pixels wide; beyond, one
    // pixel, which takes the painter's fast line drawing (ten times faster).
    size_t count = 0;
    for (const QList<QLineF>& step : legs)
        count += size_t(step.size());
    QPen pen(Qt::black, count <= WideLegs ? 2.0 : 1.0, Qt::SolidLine, Qt::RoundCap);
    pen.setCosmetic(count > WideLegs);
    for (int step = 0; step < ColourSteps; ++step) {
        pen.setColor(altitudeColour(step / double(ColourSteps - 1)));
        painter.setPen(pen);
        painter.drawLines(legs[size_t(step)]);
    }

    // The colour scale: highest at the top, lowest at the bottom.
    const QRect bar(width() - ScaleRoom + 6, Margin, ScaleWidth, height() - 2 * Margin);
    QLinearGradient gradient(bar.bottomLeft(), bar.topLeft());
    for (double s = 0; s <= 1.0001; s += 0.125)
        gradient.setColorAt(s, altitudeColour(s));
    painter.fillRect(bar, gradient);
    painter.setPen(Qt::black);
    const QRect labels(bar.right() + 4, bar.top(), ScaleRoom - ScaleWidth - 10, bar.height());
    painter.drawText(labels, Qt::AlignTop | Qt::AlignLeft,
                     QStringLiteral("%1 m").arg(double(m_highest), 0, 'f', 0));
    painter.drawText(labels, Qt::AlignBottom | Qt::AlignLeft,
                     QStringLiteral("%1 m").arg(double(m_lowest), 0, 'f', 0));
}

void TrackView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_track = QImage();
}

void TrackView::paintEvent(QPaintEvent*) {
    if (m_track.size() != size()) {
        fitToSize();
        renderTrack();
    }
    QPainter painter(this);
    painter.drawImage(0, 0, m_track);
    if (!m_log)
        return;
    painter.setRenderHint(QPainter::Antialiasing);
    auto firstFix = [this](bool fromEnd) -> std::optional<size_t> {
        for (size_t k = 0; k < m_log->size(); ++k) {
            const size_t i = fromEnd ? m_log->size() - 1 - k : k;
            if (!std::isnan(m_log->east[i]))
                return i;
        }
        return std::nullopt;
    };
    auto mark = [&](size_t sample, const QColor& colour, const QString& caption, bool square) {
        const QPointF at = positionOf(sample);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(colour);
        const QRectF box(at - QPointF(5, 5), QSizeF(10, 10));
        square ? painter.drawRect(box) : painter.drawEllipse(box);
        painter.drawText(at + QPointF(8, -6), caption);
    };
    if (const auto start = firstFix(false)) {
        mark(*firstFix(true), QColor(210, 40, 40), m_end, true);
        mark(*start, QColor(40, 170, 60), m_start, false);
    }
    if (m_cursor && !std::isnan(m_log->east[*m_cursor])) {
        const QPointF at = positionOf(*m_cursor);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::white, 4));
        painter.drawEllipse(at, 7, 7);
        painter.setPen(QPen(QColor(200, 30, 30), 2));
        painter.drawEllipse(at, 7, 7);
    }
}

void TrackView::mousePressEvent(QMouseEvent* event) {
    if (!m_log || event->button() != Qt::LeftButton)
        return;
    fitToSize();
    const QPointF at = event->position();
    const double east = (at.x() - m_origin.x()) / m_scale;
    const double north = (m_origin.y() - at.y()) / m_scale;
    if (const auto sample = nearestPositionSample(*m_log, east, north))
        emit sampleClicked(*sample);
}
