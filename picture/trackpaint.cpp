#include "picture/trackpaint.h"

#include "map/tilefetcher.h"
#include "map/tilemath.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr int Margin = 14;
constexpr int ScaleBarRoom = 34;
// Half the widths of the pens TrackLegs draws with (line and marked
// stretch), so a cut leg's round end stays inside too.
constexpr double LineReach = 1;
constexpr double MarkReach = 4.5;

// The part of `line` inside `box` (Liang-Barsky), if any.
std::optional<QLineF> cutLine(const QLineF& line, const QRectF& box) {
    if (box.contains(line.p1()) && box.contains(line.p2()))
        return line;
    const double p[4] = {-line.dx(), line.dx(), -line.dy(), line.dy()};
    const double q[4] = {line.x1() - box.left(), box.right() - line.x1(), line.y1() - box.top(),
                         box.bottom() - line.y1()};
    double enter = 0, leave = 1;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0)
                return std::nullopt;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            enter = std::max(enter, t);
        else
            leave = std::min(leave, t);
        if (enter > leave)
            return std::nullopt;
    }
    return QLineF(line.pointAt(enter), line.pointAt(leave));
}

// Cuts the legs to the camera's area. An image painter would clip them
// anyway; an SVG cannot, and a track panned half out of view would run over
// the rest of the picture. A long track is drawn as an image of the camera's
// size, which ends at the area's edge by itself.
void cutToView(TrackLegs& legs, const TrackGeometry& geometry, const TrackCamera& camera) {
    const QRectF view =
        QRectF(QPointF(0, 0), camera.size).translated(-camera.toWidget(geometry.origin));
    auto cut = [&](const QList<QLineF>& lines, double reach) {
        const QRectF box = view.adjusted(reach, reach, -reach, -reach);
        QList<QLineF> kept;
        for (const QLineF& line : lines)
            if (const auto inside = cutLine(line, box))
                kept.append(*inside);
        return kept;
    };
    for (QList<QLineF>& lines : legs.byColour)
        lines = cut(lines, LineReach);
    legs.marked = cut(legs.marked, MarkReach);
}

} // namespace

void drawTile(QPainter& painter, const TrackCamera& camera, const TileKey& key, const QImage& tile,
              bool cut) {
    const double size = TileSize * camera.scale() / double(1 << key.zoom);
    const QRectF target(camera.toWidget(tileCorner(key)), QSizeF(size, size));
    const QRectF shown = target.intersected(QRectF(QPointF(0, 0), camera.size));
    if (!cut || shown == target) {
        painter.drawImage(target, tile);
        return;
    }
    if (shown.isEmpty() || tile.isNull())
        return;
    // Whole tile pixels, so the part reaches less than a pixel past the edge.
    const double perPixel = size / tile.width();
    const QPointF from = (shown.topLeft() - target.topLeft()) / perPixel;
    const QPointF to = (shown.bottomRight() - target.topLeft()) / perPixel;
    const QRect source = QRect(QPoint(int(std::floor(from.x())), int(std::floor(from.y()))),
                               QPoint(int(std::ceil(to.x())) - 1, int(std::ceil(to.y())) - 1))
                             .intersected(tile.rect());
    painter.drawImage(QRectF(target.topLeft() + QPointF(source.topLeft()) * perPixel,
                             QSizeF(source.size()) * perPixel),
                      tile.copy(source));
}

void paintTrackScene(QPainter& painter, const TrackCamera& camera, const TrackScene& scene) {
    const QRectF area(QPointF(0, 0), camera.size);
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);
    painter.fillRect(area, Qt::white);
    drawMetresGrid(painter, scene.geometry, camera);
    if (scene.tiles && scene.captions.map && scene.geometry.first)
        for (const TileKey& key : tilesCovering(camera.worldView(), int(std::lround(camera.zoom))))
            if (const QImage* tile = scene.tiles->tile(key))
                drawTile(painter, camera, key, *tile, true);
    TrackLegs legs;
    legs.build(scene.log, scene.geometry, camera.zoom, scene.spans);
    cutToView(legs, scene.geometry, camera);
    legs.draw(painter, scene.geometry, camera);
    drawTrackOverlays(painter, camera, scene.geometry, scene.captions);
    painter.restore();
}

TrackCamera pictureCamera(const TrackGeometry& geometry, const QSize& size, bool map) {
    TrackCamera camera;
    camera.size = size;
    const QFont font;
    const int room = colourScaleRoom(QFontMetrics(font), geometry.lowest, geometry.highest);
    if (geometry.first)
        camera.fit(geometry.bounds,
                   QRectF(QPointF(Margin, Margin),
                          QPointF(size.width() - room - Margin, size.height() - ScaleBarRoom)),
                   map, MinZoom, map ? MaxZoom : 22);
    return camera;
}

void paintTrackPicture(QImage& image, const FlightLog& log, const TrackGeometry& geometry,
                       const TileFetcher* tiles, const TrackCaptions& captions) {
    QPainter painter(&image);
    paintTrackScene(painter, pictureCamera(geometry, image.size(), captions.map),
                    {log, geometry, {}, tiles, captions});
}
