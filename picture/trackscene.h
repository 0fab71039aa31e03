#pragma once

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QRect>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

class QFontMetrics;
class QPainter;
struct FlightLog;

// Where the track pane looks: its centre in zoom-0 Web Mercator pixels (see
// map/tilemath.h) and a zoom, fractional on the grid, whole on the map so the
// tiles stay sharp.
struct TrackCamera {
    QPointF centre;
    double zoom = 1;
    QSizeF size;

    double scale() const;
    QPointF toWidget(const QPointF& world) const;
    QPointF toWorld(const QPointF& widget) const;
    QRectF worldView() const;
    // Zooms to `zoom` keeping the world point under `widget` in its place.
    void zoomAbout(const QPointF& widget, double zoom);
    // The zoom and centre that show `bounds` (zoom-0 pixels) inside `room`
    // (widget pixels), centred; the zoom rounded down to a whole level when
    // `whole`, and kept within [lowest, highest].
    void fit(const QRectF& bounds, const QRectF& room, bool whole, double lowest, double highest);
};

// A marked stretch of the log, samples [begin, end).
struct TrackSpan {
    size_t begin = 0;
    size_t end = 0;
};

// The log's positions in Web Mercator once per log: float offsets from the
// first fix keep a million samples compact and exact to well under a pixel
// at the closest zoom.
struct TrackGeometry {
    QPointF origin;                    // the first fix, zoom-0 pixels
    double latitude = 0;               // of the first fix, for the metres grid
    std::vector<float> x, y;           // offsets from origin; NaN without a position
    QRectF bounds;                     // of the fixes, zoom-0 pixels; empty without one
    float lowest = 0, highest = 0;     // barometric altitude range
    std::optional<size_t> first, last; // first and last sample with a position

    static TrackGeometry of(const FlightLog& log);
    QPointF world(size_t sample) const { return origin + QPointF(x[sample], y[sample]); }
    bool hasPosition(size_t sample) const { return !std::isnan(x[sample]); }
    // The sample with a position nearest to the world point.
    std::optional<size_t> nearest(const QPointF& world) const;
};

// The altitude-coloured legs at one zoom, in zoom-scaled offsets from the
// origin, so a pan only moves them; each leg takes the colour of its end's
// altitude. Up to some ten thousand legs of a pixel or more are drawn smooth
// and two pixels wide. A longer track is drawn one pixel wide, set by hand
// (see TrackRaster), which costs little more than the pixels it covers: a
// sample falls away only where it lies within half a pixel of the one kept
// before it, so every turn of a pixel stays.
struct TrackLegs {
    double zoom = -1;
    // The long track's kept samples' places in log order (in Fraction parts
    // of a pixel from the first fix), and per kept sample its colour step and
    // whether a leg joins it to the kept sample before (a new run or segment
    // starts without one).
    std::vector<QPoint> points;
    std::vector<std::uint8_t> flags;
    // The pixels the legs of each block of kept samples cross (the leg into
    // a block's first sample included), so a close zoom skips the blocks
    // out of sight.
    std::vector<QRect> blocks;
    std::vector<QList<QLineF>> byColour; // the smooth legs, while few
    QList<QLineF> marked;
    size_t count = 0; // legs of a pixel or more

    static constexpr std::uint8_t StepBits = 0x3f, Joined = 0x40;
    static constexpr size_t BlockSize = 256;
    static constexpr int Fraction = 16;

    void build(const FlightLog& log, const TrackGeometry& geometry, double zoom,
               const std::vector<TrackSpan>& spans);
    void draw(QPainter& painter, const TrackGeometry& geometry, const TrackCamera& camera) const;
    // The same into an image of 32 bits a pixel that no painter is open on,
    // the legs' pixels set straight into it.
    void draw(QImage& image, const TrackGeometry& geometry, const TrackCamera& camera) const;
    bool smooth() const { return !byColour.empty(); }
    size_t bytes() const;
};

// The legs of the last few zooms, each built on its first use, so zooming
// back and forth only draws.
class TrackLevels {
  public:
    const TrackLegs& at(const FlightLog& log, const TrackGeometry& geometry, double zoom,
                        const std::vector<TrackSpan>& spans);
    void clear() { m_levels.clear(); }
    size_t bytes() const;

  private:
    static constexpr size_t Kept = 3;
    std::vector<TrackLegs> m_levels; // the latest used last
};

// The colour of an altitude share of the range (0 lowest, 1 highest).
QColor altitudeColour(double share);

// Light metres lines, a round number of metres apart, through the first fix.
void drawMetresGrid(QPainter& painter, const TrackGeometry& geometry, const TrackCamera& camera);
// The altitude colour scale in `bar`, its labels to the right of it.
void drawColourScale(QPainter& painter, const QRect& bar, float lowest, float highest);
// The room the colour scale takes at the right edge, its labels included.
int colourScaleRoom(const QFontMetrics& metrics, float lowest, float highest);
// A bar of a round length at the bottom left (above `bottom`, the area's
// bottom when below 0), in metres or km.
void drawScaleBar(QPainter& painter, const TrackCamera& camera, double bottom = -1);
// The length in metres and pixels of the scale bar for the camera.
std::pair<double, double> scaleBarLength(const TrackCamera& camera);
// A line of text on a pale box, right- or left-aligned at `anchor`.
QRectF drawBoxedText(QPainter& painter, const QPointF& anchor, const QString& text, bool alignRight,
                     bool bottom);

// What the overlays say, in the pane's language.
struct TrackCaptions {
    QString start, end;
    QString attribution; // drawn only when `map`
    bool map = false;
};
// Start and end marks, the colour scale, the scale bar and, on the map, the
// attribution at the bottom right.
void drawTrackOverlays(QPainter& painter, const TrackCamera& camera, const TrackGeometry& geometry,
                       const TrackCaptions& captions);
