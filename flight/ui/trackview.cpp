#include "flight/ui/trackview.h"

#include "flight/flightlog.h"
#include "i18n/viewcaptions.h"
#include "map/tilefetcher.h"
#include "picture/trackpaint.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace {

constexpr int Margin = 14;
constexpr int ScaleBarRoom = 34;      // below the fitted track
constexpr double GridZoomLimit = 22;  // the grid may look closer than the tiles go
constexpr int DragSlack = 3;          // pixels a click may move and stay a click
constexpr size_t PreviewLegs = 50000; // more legs than a frame draws
constexpr int SettleMs = 150;         // the wheel at rest

} // namespace

TrackView::TrackView(QWidget* parent)
    : QWidget(parent), m_settings(readMapSettings()), m_mapButton(new QToolButton(this)),
      m_fitButton(new QToolButton(this)) {
    setMinimumSize(200, 160);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_mapButton->setObjectName(QStringLiteral("mapButton"));
    m_fitButton->setObjectName(QStringLiteral("fitTrackButton"));
    connect(m_mapButton, &QToolButton::clicked, this, [this] { setMapEnabled(!mapEnabled()); });
    connect(m_fitButton, &QToolButton::clicked, this, &TrackView::fitTrack);
    m_settle = new QTimer(this);
    m_settle->setSingleShot(true);
    m_settle->setInterval(SettleMs);
    connect(m_settle, &QTimer::timeout, this, &TrackView::settleZoom);
    if (m_settings.enabled)
        startMap();
    setLanguage(0);
}

TrackView::~TrackView() = default;

void TrackView::setLog(const FlightLog* log) {
    m_log = log;
    m_cursor.reset();
    m_geometry = log ? TrackGeometry::of(*log) : TrackGeometry();
    layoutButtons(); // the colour scale's labels may be wider now
    m_levels.clear();
    m_legCount = 0;
    m_layerValid = false;
    m_fitted = false;
    viewChanged();
}

void TrackView::setCursorSample(std::optional<size_t> sample) {
    if (sample == m_cursor)
        return;
    // Only the two rings' places are painted again: a frame of a replay is
    // a copy of those pixels, not a new picture.
    const QRect old = cursorRect(m_cursor);
    m_cursor = sample;
    update(old.united(cursorRect(m_cursor)));
}

void TrackView::setMarkedSpans(std::vector<TrackSpan> spans) {
    m_spans = std::move(spans);
    m_levels.clear();
    m_layerValid = m_sceneValid = false;
    update();
}

void TrackView::setLanguage(qint32 language) {
    m_language = language;
    m_start = viewText(ViewText::Start, language);
    m_end = viewText(ViewText::End, language);
    updateButtons();
    // The captions drawn into the pictures, and the map's note, anew.
    m_layerValid = m_sceneValid = false;
    update();
}

QString TrackView::attribution() const {
    return viewText(ViewText::MapAttribution, m_language);
}

void TrackView::updateButtons() {
    m_mapButton->setText(viewText(mapEnabled() ? ViewText::MapOff : ViewText::MapOn, m_language));
    m_fitButton->setText(viewText(ViewText::FitTrack, m_language));
    m_mapButton->setToolTip(m_mapButton->text());
    layoutButtons();
}

// Side by side where the pane is wide enough, else one below the other; a
// caption wider than the pane left of the colour scale puts its part in
// brackets on a second line, and only a line still too wide is shortened (the
// whole text is the tooltip), so the scale's labels stay in sight.
void TrackView::layoutButtons() {
    const int scale = colourScaleRoom(fontMetrics(), m_geometry.lowest, m_geometry.highest);
    const int room = std::max(60, width() - 12 - scale);
    QString caption = m_mapButton->toolTip();
    const qsizetype bracket = caption.indexOf(QLatin1String(" ("));
    if (fontMetrics().horizontalAdvance(caption) > room - 16 && bracket > 0)
        caption[bracket] = QLatin1Char('\n');
    QStringList lines = caption.split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = fontMetrics().elidedText(line, Qt::ElideRight, room - 16);
    m_mapButton->setText(lines.join(QLatin1Char('\n')));
    m_mapButton->adjustSize();
    m_fitButton->adjustSize();
    m_mapButton->move(6, 6);
    if (m_mapButton->width() + 4 + m_fitButton->width() <= room)
        m_fitButton->move(m_mapButton->geometry().right() + 4, 6);
    else
        m_fitButton->move(6, m_mapButton->geometry().bottom() + 4);
}

