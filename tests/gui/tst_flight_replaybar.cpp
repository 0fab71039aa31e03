// The replay's controls, the thermal list and the landing place driven as a
// pilot does: play, speed and slider on a clock the test moves; the list's
// rows, its note and a click on a thermal; the place copied and linked.
#include "core/madeupflight.h"
#include "flight/flightsummary.h"
#include "flight/ui/landingplacebox.h"
#include "flight/ui/replaybar.h"
#include "flight/ui/thermallist.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QSignalSpy>
#include <QSlider>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using namespace flight_support;

class TestFlightReplayBar : public QObject {
    Q_OBJECT

    double m_now = 0;
    LogFolder m_logs;

  private slots:
    void playSpeedAndSlider() {
        ReplayBar bar(100, 1100, [this] { return m_now; });
        bar.show();
        QSignalSpy moved(&bar, &ReplayBar::cursorMoved);
        QCOMPARE(bar.playButton()->text(), QStringLiteral("Abspielen"));
        QCOMPARE(bar.speedBox()->count(), int(Replay::Speeds.size()));

        bar.speedBox()->setCurrentIndex(bar.speedBox()->findText(QStringLiteral("16×")));
        QTest::mouseClick(bar.playButton(), Qt::LeftButton);
        QCOMPARE(bar.playButton()->text(), QStringLiteral("Anhalten"));
        m_now += 10;
        bar.driver()->frame();
        QCOMPARE(moved.last().at(0).toDouble(), 260.0);
        QCOMPARE(bar.slider()->value(), 160);

        // The pilot drags the slider: the cursor jumps, the replay goes on there.
        bar.slider()->setValue(800);
        QCOMPARE(moved.last().at(0).toDouble(), 900.0);
        m_now += 20;
        bar.driver()->frame();
        QCOMPARE(moved.last().at(0).toDouble(), 1100.0);
        QCOMPARE(bar.playButton()->text(), QStringLiteral("Abspielen"));

        // A click elsewhere moves the slider, and is not handed back.
        const qsizetype count = moved.size();
        bar.setCursorTime(300);
        QCOMPARE(bar.slider()->value(), 200);
        QCOMPARE(moved.size(), count);
        bar.setLanguage(1);
        QCOMPARE(bar.playButton()->text(), QStringLiteral("Play"));
    }

    void thermalList() {
        QVERIFY(m_logs.isValid());
        const FirmwareVariant v500{500, 0};
        MadeUpFlight flight(90, 2);
        flight.ground(20).straight(10, 8).straight(30, -0.7).circles(60, 1, 15);
        flight.straight(40, -0.8).circles(100, 2, 20).straight(30, -0.7).glideDown(200);
        const FlightSummary summary = summarizeFlight(m_logs.read(flight.log(v500, 1), v500));

        ThermalList list;
        list.resize(500, 300);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.setFlight(&summary);
        QSignalSpy chosen(&list, &ThermalList::thermalChosen);
        QTableWidget* table = list.table();
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(list.note(), QStringLiteral("Aus dem Kreisen im GPS-Kurs erkannt"));
        QVERIFY(table->item(1, 0)->font().bold() && !table->item(0, 0)->font().bold());
        QCOMPARE(table->horizontalHeaderItem(2)->text(), QStringLiteral("Höhengewinn (m)"));
        QVERIFY(table->item(1, 4)->text().endsWith(QStringLiteral(" km/h")));
        const QRect second = table->visualItemRect(table->item(1, 1));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first().at(0).value<size_t>(), size_t(1));

        list.setLanguage(1);
        QCOMPARE(table->horizontalHeaderItem(2)->text(), QStringLiteral("Height gained (m)"));
        const FlightSummary blind = summarizeFlight(m_logs.read(flight.log(v500, 1, false), v500));
        list.setFlight(&blind);
        QCOMPARE(list.note(),
                 QStringLiteral("Found from climb alone: the log has no GPS position"));
        QCOMPARE(table->item(0, 4)->text(), QStringLiteral("–"));
        list.setFlight(nullptr);
        QCOMPARE(table->rowCount(), 0);
        QVERIFY(list.note().isEmpty());
    }

    void landingPlace() {
        QWidget window;
        auto* box = new LandingPlaceBox(&window);
        window.show();
        QVERIFY(!box->isVisible()); // no position, nothing to offer
        box->setPlace(FlightLog::Place{48.2170561, -8.1});
        QVERIFY(box->isVisible());
        QCOMPARE(box->placeShown(), QStringLiteral("48.217056, -8.100000"));
        QGuiApplication::clipboard()->clear();
        QTest::mouseClick(box->copyButton(), Qt::LeftButton);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("48.217056, -8.100000"));
        QVERIFY(box->link()->text().contains(QStringLiteral("href=\"geo:48.217056,-8.100000\"")));
        box->setLanguage(1);
        QCOMPARE(box->copyButton()->text(), QStringLiteral("Copy"));
        box->setPlace(std::nullopt);
        QVERIFY(!box->isVisible());
    }
};

QTEST_MAIN(TestFlightReplayBar)
#include "tst_flight_replaybar.moc"
