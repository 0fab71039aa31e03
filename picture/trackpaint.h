#pragma once

#include "picture/trackscene.h"

#include <vector>

class QPainter;
class TileFetcher;
struct FlightLog;
struct TileKey;

// What a drawing of the track shows besides its camera.
struct TrackScene {
    const FlightLog& log;
    const TrackGeometry& geometry;
    std::vector<TrackSpan> spans;       // marked along the track (thermals)
    const TileFetcher* tiles = nullptr; // the tiles at hand; nullptr: the grid
    TrackCaptions captions;
};

// A tile where the camera puts it. `cut`: only its whole pixels inside the
// camera's area, for a painter that cannot clip (an SVG).
void drawTile(QPainter& painter, const TrackCamera& camera, const TileKey& key, const QImage& tile,
              bool cut = false);

// The track as the camera sees it, in the rectangle (0, 0, camera.size):
// white, the metres grid, the tiles already at hand where the map is on
// (none is asked for: where one is missing the grid stays), the coloured
// track with its marked stretches, and the overlays (start and end, colour
// scale, scale bar, attribution on the map). Nothing is drawn outside that
// rectangle, on an SVG as on an image: the track is cut at its edges.
void paintTrackScene(QPainter& painter, const TrackCamera& camera, const TrackScene& scene);

// The camera that fits the whole track into a picture of `size`.
TrackCamera pictureCamera(const TrackGeometry& geometry, const QSize& size, bool map);
// The track pane as a picture of the image's size, for exports: fitted, on
// the tiles `tiles` has at hand (nullptr: the grid), without a cursor.
void paintTrackPicture(QImage& image, const FlightLog& log, const TrackGeometry& geometry,
                       const TileFetcher* tiles, const TrackCaptions& captions);
