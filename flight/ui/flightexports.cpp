#include "flight/ui/flightexports.h"

#include "core/atomicfile.h"
#include "flight/summarytext.h"
#include "flight/ui/flightplots.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

namespace {

// A picture that could not be drawn or encoded (no memory for its pixels):
// nothing is written.
Failure pictureFailure() {
    return {FailureKind::IoError, QStringLiteral("Bild konnte nicht erzeugt werden")};
}

} // namespace

Status savePlotsPng(FlightPlots& plots, const QString& path) {
    QImage image(plots.pictureSize(), QImage::Format_RGB32);
    if (image.isNull())
        return pictureFailure();
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        plots.paintPicture(painter);
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
    const QSize size = plots.pictureSize();
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(title);
    QPainter painter;
    if (!painter.begin(&svg))
        return pictureFailure();
    plots.paintPicture(painter);
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
