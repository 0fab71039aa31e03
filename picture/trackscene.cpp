#include "picture/trackscene.h"

#include "flight/flightlog.h"
#include "map/tilemath.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int ScaleWidth = 10;
constexpr int Margin = 14;

// 1, 2 or 5 times a power of ten, the largest not above `most`.
double roundLength(double most) {
    const double power = std::pow(10.0, std::floor(std::log10(std::max(most, 1e-9))));
    for (double step : {5.0, 2.0, 1.0})
        if (step * power <= most)
            return step * power;
    return power;
}

double latitudeOf(double worldY) {
    const double n = std::numbers::pi * (1 - 2 * worldY / TileSize);
    return std::atan(std::sinh(n)) * 180 / std::numbers::pi;
}

QString lengthText(double metres) {
    return metres >= 1000 ? QStringLiteral("%1 km").arg(metres / 1000)
                          : QStringLiteral("%1 m").arg(metres);
}

} // namespace

double TrackCamera::scale() const {
    return std::exp2(zoom);
}

QPointF TrackCamera::toWidget(const QPointF& world) const {
    return (world - centre) * scale() + QPointF(size.width() / 2, size.height() / 2);
}

QPointF TrackCamera::toWorld(const QPointF& widget) const {
    return (widget - QPointF(size.width() / 2, size.height() / 2)) / scale() + centre;
}

QRectF TrackCamera::worldView() const {
    return QRectF(toWorld(QPointF(0, 0)), toWorld(QPointF(size.width(), size.height())));
}

void TrackCamera::zoomAbout(const QPointF& widget, double newZoom) {
    const QPointF held = toWorld(widget);
    zoom = newZoom;
    centre = held - (widget - QPointF(size.width() / 2, size.height() / 2)) / scale();
}

void TrackCamera::fit(const QRectF& bounds, const QRectF& room, bool whole, double lowest,
                      double highest) {
    // A track of one place (or none) is shown at the closest zoom.
    const double spanX = std::max(bounds.width(), 1e-9), spanY = std::max(bounds.height(), 1e-9);
    double z = std::log2(
        std::min(std::max(1.0, room.width()) / spanX, std::max(1.0, room.height()) / spanY));
    if (whole)
        z = std::floor(z);
    zoom = std::clamp(z, lowest, highest);
    const QPointF offset = room.center() - QPointF(size.width() / 2, size.height() / 2);
    centre = bounds.center() - offset / scale();
}

TrackGeometry TrackGeometry::of(const FlightLog& log) {
    TrackGeometry g;
    const size_t n = log.size();
    g.x.assign(n, NAN);
    g.y.assign(n, NAN);
    double left = 0, top = 0, right = 0, bottom = 0;
    for (size_t i = 0; i < n; ++i) {
        if (std::isnan(log.latitude[i]) || std::isnan(log.longitude[i]))
            continue;
        const QPointF at = worldPoint(log.latitude[i], log.longitude[i]);
        if (!g.first) {
            g.first = i;
            g.origin = at;
            g.latitude = log.latitude[i];
            left = right = at.x();
            top = bottom = at.y();
        }
        g.last = i;
        g.x[i] = float(at.x() - g.origin.x());
        g.y[i] = float(at.y() - g.origin.y());
        left = std::min(left, at.x()), right = std::max(right, at.x());
        top = std::min(top, at.y()), bottom = std::max(bottom, at.y());
    }
    if (g.first)
        g.bounds = QRectF(QPointF(left, top), QPointF(right, bottom));
    const auto [low, high] = std::minmax_element(log.baroAltitude.begin(), log.baroAltitude.end());
    g.lowest = low == log.baroAltitude.end() ? 0 : *low;
    g.highest = high == log.baroAltitude.end() ? 0 : *high;
    return g;
}

std::optional<size_t> TrackGeometry::nearest(const QPointF& world) const {
    const double px = world.x() - origin.x(), py = world.y() - origin.y();
    std::optional<size_t> best;
    double bestDistance = 0;
    for (size_t i = 0; i < x.size(); ++i) {
        if (std::isnan(x[i]))
            continue;
        const double d = (x[i] - px) * (x[i] - px) + (y[i] - py) * (y[i] - py);
        if (!best || d < bestDistance)
            best = i, bestDistance = d;
    }
    return best;
}

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

void drawMetresGrid(QPainter& painter, const TrackGeometry& geometry, const TrackCamera& camera) {
    // Lines at least 60 pixels apart, a round number of metres.
    const double metresPerWorld = metresPerPixel(geometry.latitude, 0);
    const double step = roundLength(std::max(1.0, 60 * metresPerWorld / camera.scale()) * 2.5);
    const double stepWorld = step / metresPerWorld;
    const QRectF view = camera.worldView();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(QColor(225, 228, 232), 1));
    const double firstX = geometry.origin.x() +
                          std::ceil((view.left() - geometry.origin.x()) / stepWorld) * stepWorld;
    for (double x = firstX; x <= view.right(); x += stepWorld) {
        const double px = camera.toWidget(QPointF(x, 0)).x();
        painter.drawLine(QPointF(px, 0), QPointF(px, camera.size.height()));
    }
    const double firstY =
        geometry.origin.y() + std::ceil((view.top() - geometry.origin.y()) / stepWorld) * stepWorld;
    for (double y = firstY; y <= view.bottom(); y += stepWorld) {
        const double py = camera.toWidget(QPointF(0, y)).y();
        painter.drawLine(QPointF(0, py), QPointF(camera.size.width(), py));
    }
    painter.restore();
}

static QString altitudeLabel(float metres) {
    return QStringLiteral("%1 m").arg(double(metres), 0, 'f', 0);
}

