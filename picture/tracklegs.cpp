#include "picture/trackraster.h"
#include "picture/trackscene.h"

#include "flight/flightlog.h"

#include <QPainter>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int ColourSteps = 64;
constexpr size_t WideLegs = 20000;

// A sample's place at the zoom's scale from the first fix, in sixteenths of
// a pixel, so the picture's own fraction of a pixel can still be added.
// Places further than 2^25 pixels (a stray fix on the far side of the
// world, seen close) are held at that distance, so sums of two stay within
// an int.
constexpr double Far = double(1 << 29);

// Rounded half away from zero, inline: a library call a sample would double
// the time a zoom's legs take to build.
inline int nearest(double value) {
    value = value > -Far ? (value < Far ? value : Far) : -Far; // NaN too
    return int(value < 0 ? value - 0.5 : value + 0.5);
}
inline QPoint placeOf(const TrackGeometry& geometry, size_t sample, double scale) {
    double x = double(geometry.x[sample]) * scale, y = double(geometry.y[sample]) * scale;
    // Brought nearer along its own direction, so its leg still points at it.
    const double distance = std::max(std::abs(x), std::abs(y));
    if (distance > Far)
        x *= Far / distance, y *= Far / distance;
    return QPoint(nearest(x), nearest(y));
}

const std::array<QRgb, ColourSteps>& palette() {
    static const std::array<QRgb, ColourSteps> colours = [] {
        std::array<QRgb, ColourSteps> c{};
        for (int step = 0; step < ColourSteps; ++step)
            c[size_t(step)] = altitudeColour(double(step) / (ColourSteps - 1)).rgba();
        return c;
    }();
    return colours;
}

} // namespace

void TrackLegs::build(const FlightLog& log, const TrackGeometry& geometry, double newZoom,
                      const std::vector<TrackSpan>& spans) {
    *this = TrackLegs();
    zoom = newZoom;
    if (!geometry.first)
        return;
    constexpr int F = TrackLegs::Fraction;
    const double scale = std::exp2(newZoom) * F;
    const double perMetre = 1.0 / std::max(1.0f, geometry.highest - geometry.lowest);
    auto stepOf = [&](size_t i) {
        const double share = (log.baroAltitude[i] - geometry.lowest) * perMetre;
        return std::uint8_t(nearest(std::clamp(share, 0.0, 1.0) * (ColourSteps - 1)) & StepBits);
    };
    auto isMarked = [&](size_t i) {
        return std::any_of(spans.begin(), spans.end(),
                           [i](const TrackSpan& s) { return i > s.begin && i < s.end; });
    };
    const double pixels = std::exp2(newZoom);
    auto exact = [&](size_t i) { return QPointF(geometry.x[i] * pixels, geometry.y[i] * pixels); };
    // The legs a pixel long or more, as strokes are drawn and thermals
    // marked: the samples at least a pixel from the one kept before and the
    // last of each run. Their count chooses smooth strokes or pixels.
    std::vector<std::pair<std::uint32_t, std::uint32_t>> strokes; // while few
    auto addStroke = [&](size_t from, size_t to) {
        if (++count <= WideLegs)
            strokes.emplace_back(std::uint32_t(from), std::uint32_t(to));
        if (!spans.empty() && isMarked(to))
            marked.append(QLineF(exact(from), exact(to)));
    };
    // Written in place and counted on without branches where they can be
    // spared: which samples fall away changes from one to the next.
    points.resize(geometry.x.size());
    flags.resize(geometry.x.size());
    size_t kept = 0;
    for (const FlightLog::Segment& segment : log.segments) {
        bool runStarted = false;
        QPoint last, lastStroke;
        size_t strokeFrom = 0, pending = 0;
        bool hasPending = false;
        for (size_t i = segment.begin; i < segment.end && i < geometry.x.size(); ++i) {
            if (!geometry.hasPosition(i))
                continue;
            const QPoint at = placeOf(geometry, i, scale);
            const QPoint d = at - lastStroke;
            const bool stroke =
                runStarted && double(d.x()) * d.x() + double(d.y()) * d.y() >= F * F;
            if (stroke && (count < WideLegs || !spans.empty()))
                addStroke(strokeFrom, i);
            else
                count += stroke;
            const bool restart = stroke || !runStarted;
            lastStroke = restart ? at : lastStroke;
            strokeFrom = restart ? i : strokeFrom;
            hasPending = !restart;
            pending = i;
            // Within half a pixel of the sample kept before: the drawn line
            // would pass no other pixel.
            const bool keep = !runStarted || std::abs(at.x() - last.x()) >= F / 2 ||
                              std::abs(at.y() - last.y()) >= F / 2;
            points[kept] = at;
            flags[kept] = std::uint8_t(stepOf(i) | (runStarted ? Joined : 0));
            kept += keep;
            last = keep ? at : last;
            runStarted = true;
        }
        if (hasPending)
            addStroke(strokeFrom, pending);
    }
    points.resize(kept);
    flags.resize(kept);
    for (size_t first = 0; first < points.size(); first += BlockSize) {
        const size_t end = std::min(points.size(), first + BlockSize);
        int left = points[first].x(), right = left, top = points[first].y(), bottom = top;
        for (size_t k = first > 0 && (flags[first] & Joined) ? first - 1 : first; k < end; ++k) {
            left = std::min(left, points[k].x()), right = std::max(right, points[k].x());
            top = std::min(top, points[k].y()), bottom = std::max(bottom, points[k].y());
        }
        blocks.push_back(QRect(QPoint(left, top), QPoint(right, bottom)));
    }
    if (count <= WideLegs) {
        byColour.assign(ColourSteps, {});
        for (const auto& [from, to] : strokes)
            byColour[stepOf(to)].append(QLineF(exact(from), exact(to)));
        points.clear(), flags.clear(), blocks.clear(); // drawn as strokes
    }
    points.shrink_to_fit(); // kept while the zoom is in use
    flags.shrink_to_fit();
}

