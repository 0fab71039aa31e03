#include "flight/ui/flightexports.h"

#include "core/atomicfile.h"
#include "flight/summarytext.h"
#include "flight/ui/flightplots.h"
#include "flight/ui/flightviewopener.h"

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

namespace {

// A picture that could not be drawn or encoded (no memory for its pixels):
// nothing is written.
Failure pictureFailure() {
    return {FailureKind::IoError, QStringLiteral("Bild konnte nicht erzeugt werden")};
}

int titleHeight() {
    return QFontMetrics(QFont()).height() + 10;
}

QSize pictureSize(FlightPlots& plots) {
    return plots.pictureSize() + QSize(0, titleHeight());
}

// The title line above the plots, then the plots.
void paintPicture(QPainter& painter, FlightPlots& plots, const QString& title, int width) {
    painter.setPen(Qt::black);
    painter.setFont(QFont());
    painter.drawText(QRect(8, 0, width - 16, titleHeight()), Qt::AlignLeft | Qt::AlignVCenter,
                     title);
    painter.translate(0, titleHeight());
    plots.paintPicture(painter);
}

} // namespace

QString pictureTitle(const std::vector<FlightLog>& logs) {
    QStringList parts;
    for (const FlightLog& log : logs)
        parts << QStringLiteral("%1, %2, %3")
                     .arg(QFileInfo(log.path).fileName(),
                          log.logDate.toString(QStringLiteral("yyyy-MM-dd HH:mm")),
                          firmwareCaptionOf(log.firmware).simplified());
    return parts.join(QStringLiteral("; "));
}

Status savePlotsPng(FlightPlots& plots, const QString& title, const QString& path) {
    QImage image(pictureSize(plots), QImage::Format_RGB32);
    if (image.isNull())
        return pictureFailure();
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paintPicture(painter, plots, title, image.width());
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return pictureFailure();
    return writeFileAtomically(path, buffer.data());
}

Status savePlotsSvg(FlightPlots& plots, const QString& title, const QString& path) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    const QSize size = pictureSize(plots);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(title);
    QPainter painter;
    if (!painter.begin(&svg))
        return pictureFailure();
    paintPicture(painter, plots, title, size.width());
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
