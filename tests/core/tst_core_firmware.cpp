// The firmware variants: what each stored number means for the window and
// the logs, and the names every part takes from the one table.
#include "core/firmwaretable.h"
#include "i18n/captiontables.h"

#include <QTest>

class TestCoreFirmware : public QObject {
    Q_OBJECT

  private slots:
    // The settings file may hold any number: the log layout changes above
    // 407, while only 407 itself hides the late setups.
    void storedNumbersOutsideTheTable() {
        struct Case {
            FirmwareVariant firmware;
            bool v500Layout;
            bool lacksLateSetups;
            const char* optionValue;
        };
        const Case cases[] = {
            {{300, 0}, false, false, "407"}, {{407, 0}, false, true, "407"},
            {{407, 1}, false, true, "407"},  {{408, 0}, true, false, "500"},
            {{500, 0}, true, false, "500"},  {{500, 1}, true, false, "duo"},
            {{500, 2}, true, false, "500"},
        };
        for (const Case& c : cases) {
            const QByteArray what =
                QByteArray::number(c.firmware.version) + '/' + QByteArray::number(c.firmware.duo);
            QVERIFY2(c.firmware.hasV500Layout() == c.v500Layout, what);
            QVERIFY2(c.firmware.lacksLateSetups() == c.lacksLateSetups, what);
            QCOMPARE(c.firmware.logFieldCount(), c.v500Layout ? 17 : 13);
            QCOMPARE(QLatin1String(firmwareRowOf(c.firmware).optionValue),
                     QLatin1String(c.optionValue));
            // The other layout is never the Duo, which no layout tells apart.
            QCOMPARE(c.firmware.otherLayout(), (FirmwareVariant{c.v500Layout ? 407 : 500, 0}));
        }
    }

    void titleOnlyForTheTableNumbers() {
        QCOMPARE(QLatin1String(titleRowOf({407, 1})->menuItem), QLatin1String("bisV407x1"));
        QCOMPARE(QLatin1String(titleRowOf({500, 1})->menuItem), QLatin1String("Duo_ab50x"));
        QVERIFY(!titleRowOf({408, 0}));
        QVERIFY(!titleRowOf({500, 2}));
        QVERIFY(!titleRowOf({300, 0}));
    }

    void everyRowNamedOnceWithItsCaption() {
        QStringList values;
        for (const FirmwareRow& row : firmwareTable()) {
            QCOMPARE(firmwareRowNamed(QString(row.optionValue).toUpper()), &row);
            QVERIFY2(!designCaption(row.menuItem).isEmpty(), row.menuItem);
            QCOMPARE(&firmwareRowOf(row.variant), &row);
            values << row.optionValue;
        }
        values.removeDuplicates();
        QCOMPARE(values.size(), qsizetype(firmwareTable().size()));
        QVERIFY(!firmwareRowNamed("408"));
    }
};

QTEST_GUILESS_MAIN(TestCoreFirmware)
#include "tst_core_firmware.moc"
