#include "flight/readouttext.h"
#include "flight/readingtext.h"

#include <QLocale>
#include <QStringList>
#include <cmath>

namespace {

// Seconds and metres while short, h:mm:ss and km once long.
QString part(ViewText caption, double value, int decimals, qint32 language) {
    const bool distance = caption == ViewText::TrackDistance || caption == ViewText::StartDistance;
    const QByteArray unit = viewUnit(caption).toUtf8();
    QString shown = readingText(value, unit.constData(), decimals, distance, QLocale(), true);
    if (shown.isEmpty())
        shown = QStringLiteral("–");
    else if (!shown.contains(QLatin1Char(':')))
        shown += QLatin1Char(' ') +
                 (distance && std::abs(value) >= 1000 ? QStringLiteral("km") : viewUnit(caption));
    return viewText(caption, language) + QStringLiteral(": ") + shown;
}

} // namespace

QString readoutText(const FlightViewState& state, qint32 language) {
    const auto& quantities = FlightViewState::quantities();
    QStringList lines;
    for (const FlightViewState::ReadoutLine& line : state.readout()) {
        QStringList parts;
        if (line.sample) {
            parts << part(ViewText::Time, line.time, 0, language);
            for (int q = 0; q < FlightViewState::QuantityCount; ++q)
                parts << part(quantities[q].caption, line.values[q], quantities[q].decimals,
                              language);
        }
        QString text = parts.join(QStringLiteral("   "));
        if (state.several())
            text = state.logs()[line.log].name + QStringLiteral(" — ") +
                   (parts.isEmpty() ? QStringLiteral("–") : text);
        lines << text;
    }
    return lines.join(QLatin1Char('\n'));
}
