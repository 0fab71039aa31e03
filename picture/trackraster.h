#pragma once

#include <QPoint>
#include <QRgb>
#include <QSize>
#include <cstdint>
#include <vector>

class QImage;

// One-pixel lines drawn by hand into a grid of colour steps, for tracks of
// many thousand legs where the painter's cost per line outweighs the pixels
// it sets. Where lines cross, the highest step stays, as if the steps had
// been drawn one after another, lowest first.
class TrackRaster {
  public:
    explicit TrackRaster(QSize size);

    // The line from `a` to `b`, both ends included, in step `step` (1 to
    // 255); the parts outside the grid are left out.
    void line(QPoint a, QPoint b, std::uint8_t step);
    std::uint8_t at(int x, int y) const { return m_cells[size_t(y) * size_t(m_width) + size_t(x)]; }
    // Sets the image's pixels (32 bits a pixel, of the grid's size) where a
    // line passes to palette[step - 1]; the others stay as they are.
    void paintInto(QImage& image, const QRgb* palette) const;

  private:
    void plot(int x, int y, std::uint8_t step) {
        std::uint8_t& cell = m_cells[size_t(y) * size_t(m_width) + size_t(x)];
        cell = cell < step ? step : cell;
    }
    void clippedLine(QPoint a, QPoint b, std::uint8_t step);

    int m_width, m_height;
    std::vector<std::uint8_t> m_cells;
};
