#include "setup/displayformat.h"

#include <QLocale>

namespace {
// Numbers are formatted locale-free and get the locale's separator last, so
// group separators and localised digits never slip in.
QString withLocaleSeparator(QString text) {
    return text.replace(QLatin1Char('.'), QLocale().decimalPoint());
}
} // namespace

QString wholeNumberText(qint64 value) {
    return QString::number(value);
}

QString frequencyText(double value) {
    QString text = QString::number(value, 'f', 3);
    const bool negative = text.startsWith(QLatin1Char('-'));
    if (negative)
        text.remove(0, 1);
    const qsizetype integerDigits = text.indexOf(QLatin1Char('.'));
    if (integerDigits < 3)
        text.prepend(QString(3 - integerDigits, QLatin1Char('0')));
    // A value that rounds to zero carries no sign.
    if (negative && text != QLatin1String("000.000"))
        text.prepend(QLatin1Char('-'));
    return withLocaleSeparator(text);
}

QString generalNumberText(double value) {
    if (value == 0.0) // also -0.0
        return QStringLiteral("0");
    return withLocaleSeparator(QString::number(value, 'g', 15));
}

double channelFrequency(int channel) {
    return 433.05 + 0.025 * channel;
}
