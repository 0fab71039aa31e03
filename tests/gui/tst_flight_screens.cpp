// The flight view on the screens pilots have: it opens inside the available
// area, no axis label or readout line is cut and the summaries need no
// sideways scrolling. The suite runs this
// program on a 1024×600 screen, on a 2048×1200 one at scale 2 and on a 1280×800 one with six logs
// (FLIGHT_LOGS), each given to the offscreen platform by a config file.
#include "app/tform1.h"
#include "common/cuttexts.h"
#include "common/fakedialogs.h"
#include "common/testfiles.h"
#include "core/programstate.h"
#include "core/settingsfile.h"
#include "flight/ui/flightview.h"
#include "flight/ui/plotview.h"

#include <QGraphicsTextItem>
#include <QLabel>
#include <QScreen>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

namespace {

// A flight as the device logs it: switched on at the field (barometric 0,
// GPS 480 m above sea level), a tow to 300 m and a glide back down, one line
// a second, circling about the start.
QByteArray realFlight(int seconds, int seed) {
    QByteArray log = "Altorin Log V500\r\n";
    for (int t = 0; t < seconds; ++t) {
        const int climb = std::min(t, 300);
        const int baro = std::max(0, climb - std::max(0, t - 300) / 2);
        const int lat = 48120000 + int(300 * std::sin(t / 40.0 + seed));
        const int lon = 8120000 + int(400 * std::cos(t / 40.0 + seed));
        log += QStringLiteral("01;14:22:01;%1;0;%2;4.9;5.1;21;0;12;%3;%4;%5;%6;180;7;1\r\n")
                   .arg(t)
                   .arg(baro)
                   .arg(lon)
                   .arg(lat)
                   .arg(480 + baro + (t % 7) - 3)
                   .arg(t < 10 ? 0 : 45 + t % 9)
                   .toLatin1();
    }
    return log;
}

} // namespace

class TestFlightScreens : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakeDialogs> fake;
    std::unique_ptr<TForm1> form;

  private slots:
    void init() {
        resetProgramState();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        setSettingsFolder(dir->filePath("settings"));
        fake = std::make_unique<FakeDialogs>();
        form = std::make_unique<TForm1>();
        programState().firmware = FirmwareVariant{500, 0};
    }
    void cleanup() {
        form.reset();
        fake.reset();
        setSettingsFolder(QString());
        dir.reset();
    }

    void nothingCutOrOffScreen() {
        const int count = qEnvironmentVariableIntValue("FLIGHT_LOGS");
        QStringList logs;
        for (int i = 0; i < std::max(count, 1); ++i) {
            // A long name, as a pilot's own copies have.
            const QString path = dir->filePath(
                QStringLiteral("LOG%1-Hangflug-Teck.CSV").arg(i + 1, 5, 10, QChar('0')));
            QVERIFY(writeBytes(path, realFlight(3600 - 400 * i, i)));
            logs << path;
        }
        FlightView* view = form->OpenFlightView(logs);
        QVERIFY(view);
        QVERIFY(QTest::qWaitForWindowExposed(view));
        QCoreApplication::processEvents();
        view->setCursorTime(1000);
        QCoreApplication::processEvents();

        const QRect area = view->screen()->availableGeometry();
        QVERIFY2(area.contains(view->frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(view->frameGeometry().x())
                                .arg(view->frameGeometry().y())
                                .arg(view->frameGeometry().width())
                                .arg(view->frameGeometry().height())));

        // Qt Charts cuts a label short with an ellipsis where it lacks room.
        QStringList cut;
        for (auto plot : {FlightViewState::AltitudePlot, FlightViewState::ClimbPlot,
                          FlightViewState::SpeedPlot}) {
            for (QGraphicsItem* item : view->plot(plot)->scene()->items()) {
                auto* text = dynamic_cast<QGraphicsTextItem*>(item);
                if (text && text->isVisible() &&
                    (text->toPlainText().contains(QChar(0x2026)) ||
                     text->toPlainText().contains(QLatin1String("..."))))
                    cut << view->plot(plot)->objectName() + ": " + text->toPlainText();
            }
        }
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(", ")));

        auto* readout = view->findChild<QLabel*>("readout");
        QCOMPARE(readout->text().count('\n') + 1, logs.size());
        QVERIFY2(readout->height() >= readout->heightForWidth(readout->width()),
                 qPrintable(QStringLiteral("%1 < %2")
                                .arg(readout->height())
                                .arg(readout->heightForWidth(readout->width()))));

        auto* table = view->findChild<QTableWidget*>("summaryTable");
        QCOMPARE(table->horizontalScrollBar()->maximum(), 0);
        for (int column = 0; column < table->columnCount(); ++column)
            QCOMPARE(table->horizontalHeaderItem(column)->toolTip(), logs[column]);
        const QStringList shown = cutTexts(table);
        QVERIFY2(shown.isEmpty(), qPrintable(shown.join(", ")));
    }
};

QTEST_MAIN(TestFlightScreens)
#include "tst_flight_screens.moc"
