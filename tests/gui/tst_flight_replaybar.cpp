// The replay's controls, the thermal list and the landing place driven as a
// pilot does: play, speed and slider on a clock the test moves; the list's
// rows, its note and a click on a thermal; the place copied and linked; the
// three below the track or behind tabs as the window's height allows.
#include "app/tform1.h"
#include "common/cuttexts.h"
#include "common/fakedialogs.h"
#include "common/testfiles.h"
#include "core/madeupflight.h"
#include "core/programstate.h"
#include "core/settingsfile.h"
#include "flight/flightsummary.h"
#include "flight/ui/flightview.h"
#include "flight/ui/landingplacebox.h"
#include "flight/ui/replaybar.h"
#include "flight/ui/sidecolumn.h"
#include "flight/ui/thermallist.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QSlider>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using namespace flight_support;

class TestFlightReplayBar : public QObject {
    Q_OBJECT

    double m_now = 0;
    LogFolder m_logs;

    // A climb-out, two thermals with glides between, and the glide home.
    static MadeUpFlight twoThermals() {
        MadeUpFlight flight(90, 2);
        flight.ground(20).straight(10, 8).straight(30, -0.7).circles(60, 1, 15);
        flight.straight(40, -0.8).circles(100, 2, 20).straight(30, -0.7).glideDown(200);
        return flight;
    }

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
        const MadeUpFlight flight = twoThermals();
        const FlightSummary summary = summarizeFlight(m_logs.read(flight.log(v500, 1), v500));