void TrackView::startMap() {
    Result<TileUrl> url = TileUrl::parse(m_settings.effectiveTemplate());
    if (!url) {
        m_note = url.failure().message;
        return;
    }
    m_url = *url;
    m_note.clear();
    m_fetcher = new TileFetcher(QString(), this);
    m_fetcher->setTemplate(*m_url);
    connect(m_fetcher, &TileFetcher::tileArrived, this, &TrackView::tileArrived);
    connect(m_fetcher, &TileFetcher::tileFailed, this, &TrackView::tileFailed);
}

void TrackView::setMapEnabled(bool on) {
    if (on == mapEnabled())
        return;
    m_settings.enabled = on;
    delete m_fetcher; // aborts whatever still runs
    m_fetcher = nullptr;
    m_url.reset();
    m_note.clear();
    if (on) {
        startMap();
        // Tiles are drawn at whole zoom levels only, so they stay sharp.
        m_camera.zoomAbout(QPointF(width() / 2.0, height() / 2.0),
                           std::clamp(std::floor(m_camera.zoom), double(MinZoom), double(MaxZoom)));
    }
    if (const Status failure = writeMapSettings(m_settings))
        m_note = failure->message;
    updateButtons();
    viewChanged();
}

QRectF TrackView::fitRoom() const {
    const QFontMetrics metrics = fontMetrics();
    const int scaleRoom = colourScaleRoom(metrics, m_geometry.lowest, m_geometry.highest);
    const int top =
        std::max(m_mapButton->geometry().bottom(), m_fitButton->geometry().bottom()) + Margin;
    return QRectF(QPointF(Margin, top),
                  QPointF(width() - scaleRoom - Margin, height() - ScaleBarRoom));
}

void TrackView::fitTrack() {
    m_camera.size = size();
    if (m_geometry.first)
        m_camera.fit(m_geometry.bounds, fitRoom(), mapEnabled(), MinZoom,
                     mapEnabled() ? MaxZoom : GridZoomLimit);
    m_fitted = true;
    m_moved = false;
    viewChanged();
}

void TrackView::ensureFitted() {
    if (!m_fitted && m_log)
        fitTrack();
    if (m_camera.size != QSizeF(size())) {
        m_camera.size = size();
        viewChanged();
    }
}

void TrackView::viewChanged() {
    m_baseValid = m_sceneValid = false;
    m_preview = false;
    update();
}

void TrackView::settleZoom() {
    m_settle->stop();
    if (!m_preview)
        return;
    m_preview = false;
    update();
}

QPointF TrackView::positionOf(size_t sample) {
    ensureFitted();
    return m_camera.toWidget(m_geometry.world(sample));
}

QRect TrackView::cursorRect(std::optional<size_t> sample) {
    if (!m_log || !sample || *sample >= m_geometry.x.size() || !m_geometry.hasPosition(*sample))
        return QRect();
    const QPointF at = positionOf(*sample);
    return QRectF(at - QPointF(12, 12), QSizeF(24, 24)).toAlignedRect();
}

void TrackView::drawTile(const TileKey& key) {
    const QImage* tile = m_fetcher ? m_fetcher->tile(key) : nullptr;
    if (!tile)
        return;
    QPainter painter(&m_base);
    ::drawTile(painter, m_camera, key, *tile);
}

