#include "setup/displayformat.h"
#include "setup/setupimage.h"

#include <QLocale>
#include <QTest>

class TestSetupFormat : public QObject {
    Q_OBJECT

  private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void formats_data() {
        QTest::addColumn<bool>("german");
        QTest::newRow("point") << false;
        QTest::newRow("comma") << true;
    }
    void formats() {
        QFETCH(bool, german);
        QLocale::setDefault(german ? QLocale(QLocale::German, QLocale::Germany) : QLocale::c());
        const auto sep = [&](const char* text) {
            QString s = QString::fromLatin1(text);
            return german ? s.replace(QLatin1Char('.'), QLatin1Char(',')) : s;
        };
        QCOMPARE(wholeNumberText(0), QStringLiteral("0"));
        QCOMPARE(wholeNumberText(12500), QStringLiteral("12500")); // no group separator

        QCOMPARE(frequencyText(channelFrequency(1)), sep("433.075"));
        QCOMPARE(frequencyText(channelFrequency(69)), sep("434.775"));
        QCOMPARE(frequencyText(channelFrequency(0)), sep("433.050"));
        QCOMPARE(frequencyText(channelFrequency(255)), sep("439.425"));
        QCOMPARE(frequencyText(7.5), sep("007.500"));
        QCOMPARE(frequencyText(0.0), sep("000.000"));
        QCOMPARE(frequencyText(1234.5678), sep("1234.568"));

        // Display values as the handlers compute them from a byte.
        QCOMPARE(generalNumberText(47 * 0.1), sep("4.7"));
        QCOMPARE(generalNumberText(3 * -0.1), sep("-0.3"));
        QCOMPARE(generalNumberText(20 * -0.1), QStringLiteral("-2"));
        QCOMPARE(generalNumberText(0 * -0.1), QStringLiteral("0")); // negative zero
        QCOMPARE(generalNumberText(-0.0), QStringLiteral("0"));
        QCOMPARE(generalNumberText(100 * 0.5), QStringLiteral("50"));
        QCOMPARE(generalNumberText(11 * 0.5), sep("5.5"));
        QCOMPARE(generalNumberText(5 * 0.1), sep("0.5"));
        QCOMPARE(generalNumberText(127 * 0.1), sep("12.7"));
        QCOMPARE(generalNumberText(255 * -0.1), sep("-25.5"));
        QCOMPARE(generalNumberText(1.0 / 3), sep("0.333333333333333"));
        QCOMPARE(generalNumberText(123456789012345.0), QStringLiteral("123456789012345"));
    }

    void everyByteShowsWithoutArtefacts() {
        // Binary rounding must never leak into a display (4.7000000000000002).
        for (int v = 0; v < 256; ++v) {
            for (double scale : {0.1, -0.1, 0.5}) {
                const QString text = generalNumberText(v * scale);
                QVERIFY2(text.size() <= 5, qPrintable(text));
            }
            QCOMPARE(frequencyText(channelFrequency(v)).size(), 7);
        }
    }

    void defaultSetupKeepsSpareByteAndSetup13State() {
        SetupImage image;
        image.bytes.fill(0xAB);
        image.valueMode = 2;
        image.announcementStep = 3;
        LoadDefaultSetup(image);
        const std::array<quint8, 20> expected = {1, 60, 20, 20, 1, 1, 47, 0, 1, 0,
                                                 0, 0,  0,  1,  2, 1, 3,  0, 0, 0xAB};
        QCOMPARE(image.bytes, expected);
        QCOMPARE(image.valueMode, 2);
        QCOMPARE(image.announcementStep, 3);
    }

    void byte13RoundTrips() {
        for (int b = 1; b <= 8; ++b) {
            const Setup13State s = decodeByte13(static_cast<quint8>(b));
            QCOMPARE(s.valueMode, b % 2 ? 1 : 2);
            QCOMPARE(s.announcementStep, (b - 1) / 2);
            QCOMPARE(int(composeByte13(s.announcementStep, s.valueMode)), b);
        }
        QCOMPARE(decodeByte13(0).valueMode, 0);
        QCOMPARE(decodeByte13(0).announcementStep, 0);
        QCOMPARE(decodeByte13(9).valueMode, 1);
        QCOMPARE(decodeByte13(9).announcementStep, 4);
        QCOMPARE(decodeByte13(255).announcementStep, 127);
        QCOMPARE(int(composeByte13(200, 2)), 402 & 0xFF);
        // Every byte decodes to state that composes back to it.
        for (int b = 0; b < 256; ++b) {
            const Setup13State s = decodeByte13(static_cast<quint8>(b));
            QCOMPARE(int(composeByte13(s.announcementStep, s.valueMode)), b);
        }
    }
};

QTEST_GUILESS_MAIN(TestSetupFormat)
#include "tst_setup_format.moc"
