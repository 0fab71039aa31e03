#include "map/tilemath.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double MaxLatitude = 85.0511287798;
constexpr double EquatorMetresPerPixel = 156543.03392804097; // at zoom 0
} // namespace

QPointF worldPoint(double latitude, double longitude) {
    const double lat = std::clamp(latitude, -MaxLatitude, MaxLatitude) * std::numbers::pi / 180;
    const double x = (longitude + 180) / 360;
    const double y = (1 - std::log(std::tan(lat) + 1 / std::cos(lat)) / std::numbers::pi) / 2;
    return {x * TileSize, y * TileSize};
}

double metresPerPixel(double latitude, double zoom) {
    return EquatorMetresPerPixel * std::cos(latitude * std::numbers::pi / 180) / std::exp2(zoom);
}

size_t qHash(const TileKey& key, size_t seed) {
    return ::qHash((quint64(quint32(key.zoom)) << 48) ^ (quint64(quint32(key.x)) << 24) ^
                       quint64(quint32(key.y)),
                   seed);
}

std::vector<TileKey> tilesCovering(const QRectF& view, int zoom) {
    std::vector<TileKey> tiles;
    if (zoom < 0 || zoom > 30 || view.isEmpty())
        return tiles;
    const int count = 1 << zoom;
    const double scale = double(count) / TileSize; // zoom-0 pixels to tile units
    const int left = std::max(0, int(std::floor(view.left() * scale)));
    const int top = std::max(0, int(std::floor(view.top() * scale)));
    const int right = std::min(count - 1, int(std::ceil(view.right() * scale)) - 1);
    const int bottom = std::min(count - 1, int(std::ceil(view.bottom() * scale)) - 1);
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x)
            tiles.push_back({zoom, x, y});
    const QPointF centre = view.center() * scale;
    auto distance = [&](const TileKey& t) {
        return std::hypot(t.x + 0.5 - centre.x(), t.y + 0.5 - centre.y());
    };
    std::stable_sort(tiles.begin(), tiles.end(),
                     [&](const TileKey& a, const TileKey& b) { return distance(a) < distance(b); });
    return tiles;
}

QPointF tileCorner(const TileKey& key) {
    const double size = double(TileSize) / double(1 << key.zoom);
    return {key.x * size, key.y * size};
}