void TrackView::drawBase() {
    const QSize area = m_camera.size.toSize();
    if (m_base.size() != area)
        m_base = QImage(area, QImage::Format_RGB32);
    m_base.fill(Qt::white);
    {
        QPainter painter(&m_base);
        drawMetresGrid(painter, m_geometry, m_camera);
    }
    m_baseValid = true;
    // A log without a position has no place on the map: no tile is asked
    // for, and those an earlier log still wanted are dropped.
    if (!m_fetcher)
        return;
    if (!m_log || !m_geometry.first) {
        m_fetcher->setWanted({});
        return;
    }
    std::vector<TileKey> wanted;
    for (const TileKey& key :
         tilesCovering(m_camera.worldView(), int(std::lround(m_camera.zoom)))) {
        if (m_fetcher->tile(key))
            drawTile(key);
        else
            wanted.push_back(key);
    }
    m_fetcher->setWanted(wanted);
}

void TrackView::composeScene() {
    if (!m_baseValid)
        drawBase();
    m_scene = m_base;
    if (m_log) {
        drawTrackLayer();
        // A whole-pixel shift: the layer was drawn at this zoom.
        const QPointF corner = m_camera.toWidget(m_layerCamera.toWorld(QPointF(0, 0)));
        QPainter painter(&m_scene);
        painter.drawImage(QPoint(qRound(corner.x()), qRound(corner.y())), m_trackLayer);
    }
    // The note stays while a tile in view could not be had.
    if (m_fetcher && m_log && m_geometry.first) {
        const auto tiles = tilesCovering(m_camera.worldView(), int(std::lround(m_camera.zoom)));
        const bool missing = std::any_of(tiles.begin(), tiles.end(),
                                         [this](const TileKey& k) { return m_fetcher->failed(k); });
        m_note = missing ? viewText(ViewText::MapUnreachable, m_language) : QString();
    }
    m_sceneCamera = m_camera;
    m_sceneValid = true;
}

// The track is drawn on a layer a quarter of the pane larger on every side,
// so a pan within that margin moves the layer instead of drawing a long log's
// legs again; a zoom, a pan beyond it or a new log draws it anew.
void TrackView::drawTrackLayer() {
    const QSizeF area = m_camera.size;
    const bool covers = m_layerValid && m_layerCamera.zoom == m_camera.zoom &&
                        m_layerCamera.worldView().contains(m_camera.worldView());
    if (covers)
        return;
    const TrackLegs& legs = m_levels.at(*m_log, m_geometry, m_camera.zoom, m_spans);
    m_legCount = legs.count;
    m_layerCamera = m_camera;
    m_layerCamera.size = area * 1.5;
    const QSize layerSize = m_layerCamera.size.toSize();
    if (m_trackLayer.size() != layerSize)
        m_trackLayer = QImage(layerSize, QImage::Format_ARGB32_Premultiplied);
    m_trackLayer.fill(Qt::transparent);
    legs.draw(m_trackLayer, m_geometry, m_layerCamera);
    m_layerValid = true;
}

void TrackView::tileArrived(const TileKey& key) {
    if (!m_baseValid || key.zoom != int(std::lround(m_camera.zoom)))
        return;
    drawTile(key);
    m_sceneValid = false;
    update();
}

void TrackView::tileFailed(const TileKey&) {
    m_sceneValid = false; // for the note
    update();
}

void TrackView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_camera.size = size();
    m_layerValid = false;
    layoutButtons();
    if (!m_moved)
        m_fitted = false; // a track the pilot has not moved keeps filling the pane
    viewChanged();
}

void TrackView::paintEvent(QPaintEvent* event) {
    ensureFitted();
    QPainter painter(this);
    if (m_preview) {
        // The last drawn scene, scaled about the same world points.
        painter.fillRect(rect(), Qt::white);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        const QPointF corner = m_camera.toWidget(m_sceneCamera.toWorld(QPointF(0, 0)));
        const double scale = std::exp2(m_camera.zoom - m_sceneCamera.zoom);
        painter.drawImage(QRectF(corner, QSizeF(m_scene.size()) * scale), m_scene);
    } else {
        if (!m_sceneValid)
            composeScene();
        painter.drawImage(event->rect(), m_scene, event->rect());
    }
    drawOverlays(painter);
}

