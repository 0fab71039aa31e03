#include "flight/readouttext.h"

#include <QFileInfo>
#include <QLocale>
#include <QStringList>
#include <cmath>

namespace {

QString shownNumber(double value, int decimals) {
    if (std::isnan(value))
        return QStringLiteral("–");
    QString text = QLocale().toString(value, 'f', decimals);
    if (decimals > 0) {
        while (text.endsWith(QLatin1Char('0')))
            text.chop(1);
        if (text.endsWith(QLocale().decimalPoint()))
            text.chop(QLocale().decimalPoint().size());
    }
    return text;
}

QString part(ViewText caption, double value, int decimals, qint32 language) {
    QString shown =
        viewText(caption, language) + QStringLiteral(": ") + shownNumber(value, decimals);
    if (!std::isnan(value))
        shown += QLatin1Char(' ') + viewUnit(caption);
    return shown;
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
            text = QFileInfo(state.logs()[line.log].path).fileName() + QStringLiteral(" — ") +
                   (parts.isEmpty() ? QStringLiteral("–") : text);
        lines << text;
    }
    return lines.join(QLatin1Char('\n'));
}
