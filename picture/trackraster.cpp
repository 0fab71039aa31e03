#include "picture/trackraster.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

TrackRaster::TrackRaster(QSize size)
    : m_width(std::max(0, size.width())), m_height(std::max(0, size.height())),
      m_cells(size_t(m_width) * size_t(m_height)) {}

void TrackRaster::line(QPoint a, QPoint b, std::uint8_t step) {
    const bool aInside =
        unsigned(a.x()) < unsigned(m_width) && unsigned(a.y()) < unsigned(m_height);
    const bool bInside =
        unsigned(b.x()) < unsigned(m_width) && unsigned(b.y()) < unsigned(m_height);
    if (!aInside || !bInside) {
        clippedLine(a, b, step);
        return;
    }
    // Bresenham: nearly every leg of a long track lies inside, a few pixels long.
    int x = a.x(), y = a.y();
    const int dx = std::abs(b.x() - x), dy = -std::abs(b.y() - y);
    const int sx = x < b.x() ? 1 : -1, sy = y < b.y() ? 1 : -1;
    int error = dx + dy;
    for (;;) {
        plot(x, y, step);
        if (x == b.x() && y == b.y())
            return;
        const int twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += sx;
        }
        if (twice <= dx) {
            error += dx;
            y += sy;
        }
    }
}

// A line with an end outside: stepped along its longer axis over the part of
// that axis inside the grid, so a leg far longer than the grid costs no more
// than the grid's width.
void TrackRaster::clippedLine(QPoint a, QPoint b, std::uint8_t step) {
    if (std::max(a.x(), b.x()) < 0 || std::min(a.x(), b.x()) >= m_width ||
        std::max(a.y(), b.y()) < 0 || std::min(a.y(), b.y()) >= m_height)
        return;
    const double dx = double(b.x()) - a.x(), dy = double(b.y()) - a.y();
    const bool alongX = std::abs(dx) >= std::abs(dy);
    const double from = alongX ? a.x() : a.y(), to = alongX ? b.x() : b.y();
    const double slope = alongX ? dy / dx : dx / dy; // the other axis per step
    const double base = alongX ? a.y() : a.x();
    const int limit = alongX ? m_width : m_height, across = alongX ? m_height : m_width;
    const int first = int(std::max(std::min(from, to), 0.0));
    const int last = int(std::min(std::max(from, to), double(limit - 1)));
    for (int along = first; along <= last; ++along) {
        const long other = std::lrint(base + (along - from) * slope);
        if (other < 0 || other >= across)
            continue;
        const int x = alongX ? along : int(other), y = alongX ? int(other) : along;
        plot(x, y, step);
    }
}

void TrackRaster::paintInto(QImage& image, const QRgb* palette) const {
    if (image.size() != QSize(m_width, m_height) || image.depth() != 32)
        return;
    for (int y = 0; y < m_height; ++y) {
        const std::uint8_t* cells = m_cells.data() + size_t(y) * size_t(m_width);
        QRgb* pixels = nullptr; // the row, once it holds a line
        int x = 0;
        for (; x < m_width; ++x) {
            // Eight empty cells at a time: most of a picture has no line.
            if ((x & 7) == 0 && x + 8 <= m_width) {
                std::uint64_t eight;
                std::memcpy(&eight, cells + x, 8);
                if (!eight) {
                    x += 7;
                    continue;
                }
            }
            if (!cells[x])
                continue;
            if (!pixels)
                pixels = reinterpret_cast<QRgb*>(image.scanLine(y));
            pixels[x] = palette[cells[x] - 1];
        }
    }
}
