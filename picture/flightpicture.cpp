#include "picture/flightpicture.h"

#include "flight/flightlog.h"
#include "flight/flightsummary.h"
#include "flight/readingtext.h"
#include "i18n/viewcaptions.h"
#include "map/tilefetcher.h"
#include "picture/trackpaint.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QPainter>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace {

constexpr int Pad = 12;

QString firmwareText(const FirmwareVariant& firmware) {
    if (firmware.duo)
        return QStringLiteral("Duo");
    return firmware.version == 407 ? QStringLiteral("bis V407x") : QStringLiteral("ab V500");
}

// A step of 1, 2 or 5 times a power of ten giving about `count` ticks.
double tickStep(double span, int count) {
    const double raw = std::max(span, 1e-9) / count;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (double step : {1.0, 2.0, 5.0, 10.0})
        if (step * power >= raw)
            return step * power;
    return 10 * power;
}

// The barometric altitude over the log's time axis: per pixel column the
// lowest and highest value joined, so a long log costs one pass.
void drawAltitudePlot(QPainter& painter, const QRect& area, const FlightLog& log, qint32 language) {
    painter.fillRect(area, Qt::white);
    const QFontMetrics metrics = painter.fontMetrics();
    const QRect plot = area.adjusted(metrics.horizontalAdvance(QStringLiteral("00000")) + 8,
                                     metrics.height() + 6, -Pad, -(2 * metrics.height() + 8));
    painter.setPen(Qt::black);
    painter.drawText(area.adjusted(Pad, 0, 0, 0), Qt::AlignTop | Qt::AlignLeft,
                     viewText(ViewText::BaroAltitude, language) + QStringLiteral(" (m)"));
    if (log.empty() || plot.width() < 10 || plot.height() < 10)
        return;
    const double t0 = log.axisTime(0), t1 = std::max(t0 + 1, log.axisTime(log.size() - 1));
    const auto [low, high] = std::minmax_element(log.baroAltitude.begin(), log.baroAltitude.end());
    const double margin = std::max(5.0, (*high - *low) * 0.05);
    const double a0 = *low - margin, a1 = *high + margin;
    auto xOf = [&](double t) { return plot.left() + (t - t0) / (t1 - t0) * plot.width(); };
    auto yOf = [&](double a) { return plot.bottom() - (a - a0) / (a1 - a0) * plot.height(); };

    painter.setPen(QColor(225, 228, 232));
    const double aStep = tickStep(a1 - a0, 5), tStep = tickStep(t1 - t0, 8);
    for (double a = std::ceil(a0 / aStep) * aStep; a <= a1; a += aStep) {
        painter.setPen(QColor(225, 228, 232));
        painter.drawLine(QPointF(plot.left(), yOf(a)), QPointF(plot.right(), yOf(a)));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(area.left(), yOf(a) - metrics.height() / 2.0,
                                plot.left() - area.left() - 4, metrics.height()),
                         Qt::AlignRight | Qt::AlignVCenter, QString::number(a, 'f', 0));
    }
    for (double t = std::ceil(t0 / tStep) * tStep; t <= t1; t += tStep) {
        painter.setPen(QColor(225, 228, 232));
        painter.drawLine(QPointF(xOf(t), plot.top()), QPointF(xOf(t), plot.bottom()));
        painter.setPen(Qt::black);
        painter.drawText(QRectF(xOf(t) - 40, plot.bottom() + 2, 80, metrics.height()),
                         Qt::AlignHCenter | Qt::AlignTop, QString::number(t, 'f', 0));
    }
    painter.drawText(
        QRect(plot.right() - 200, area.bottom() - metrics.height(), 200, metrics.height()),
        Qt::AlignRight, viewText(ViewText::Time, language) + QStringLiteral(" (s)"));
    painter.drawRect(plot);

    QPolygonF line;
    int column = -1;
    float lowest = 0, highest = 0;
    auto flush = [&] {
        if (column < 0)
            return;
        line << QPointF(plot.left() + column, yOf(lowest))
             << QPointF(plot.left() + column, yOf(highest));
    };
    for (size_t i = 0; i < log.size(); ++i) {
        const int c = int((log.axisTime(i) - t0) / (t1 - t0) * (plot.width() - 1));
        const float a = log.baroAltitude[i];
        if (c != column) {
            flush();
            column = c, lowest = highest = a;
        }
        lowest = std::min(lowest, a), highest = std::max(highest, a);
    }
    flush();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(31, 119, 180), 1.5));
    painter.drawPolyline(line);
    painter.setRenderHint(QPainter::Antialiasing, false);
}