        ThermalList list;
        list.resize(640, 300);
        list.show();
        QVERIFY(QTest::qWaitForWindowExposed(&list));
        list.setFlight(&summary);
        QSignalSpy chosen(&list, &ThermalList::thermalChosen);
        QTableWidget* table = list.table();
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(list.note(), QStringLiteral("Thermik: aus dem Kreisen im GPS-Kurs erkannt"));
        QVERIFY(table->item(1, 0)->font().bold() && !table->item(0, 0)->font().bold());
        QCOMPARE(table->horizontalHeaderItem(2)->text(), QStringLiteral("Gewinn (m)"));
        QVERIFY(table->item(1, 4)->text().endsWith(QStringLiteral(" km/h")));
        // Times as the readout gives them.
        QCOMPARE(table->horizontalHeaderItem(0)->text(), QStringLiteral("Beginn (h:mm:ss)"));
        QVERIFY2(QRegularExpression(QStringLiteral("^\\d+:\\d\\d:\\d\\d$"))
                     .match(table->item(1, 0)->text())
                     .hasMatch(),
                 qPrintable(table->item(1, 0)->text()));
        const QRect second = table->visualItemRect(table->item(1, 1));
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, second.center());
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.first().at(0).value<size_t>(), size_t(1));

        list.setLanguage(1);
        QCOMPARE(table->horizontalHeaderItem(2)->text(), QStringLiteral("Gain (m)"));
        const FlightSummary blind = summarizeFlight(m_logs.read(flight.log(v500, 1, false), v500));
        list.setFlight(&blind);
        QCOMPARE(list.note(),
                 QStringLiteral("Thermals: found from climb alone, the log has no GPS position"));
        QCOMPARE(table->item(0, 4)->text(), QStringLiteral("–"));
        list.setFlight(nullptr);
        QCOMPARE(table->rowCount(), 0);
        QVERIFY(list.note().isEmpty());
    }

    // In the flight view: a thermal chosen in the list comes into view with
    // the cursor at its start; the slider and the cursor follow each other;
    // the replay turns the plots' page when the cursor runs out of them.
    void inTheFlightView() {
        resetProgramState();
        setSettingsFolder(m_logs.path(QStringLiteral("settings")));
        FakeDialogs fake;
        TForm1 form;
        programState().firmware = FirmwareVariant{500, 0};
        const MadeUpFlight flight = twoThermals();
        const QString path = m_logs.path(QStringLiteral("LOG00040.CSV"));
        QVERIFY(writeBytes(path, flight.log(programState().firmware, 1)));
        FlightView* view = form.OpenFlightView({path});
        QVERIFY(view);
        QVERIFY(QTest::qWaitForWindowExposed(view));
        auto* list = view->findChild<ThermalList*>();
        auto* bar = view->findChild<ReplayBar*>();
        QVERIFY(list && bar);
        QCOMPARE(list->table()->rowCount(), 2);
        QVERIFY(view->findChild<LandingPlaceBox*>()->isVisible());

        view->setRange(0, 40);
        const Thermal& second = view->summaries().front().thermals[1];
        QTest::mouseClick(list->table()->viewport(), Qt::LeftButton, {},
                          list->table()->visualItemRect(list->table()->item(1, 0)).center());
        QCOMPARE(view->cursorTime(), second.start);
        QVERIFY(view->from() <= second.start && view->to() >= second.start + second.duration);
        QCOMPARE(bar->slider()->value(), qRound(second.start));

        bar->slider()->setValue(100);
        QCOMPARE(view->cursorTime(), 100.0);
        view->setRange(0, 50);
        emit bar->cursorMoved(120); // a replay frame past the range
        QCOMPARE(view->cursorTime(), 120.0);
        QVERIFY(view->from() <= 120 && view->to() >= 120);
        QCOMPARE(view->to() - view->from(), 50.0);
        view->close();
        setSettingsFolder(QString());
    }

    // A short window puts the summary, the thermals and the landing place
    // behind tabs, a tall one one below the other again; each part comes
    // back whole, the log's name heading its summary as before.
    void sideColumnByHeight() {
        resetProgramState();
        setSettingsFolder(m_logs.path(QStringLiteral("settings")));
        FakeDialogs fake;
        TForm1 form;
        programState().firmware = FirmwareVariant{500, 0};
        const MadeUpFlight flight = twoThermals();
        const QString path = m_logs.path(QStringLiteral("LOG00041.CSV"));
        QVERIFY(writeBytes(path, flight.log(programState().firmware, 1)));
        const QString blind = m_logs.path(QStringLiteral("LOG00042.CSV"));
        QVERIFY(writeBytes(blind, flight.log(programState().firmware, 1, false)));
        FlightView* view = form.OpenFlightView({path, blind});
        QVERIFY(view);
        QVERIFY(QTest::qWaitForWindowExposed(view));
        auto* side = view->findChild<SideColumn*>();
        auto* landing = view->findChild<LandingPlaceBox*>();
        auto* summary = view->findChild<QTableWidget*>(QStringLiteral("summaryTable"));
        for (int height : {900, 480, 900}) {
            view->resize(1280, height);
            QCoreApplication::processEvents();
            const bool tabbed = height < 900;
            QCOMPARE(side->tabbed(), tabbed);
            QCOMPARE(side->tabs()->isVisible(), tabbed);
            QVERIFY(summary->isVisible());
            QCOMPARE(view->findChild<ThermalList*>()->isVisible(), !tabbed);
            QCOMPARE(landing->isVisible(), !tabbed); // behind its tab
            QVERIFY(!landing->isHidden());
            QCOMPARE(summary->horizontalHeaderItem(0)->text(), QStringLiteral("LOG00041.CSV"));
            const QStringList cut = cutTexts(summary);
            QVERIFY2(cut.isEmpty(), qPrintable(cut.join(", ")));
        }
        // The tab the pilot chose comes back with the tabs.
        for (int height : {480, 900, 480}) {
            view->resize(1280, height);
            QCoreApplication::processEvents();
            if (height == 480 && side->tabs()->currentIndex() == 0)
                side->tabs()->setCurrentIndex(2);
        }
        QCOMPARE(side->tabs()->currentIndex(), 2);
        QVERIFY(landing->isVisible());
        // A log without a position has no landing place to offer.
        view->setCurrentLog(1);
        QVERIFY(!side->tabs()->isTabVisible(2));
        QCOMPARE(side->tabs()->currentIndex() == 2, false);
        view->setCurrentLog(0);
        QVERIFY(side->tabs()->isTabVisible(2));
        view->close();
        setSettingsFolder(QString());
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
        // Narrow, the buttons take a line of their own below the place.
        auto* place = box->findChild<QLabel*>(QStringLiteral("landingPlace"));
        for (bool narrow : {true, false}) {
            box->resize(narrow ? box->minimumSizeHint().width() : 800, 60);
            QCoreApplication::processEvents();
            QCOMPARE(box->copyButton()->y() > place->geometry().bottom(), narrow);
            QVERIFY(box->rect().contains(box->link()->geometry()));
        }
        box->setLanguage(1);
        QCOMPARE(box->copyButton()->text(), QStringLiteral("Copy"));
        box->setPlace(std::nullopt);
        QVERIFY(!box->isVisible());
    }
};

QTEST_MAIN(TestFlightReplayBar)
#include "tst_flight_replaybar.moc"
