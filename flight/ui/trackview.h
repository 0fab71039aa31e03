#pragma once

#include "map/mapsettings.h"
#include "map/tileurl.h"
#include "picture/trackscene.h"

#include <QImage>
#include <QWidget>
#include <optional>
#include <vector>

struct FlightLog;
class QPainter;
class QTimer;
class QToolButton;
class TileFetcher;

// The track of one log seen from above, north up, in Web Mercator: on map
// tiles once the pilot has switched the map on (remembered in the extra
// settings file), else on a metres grid. The line is coloured by the
// barometric altitude on a scale from the log's lowest (dark violet) to its
// highest altitude (yellow-green), shown beside it; start and end are marked,
// and so is the sample under the plots' cursor. The wheel zooms about the
// pointer, a drag pans, "Track einpassen" fits the track again; a click asks
// for the sample with a position nearest to it.
//
// Drawing is layered so that moving the cursor costs one picture copy: the
// background (tiles or grid) and the track are composed once per view, a
// tile that arrives is drawn into the background alone, and a pan shifts the
// track's layer rather than drawing the track again. While the map is off no tile
// is asked for; missing tiles leave the grid and a quiet note, never a box.
class TrackView : public QWidget {
    Q_OBJECT

  public:
    explicit TrackView(QWidget* parent = nullptr);
    ~TrackView() override;

    // The log to show (not owned; nullptr: none). Fits the track.
    void setLog(const FlightLog* log);
    void setCursorSample(std::optional<size_t> sample);
    // Stretches of the log to mark along the track (thermals, for example).
    void setMarkedSpans(std::vector<TrackSpan> spans);
    // Captions in the language of the flag (1 English, else German).
    void setLanguage(qint32 language);
    // The widget position of a sample's place.
    QPointF positionOf(size_t sample);

    void setMapEnabled(bool on); // remembered in the settings
    bool mapEnabled() const { return m_settings.enabled; }
    void fitTrack();
    // Draws the track and tiles of the zoom the wheel came to rest at now,
    // rather than when the wheel has been still for a moment.
    void settleZoom();
    double zoom() const { return m_camera.zoom; }
    // The quiet note on the map (empty when all is well).
    // The quiet note on the pane: a log without position, or missing tiles.
    QString note() const;
    QString attribution() const;
    // The scale bar's length in metres and pixels.
    std::pair<double, double> scaleBar() const { return scaleBarLength(m_camera); }
    // The pane as a picture of `size`: what the screen shows, attribution
    // included, without the buttons and the cursor.
    QImage picture(const QSize& size);
    // The pane as the screen shows it (its zoom, centre and size, the tiles
    // it has, the marked stretches), without the buttons, the cursor and the
    // note, at the painter's origin: the track part of the view's exports.
    void paintScene(QPainter& painter);
    // The tile fetcher while the map is on (nullptr while off).
    TileFetcher* fetcher() const { return m_fetcher; }

  signals:
    void sampleClicked(size_t sample);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void ensureFitted();
    void viewChanged(); // camera moved: layers stale
    void composeScene();
    void drawTrackLayer();
    void drawBase();
    void drawTile(const TileKey& key);
    void tileArrived(const TileKey& key);
    void tileFailed(const TileKey& key);
    void drawOverlays(QPainter& painter);
    TrackCaptions captions() const;
    QRectF fitRoom() const;
    QRect cursorRect(std::optional<size_t> sample);
    void updateButtons();
    void layoutButtons();
    void startMap();

    const FlightLog* m_log = nullptr;
    TrackGeometry m_geometry;
    TrackLevels m_levels;
    size_t m_legCount = 0; // of the track as last drawn
    std::vector<TrackSpan> m_spans;
    TrackCamera m_camera;
    bool m_fitted = false;
    bool m_moved = false; // panned or zoomed since the last fit
    std::optional<size_t> m_cursor;
    qint32 m_language = 0;
    QString m_start, m_end;

    MapSettings m_settings;
    std::optional<TileUrl> m_url;
    TileFetcher* m_fetcher = nullptr;
    QString m_note;

    QImage m_base;       // tiles or grid for the camera
    QImage m_scene;      // base with the track over it
    QImage m_trackLayer; // the track alone, larger than the pane
    TrackCamera m_layerCamera;
    TrackCamera m_sceneCamera;  // what m_scene shows
    bool m_preview = false;     // m_scene scaled while the wheel turns
    QTimer* m_settle = nullptr; // ends the preview
    bool m_baseValid = false, m_sceneValid = false, m_layerValid = false;

    QToolButton* m_mapButton;
    QToolButton* m_fitButton;
    std::optional<QPointF> m_pressAt, m_dragFrom;
};
