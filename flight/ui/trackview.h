#pragma once

#include <QImage>
#include <QWidget>
#include <optional>

struct FlightLog;

// The track of one log seen from above, in metres east and north of its first
// position, north up and both axes to the same scale. The line is coloured by
// the barometric altitude on a scale from the log's lowest (dark violet) to
// its highest altitude (yellow-green), shown beside it; start and end are
// marked, and so is the sample under the plots' cursor. A click asks for the
// sample with a position nearest to it.
class TrackView : public QWidget {
    Q_OBJECT

  public:
    explicit TrackView(QWidget* parent = nullptr);

    // The log to show (not owned; nullptr: none).
    void setLog(const FlightLog* log);
    void setCursorSample(std::optional<size_t> sample);
    void setCaptions(const QString& start, const QString& end);
    // The widget position of a sample's place.
    QPointF positionOf(size_t sample);

  signals:
    void sampleClicked(size_t sample);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

  private:
    void fitToSize();
    void renderTrack();
    QPointF toWidget(double east, double north) const;

    const FlightLog* m_log = nullptr;
    std::optional<size_t> m_cursor;
    QString m_start, m_end;
    // Metres to pixels: x = m_origin.x + east * m_scale, y = m_origin.y - north * m_scale.
    QPointF m_origin;
    QSize m_fitted; // the size the scale was worked out for
    double m_scale = 1;
    float m_lowest = 0, m_highest = 0;
    QImage m_track; // the coloured line, drawn again only for a new size or log
};