void drawSummary(QPainter& painter, const QRect& area, const FlightSummary& summary,
                 qint32 language) {
    painter.fillRect(area, Qt::white);
    const QFontMetrics metrics = painter.fontMetrics();
    const QStringList lines = pictureSummaryLines(summary, language);
    const int rows = std::max(1, (area.height() - Pad) / (metrics.height() + 2));
    const int columns = std::max(1, int((lines.size() + rows - 1) / rows));
    const int width = area.width() / columns;
    painter.setPen(Qt::black);
    for (int i = 0; i < lines.size(); ++i)
        painter.drawText(QRect(area.left() + Pad + i / rows * width,
                               area.top() + Pad / 2 + i % rows * (metrics.height() + 2),
                               width - Pad, metrics.height()),
                         Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(lines[i], Qt::ElideRight, width - Pad));
}

} // namespace

// The figures as the flight view and the command-line table give them
// (durations h:mm:ss, distances in km), the unit beside the caption.
QStringList pictureSummaryLines(const FlightSummary& summary, qint32 language) {
    QStringList lines;
    for (const SummaryField& field : summaryFields()) {
        const SummaryValue value = field.value(summary);
        const auto* date = std::get_if<QDateTime>(&value);
        const QString text = date ? date->toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                  : summaryReading(field, summary, QLocale::c());
        const QString caption = summaryCaption(field.key, language);
        if (text.isEmpty() || caption.isEmpty() || std::string_view(field.key) == "file")
            continue;
        const QString unit = summaryReadingUnit(field);
        lines << (unit.isEmpty() ? caption : QStringLiteral("%1 (%2)").arg(caption, unit)) +
                     QStringLiteral(": ") + text;
    }
    return lines;
}

QString picturePath(const QString& logPath, const QString& folder) {
    const QFileInfo info(logPath);
    const QString name = info.completeBaseName() + QStringLiteral(".png");
    return QDir(folder.isEmpty() ? info.path() : folder).filePath(name);
}

Result<QImage> flightPicture(const FlightLog& log, const FirmwareVariant& readWith,
                             const PictureOptions& options) {
    const QSize size = options.size;
    const int title = 34;
    const int upper = (size.height() - title) * 62 / 100;
    const QRect plotArea(0, title, size.width() * 55 / 100, upper);
    const QRect trackArea(plotArea.right() + 1, title, size.width() - plotArea.width(), upper);
    const QRect summaryArea(0, title + upper, size.width(), size.height() - title - upper);
    const TrackGeometry geometry = TrackGeometry::of(log);

    // Tiles first: only those the picture shows, two at a time, at most the
    // wait; whatever has not come is left as grid.
    std::optional<TileFetcher> fetcher;
    if (options.mapTemplate) {
        Result<TileUrl> url = TileUrl::parse(*options.mapTemplate);
        if (!url)
            return url.failure();
        fetcher.emplace();
        fetcher->setTemplate(*url);
        const TrackCamera camera = pictureCamera(geometry, trackArea.size(), true);
        if (geometry.first) {
            fetcher->setWanted(tilesCovering(camera.worldView(), int(std::lround(camera.zoom))));
            QEventLoop wait;
            QTimer deadline;
            deadline.setSingleShot(true);
            QObject::connect(&deadline, &QTimer::timeout, &wait, &QEventLoop::quit);
            auto check = [&] {
                if (fetcher->running() == 0)
                    wait.quit();
            };
            QObject::connect(&*fetcher, &TileFetcher::tileArrived, &wait, check);
            QObject::connect(&*fetcher, &TileFetcher::tileFailed, &wait, check);
            if (fetcher->running() > 0) {
                deadline.start(options.tileWaitMs);
                wait.exec();
            }
            fetcher->stop();
        }
    }

    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QFont bold = painter.font();
    bold.setBold(true);
    painter.setFont(bold);
    const QString date = log.logDate.isValid()
                             ? log.logDate.toString(QStringLiteral("yyyy-MM-dd hh:mm"))
                             : QStringLiteral("-");
    painter.drawText(
        QRect(Pad, 0, size.width() - 2 * Pad, title), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("%1   %2   Firmware %3").arg(log.name, date, firmwareText(readWith)));
    painter.setFont(QFont());
    drawAltitudePlot(painter, plotArea, log, options.language);

    QImage track(trackArea.size(), QImage::Format_RGB32);
    TrackCaptions captions{
        viewText(ViewText::Start, options.language), viewText(ViewText::End, options.language),
        viewText(ViewText::MapAttribution, options.language), options.mapTemplate.has_value()};
    paintTrackPicture(track, log, geometry, fetcher ? &*fetcher : nullptr, captions);
    painter.drawImage(trackArea.topLeft(), track);
    painter.setPen(QColor(200, 200, 200));
    painter.drawRect(trackArea.adjusted(0, 0, -1, -1));
    drawSummary(painter, summaryArea, summarizeFlight(log), options.language);
    return image;
}