TrackCaptions TrackView::captions() const {
    return {m_start, m_end, attribution(), m_fetcher != nullptr};
}

void TrackView::drawOverlays(QPainter& painter) {
    drawTrackOverlays(painter, m_camera, m_geometry, captions());
    if (m_log && m_cursor && *m_cursor < m_geometry.x.size() && m_geometry.hasPosition(*m_cursor)) {
        painter.setRenderHint(QPainter::Antialiasing);
        const QPointF at = m_camera.toWidget(m_geometry.world(*m_cursor));
        painter.setBrush(Qt::NoBrush);
        painter.setPen(QPen(Qt::white, 4));
        painter.drawEllipse(at, 7, 7);
        painter.setPen(QPen(QColor(200, 30, 30), 2));
        painter.drawEllipse(at, 7, 7);
        painter.setRenderHint(QPainter::Antialiasing, false);
    }
    if (const QString note = this->note(); !note.isEmpty()) {
        const double top =
            std::max(m_mapButton->geometry().bottom(), m_fitButton->geometry().bottom()) + 4;
        drawBoxedText(painter, QPointF(6, top), note, false, false);
    }
}

// A log without a position says so rather than show an empty grid.
QString TrackView::note() const {
    return m_log && !m_geometry.first ? viewText(ViewText::NoPosition, m_language) : m_note;
}

void TrackView::paintScene(QPainter& painter) {
    ensureFitted();
    if (m_log)
        paintTrackScene(painter, m_camera, {*m_log, m_geometry, m_spans, m_fetcher, captions()});
    else
        painter.fillRect(QRect(QPoint(0, 0), size()), Qt::white);
}

QImage TrackView::picture(const QSize& size) {
    QImage image(size, QImage::Format_RGB32);
    if (m_log)
        paintTrackPicture(image, *m_log, m_geometry, m_fetcher, captions());
    else
        image.fill(Qt::white);
    return image;
}

void TrackView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    m_pressAt = m_dragFrom = event->position();
}

void TrackView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragFrom || !(event->buttons() & Qt::LeftButton))
        return;
    const QPointF at = event->position();
    if (m_pressAt && (at - *m_pressAt).manhattanLength() <= DragSlack)
        return;
    m_pressAt.reset(); // a drag now, no click
    m_moved = true;
    m_camera.centre -= (at - *m_dragFrom) / m_camera.scale();
    m_dragFrom = at;
    viewChanged();
}

void TrackView::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = m_pressAt.has_value() && event->button() == Qt::LeftButton;
    m_pressAt.reset();
    m_dragFrom.reset();
    if (!click || !m_log)
        return;
    ensureFitted();
    if (const auto sample = m_geometry.nearest(m_camera.toWorld(event->position())))
        emit sampleClicked(*sample);
}

void TrackView::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / 120;
    if (!m_log || notches == 0)
        return;
    ensureFitted();
    const double step = mapEnabled() ? 1.0 : 0.5;
    const double highest = mapEnabled() ? MaxZoom : GridZoomLimit;
    const double zoom = std::clamp(m_camera.zoom + notches * step, double(MinZoom), highest);
    if (zoom == m_camera.zoom)
        return;
    // A long track takes longer than a frame to draw again: while the wheel
    // turns, the last picture is shown scaled, and the track and the tiles
    // of the new zoom follow once it rests (nor are tiles asked for the
    // levels passed through).
    const bool slow = m_legCount > PreviewLegs && !m_scene.isNull();
    const bool previewing = m_preview;
    m_camera.zoomAbout(event->position(), zoom);
    m_moved = true;
    viewChanged();
    if (slow || previewing) {
        m_preview = true;
        m_settle->start();
    }
    event->accept();
}