int colourScaleRoom(const QFontMetrics& metrics, float lowest, float highest) {
    const int label = std::max(metrics.horizontalAdvance(altitudeLabel(lowest)),
                               metrics.horizontalAdvance(altitudeLabel(highest)));
    return 6 + ScaleWidth + 4 + label + 6;
}

void drawColourScale(QPainter& painter, const QRect& bar, float lowest, float highest) {
    QLinearGradient gradient(bar.bottomLeft(), bar.topLeft());
    for (double s = 0; s <= 1.0001; s += 0.125)
        gradient.setColorAt(s, altitudeColour(s));
    painter.fillRect(bar, gradient);
    const QFontMetrics metrics = painter.fontMetrics();
    const QString high = altitudeLabel(highest), low = altitudeLabel(lowest);
    const int x = bar.right() + 5;
    const int width = std::max(metrics.horizontalAdvance(high), metrics.horizontalAdvance(low));
    painter.setPen(Qt::black);
    painter.drawText(QRect(x, bar.top(), width, metrics.height()), Qt::AlignLeft | Qt::AlignTop,
                     high);
    painter.drawText(QRect(x, bar.bottom() - metrics.height() + 1, width, metrics.height()),
                     Qt::AlignLeft | Qt::AlignBottom, low);
}

std::pair<double, double> scaleBarLength(const TrackCamera& camera) {
    const double perPixel = metresPerPixel(latitudeOf(camera.centre.y()), camera.zoom);
    const double metres = roundLength(perPixel * 120);
    return {metres, metres / perPixel};
}

QRectF drawBoxedText(QPainter& painter, const QPointF& anchor, const QString& text, bool alignRight,
                     bool bottom) {
    const QFontMetricsF metrics(painter.font());
    QRectF box(0, 0, metrics.horizontalAdvance(text) + 8, metrics.height() + 2);
    box.moveTo(alignRight ? anchor.x() - box.width() : anchor.x(),
               bottom ? anchor.y() - box.height() : anchor.y());
    painter.fillRect(box, QColor(255, 255, 255, 200));
    painter.setPen(QColor(40, 40, 40));
    painter.drawText(box, Qt::AlignCenter, text);
    return box;
}

// The scale bar's pale box, above `bottom`.
static QRectF scaleBarBox(const QFontMetricsF& metrics, const TrackCamera& camera, double bottom) {
    const auto [metres, pixels] = scaleBarLength(camera);
    return QRectF(6, bottom - 20 - metrics.height(),
                  pixels + 14 + metrics.horizontalAdvance(lengthText(metres)),
                  metrics.height() + 14);
}

void drawScaleBar(QPainter& painter, const TrackCamera& camera, double bottom) {
    const auto [metres, pixels] = scaleBarLength(camera);
    const double left = 10, base = (bottom < 0 ? camera.size.height() : bottom) - 10;
    const QFontMetricsF metrics(painter.font());
    painter.fillRect(scaleBarBox(metrics, camera, base + 10), QColor(255, 255, 255, 200));
    painter.setPen(QPen(QColor(40, 40, 40), 2, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(left, base - 6), QPointF(left + pixels, base - 6));
    painter.drawLine(QPointF(left, base - 11), QPointF(left, base - 1));
    painter.drawLine(QPointF(left + pixels, base - 11), QPointF(left + pixels, base - 1));
    painter.drawText(QPointF(left + pixels + 6, base - 6 + metrics.ascent() / 2 - 1),
                     lengthText(metres));
}

void drawTrackOverlays(QPainter& painter, const TrackCamera& camera, const TrackGeometry& geometry,
                       const TrackCaptions& captions) {
    const QSizeF area = camera.size;
    painter.setRenderHint(QPainter::Antialiasing);
    if (geometry.first) {
        auto mark = [&](size_t sample, const QColor& colour, const QString& caption, bool square) {
            const QPointF at = camera.toWidget(geometry.world(sample));
            if (!QRectF(QPointF(0, 0), area).contains(at))
                return; // panned out of view: nothing spills past the edge
            painter.setPen(QPen(Qt::black, 1));
            painter.setBrush(colour);
            const QRectF box(at - QPointF(5, 5), QSizeF(10, 10));
            square ? painter.drawRect(box) : painter.drawEllipse(box);
            painter.drawText(at + QPointF(8, -6), caption);
        };
        mark(*geometry.last, QColor(210, 40, 40), captions.end, true);
        mark(*geometry.first, QColor(40, 170, 60), captions.start, false);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);

    // The colour scale at the right, on a pale box so it reads on a map too.
    const QFontMetrics metrics = painter.fontMetrics();
    const int room = colourScaleRoom(metrics, geometry.lowest, geometry.highest);
    const int bottom = int(area.height()) - Margin - (captions.map ? metrics.height() + 6 : 0);
    const QRect bar(int(area.width()) - room + 6, Margin, ScaleWidth,
                    std::max(10, bottom - Margin));
    painter.fillRect(QRect(bar.left() - 4, bar.top() - 4, room - 4, bar.height() + 8),
                     QColor(255, 255, 255, captions.map ? 200 : 255));
    drawColourScale(painter, bar, geometry.lowest, geometry.highest);
    if (geometry.first) {
        // Where the pane is too narrow for both side by side, the scale bar
        // stands above the attribution rather than under it.
        const QFontMetricsF metricsF(painter.font());
        const double attribution =
            area.width() - metricsF.horizontalAdvance(captions.attribution) - 8;
        const bool crowded =
            captions.map && scaleBarBox(metricsF, camera, area.height()).right() > attribution;
        drawScaleBar(painter, camera, area.height() - (crowded ? metricsF.height() + 4 : 0));
    }
    if (captions.map)
        drawBoxedText(painter, QPointF(area.width(), area.height()), captions.attribution, true,
                      true);
}
