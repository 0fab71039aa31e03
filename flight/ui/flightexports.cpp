#include "flight/ui/flightexports.h"

#include "core/atomicfile.h"
#include "flight/summarytext.h"
#include "flight/ui/flightplots.h"
#include "flight/ui/flightviewopener.h"
#include "flight/ui/trackview.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>
#include <algorithm>

namespace {

// A picture that could not be drawn or encoded (no memory for its pixels):
// nothing is written.
Failure pictureFailure() {
    return {FailureKind::IoError, QStringLiteral("Bild konnte nicht erzeugt werden")};
}

// The plots at the left, the track pane at their right, top-aligned.
QSize pictureSize(FlightPlots& plots, const TrackView& track, const QString& title) {
    const QSize left = plots.pictureSize(), right = track.size();
    const int width = left.width() + right.width();
    return QSize(width, pictureTitleHeight(title, width) + std::max(left.height(), right.height()));
}

void paintPicture(QPainter& painter, FlightPlots& plots, TrackView& track, const QString& title,
                  const QSize& size) {
    const int top = pictureTitleHeight(title, size.width());
    painter.setPen(Qt::black);
    painter.setFont(QFont());
    painter.drawText(QRect(8, 5, size.width() - 16, top - 10), Qt::AlignLeft | Qt::AlignVCenter,
                     pictureTitleLines(title, size.width()).join(QLatin1Char('\n')));
    painter.save();
    painter.translate(0, top);
    plots.paintPicture(painter);
    painter.restore();
    if (track.size().isEmpty())
        return;
    const QRect part(QPoint(plots.pictureSize().width(), top), track.size());
    painter.save();
    painter.translate(part.topLeft());
    track.paintScene(painter);
    painter.restore();
    painter.setPen(QColor(200, 200, 200));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(part.adjusted(0, 0, -1, -1));
}

} // namespace

QStringList pictureTitleLines(const QString& title, int width) {
    const QFontMetrics metrics{QFont()};
    const QString gap = QStringLiteral("; ");
    QStringList lines;
    for (const QString& part : title.split(gap)) {
        if (!lines.isEmpty() && metrics.horizontalAdvance(lines.last() + gap + part) <= width - 16)
            lines.last() += gap + part;
        else
            lines << part;
    }
    return lines;
}

int pictureTitleHeight(const QString& title, int width) {
    return int(pictureTitleLines(title, width).size()) * QFontMetrics(QFont()).lineSpacing() + 10;
}

QString pictureTitle(const std::vector<FlightLog>& logs) {
    QStringList parts;
    for (const FlightLog& log : logs)
        parts << QStringLiteral("%1, %2, %3")
                     .arg(log.name, log.logDate.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                          firmwareCaptionOf(log.firmware).simplified());
    return parts.join(QStringLiteral("; "));
}

Status saveViewPng(FlightPlots& plots, TrackView& track, const QString& title,
                   const QString& path) {
    QImage image(pictureSize(plots, track, title), QImage::Format_RGB32);
    if (image.isNull())
        return pictureFailure();
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paintPicture(painter, plots, track, title, image.size());
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return pictureFailure();
    return writeFileAtomically(path, buffer.data());
}

Status saveViewSvg(FlightPlots& plots, TrackView& track, const QString& title,
                   const QString& path) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    const QSize size = pictureSize(plots, track, title);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(title);
    QPainter painter;
    if (!painter.begin(&svg))
        return pictureFailure();
    paintPicture(painter, plots, track, title, size);
    if (!painter.end() || buffer.data().isEmpty())
        return pictureFailure();
    return writeFileAtomically(path, buffer.data());
}

Status saveSummariesCsv(const std::vector<FlightSummary>& summaries, const QString& path) {
    QString csv = summaryCsvHeader();
    for (const FlightSummary& summary : summaries)
        csv += summaryCsvRow(summary);
    return writeFileAtomically(path, csv.toUtf8());
}
