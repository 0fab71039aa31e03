// The replay's cursor on a clock the test moves: it reaches the end at the
// chosen speed, pauses where asked and goes on from where it stands.
#include "flight/replay.h"
#include "flight/replaydriver.h"

#include <QSignalSpy>

#include <QTest>

class TestFlightReplay : public QObject {
    Q_OBJECT

    double m_now = 1000; // the test's clock, s
    Replay replay(double from, double to) {
        return Replay(from, to, [this] { return m_now; });
    }

  private slots:
    void init() { m_now = 1000; }

    void reachesTheEndAtItsSpeed_data() {
        QTest::addColumn<int>("speed");
        for (int speed : Replay::Speeds)
            QTest::addRow("%dx", speed) << speed;
    }
    void reachesTheEndAtItsSpeed() {
        QFETCH(int, speed);
        Replay r = replay(100, 740); // 640 s of flight
        QVERIFY(r.setSpeed(speed));
        r.play();
        const double takes = 640.0 / speed;
        m_now += takes / 2;
        QCOMPARE(r.position(), 100 + 320.0);
        QVERIFY(r.playing());
        m_now += takes / 2 - 0.001;
        QVERIFY(r.position() < 740);
        m_now += 1;
        QCOMPARE(r.position(), 740.0); // never beyond the end
        QVERIFY(!r.playing());
        m_now += 100;
        QCOMPARE(r.position(), 740.0);
        // Played again from the end, it starts over.
        r.play();
        QCOMPARE(r.position(), 100.0);
    }

    void pausesWhereAsked() {
        Replay r = replay(0, 1000);
        r.setSpeed(8);
        r.pauseAt(500);
        r.play();
        m_now += 62;
        QCOMPARE(r.position(), 496.0);
        m_now += 10;
        QCOMPARE(r.position(), 500.0);
        QVERIFY(!r.playing());
        // The stop is used up: played on, the cursor passes it.
        r.play();
        m_now += 1;
        QCOMPARE(r.position(), 508.0);

        // Paused by hand the cursor stays; played again it goes on from there.
        r.pause();
        m_now += 50;
        QCOMPARE(r.position(), 508.0);
        r.toggle();
        m_now += 2;
        QCOMPARE(r.position(), 524.0);

        // A stop behind the cursor is not jumped back to.
        r.pauseAt(100);
        m_now += 1;
        QCOMPARE(r.position(), 532.0);
        QVERIFY(r.playing());
    }

    void speedAndSeekGoOnFromTheCursor() {
        Replay r = replay(0, 10000);
        r.play();
        m_now += 10;
        QVERIFY(r.setSpeed(64));
        m_now += 1;
        QCOMPARE(r.position(), 10 + 64.0);
        QVERIFY(!r.setSpeed(3));
        QCOMPARE(r.speed(), 64);

        r.seek(5000);
        QCOMPARE(r.position(), 5000.0);
        m_now += 1;
        QCOMPARE(r.position(), 5064.0);
        r.seek(-50); // kept within the flight
        QCOMPARE(r.position(), 0.0);
        r.seek(20000);
        QCOMPARE(r.position(), 10000.0);
        QVERIFY(!r.playing());
        r.seek(qQNaN());
        QCOMPARE(r.position(), 10000.0);
    }

    void pausedAtTheStartUntilPlayed() {
        Replay r = replay(30, 40);
        m_now += 100;
        QCOMPARE(r.position(), 30.0);
        QVERIFY(!r.playing());
        QCOMPARE(r.speed(), 1);
    }

    // Frames run only while playing and hand on the cursor; the end stops them.
    void framesWhilePlaying() {
        ReplayDriver driver(0, 100, [this] { return m_now; });
        QSignalSpy moved(&driver, &ReplayDriver::cursorMoved);
        QSignalSpy playing(&driver, &ReplayDriver::playingChanged);
        driver.setSpeed(16);
        QVERIFY(!driver.framesRunning());
        driver.play();
        QVERIFY(driver.framesRunning());
        QCOMPARE(playing.takeFirst().at(0).toBool(), true);
        m_now += 2;
        driver.frame();
        QCOMPARE(moved.last().at(0).toDouble(), 32.0);
        driver.seek(90); // from the slider: not echoed
        const qsizetype frames = moved.size();
        m_now += 1;
        driver.frame();
        QCOMPARE(moved.size(), frames + 1);
        QCOMPARE(moved.last().at(0).toDouble(), 100.0);
        QVERIFY(!driver.playing() && !driver.framesRunning());
        QCOMPARE(playing.takeFirst().at(0).toBool(), false);

        // Played from the end, the cursor jumps back to the start at once.
        driver.toggle();
        QCOMPARE(moved.last().at(0).toDouble(), 0.0);
        driver.pause();
        QVERIFY(!driver.framesRunning());
        QCOMPARE(playing.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestFlightReplay)
#include "tst_flight_replay.moc"