namespace {

// The marked stretches and, while the legs are few, the track itself.
void drawStrokes(const TrackLegs& legs, QPainter& painter, const TrackGeometry& geometry,
                 const TrackCamera& camera) {
    if (legs.marked.isEmpty() && !legs.smooth())
        return;
    painter.save();
    painter.translate(camera.toWidget(geometry.origin));
    if (!legs.marked.isEmpty()) {
        painter.setRenderHint(QPainter::Antialiasing, legs.smooth());
        painter.setPen(QPen(QColor(255, 140, 0, 150), 9, Qt::SolidLine, Qt::RoundCap));
        painter.drawLines(legs.marked);
    }
    painter.setRenderHint(QPainter::Antialiasing);
    // A colour step at a time: a handful of strokes for any number of legs.
    QPen pen(Qt::black, 2.0, Qt::SolidLine, Qt::RoundCap);
    for (size_t step = 0; step < legs.byColour.size(); ++step) {
        if (legs.byColour[step].isEmpty())
            continue;
        pen.setColor(altitudeColour(double(step) / (ColourSteps - 1)));
        painter.setPen(pen);
        painter.drawLines(legs.byColour[step]);
    }
    painter.restore();
}

// The many legs' pixels, set into the image, block by block in sight.
void drawPixels(const TrackLegs& legs, QImage& image, const TrackGeometry& geometry,
                const TrackCamera& camera) {
    if (legs.smooth() || legs.points.empty())
        return;
    constexpr int F = TrackLegs::Fraction;
    const QPointF originAt = camera.toWidget(geometry.origin) * F;
    // Half a pixel more, so the shift below rounds to the nearest pixel.
    const QPoint offset(nearest(originAt.x()) + F / 2, nearest(originAt.y()) + F / 2);
    const QRect sight(QPoint(-1, -1) * F - offset, (image.size() + QSize(2, 2)) * F);
    auto pixel = [offset](QPoint place) {
        place += offset;
        return QPoint(place.x() >> 4, place.y() >> 4);
    };
    static_assert(F == 16);
    TrackRaster raster(image.size());
    for (size_t block = 0; block < legs.blocks.size(); ++block) {
        if (!legs.blocks[block].intersects(sight))
            continue;
        const size_t first = block * TrackLegs::BlockSize;
        const size_t end = std::min(legs.points.size(), first + TrackLegs::BlockSize);
        QPoint from = first > 0 ? pixel(legs.points[first - 1]) : QPoint();
        for (size_t k = first; k < end; ++k) {
            const QPoint to = pixel(legs.points[k]);
            if (legs.flags[k] & TrackLegs::Joined)
                raster.line(from, to, std::uint8_t((legs.flags[k] & TrackLegs::StepBits) + 1));
            from = to;
        }
    }
    raster.paintInto(image, palette().data());
}

} // namespace

void TrackLegs::draw(QPainter& painter, const TrackGeometry& geometry,
                     const TrackCamera& camera) const {
    drawStrokes(*this, painter, geometry, camera);
    if (smooth() || points.empty())
        return;
    // The one-pixel legs on a picture of the camera's, laid over what the
    // painter holds in the camera's place.
    QImage layer(camera.size.toSize(), QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    drawPixels(*this, layer, geometry, camera);
    painter.drawImage(QPoint(0, 0), layer);
}

void TrackLegs::draw(QImage& image, const TrackGeometry& geometry,
                     const TrackCamera& camera) const {
    if (smooth() || !marked.isEmpty()) {
        QPainter painter(&image);
        drawStrokes(*this, painter, geometry, camera);
    }
    drawPixels(*this, image, geometry, camera);
}

size_t TrackLegs::bytes() const {
    size_t lines = size_t(marked.capacity());
    for (const QList<QLineF>& legs : byColour)
        lines += size_t(legs.capacity());
    return points.capacity() * sizeof(QPoint) + flags.capacity() +
           blocks.capacity() * sizeof(QRect) + lines * sizeof(QLineF);
}

const TrackLegs& TrackLevels::at(const FlightLog& log, const TrackGeometry& geometry, double zoom,
                                 const std::vector<TrackSpan>& spans) {
    auto found = std::find_if(m_levels.begin(), m_levels.end(),
                              [zoom](const TrackLegs& legs) { return legs.zoom == zoom; });
    if (found == m_levels.end()) {
        if (m_levels.size() >= Kept)
            m_levels.erase(m_levels.begin());
        m_levels.emplace_back();
        m_levels.back().build(log, geometry, zoom, spans);
    } else {
        std::rotate(found, found + 1, m_levels.end());
    }
    return m_levels.back();
}

size_t TrackLevels::bytes() const {
    size_t total = 0;
    for (const TrackLegs& legs : m_levels)
        total += legs.bytes();
    return total;
}
