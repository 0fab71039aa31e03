// The flight view on the screens pilots have: it opens inside the available
// area, no axis label, legend entry or readout line is cut, and the
// summaries and the thermal list need no sideways scrolling and show every
// figure and the landing place whole. The suite runs this
// program on a 1024×600 screen, on a 2048×1200 one at scale 2 and on a 1280×800 one with six logs
// (FLIGHT_LOGS), each given to the offscreen platform by a config file.
#include "app/tform1.h"
#include "common/cuttexts.h"
#include "common/fakedialogs.h"
#include "common/testfiles.h"
#include "core/madeupflight.h"
#include "core/programstate.h"
#include "core/settingsfile.h"
#include "flight/ui/flightexports.h"
#include "flight/ui/flightview.h"
#include "flight/ui/landingplacebox.h"
#include "flight/ui/plotview.h"
#include "flight/ui/thermallist.h"

#include <QGraphicsTextItem>
#include <QLabel>
#include <QLegend>
#include <QScreen>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>
#include <memory>

namespace {

using flight_support::MadeUpFlight;

// A flight as the device logs it: switched on at the field (barometric 0),
// a tow, three thermals with glides between and a glide home, one line a
// second, the fixes scattered as a receiver's are.
QByteArray realFlight(int log) {
    MadeUpFlight flight(60 * log, 2);
    // One of them far east: a longitude of three digits is the widest figure.
    if (log == 5)
        flight.from(36.2, 138.5);
    flight.ground(20).straight(60, 4).straight(60 + 20 * log, -0.8).circles(100, 1.5, 18);
    flight.straight(120, -0.8).circles(100, 1.8, 20).straight(120, -0.8).circles(80, 1.2, 16);
    flight.straight(200 + 100 * log, -0.7).glideDown(300).ground(20);
    return flight.log(FirmwareVariant{500, 0}, 1, true, 2);
}

// The legend's entries that do not show whole inside it (a line it has no
// room for is cut at its edge).
QStringList cutLegendEntries(PlotView* plot) {
    const QLegend* legend = plot->chart()->legend();
    const QRectF room = legend->mapRectToScene(legend->rect());
    QStringList cut;
    for (QGraphicsItem* item : plot->scene()->items()) {
        auto* text = dynamic_cast<QGraphicsTextItem*>(item);
        if (text && text->isVisible() && legend->isAncestorOf(text) &&
            !room.contains(text->sceneBoundingRect().adjusted(2, 2, -2, -2)))
            cut << text->toPlainText();
    }
    return cut;
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
            QVERIFY(writeBytes(path, realFlight(i)));
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
        // Every value tick named, the top one too.
        for (auto plot : {FlightViewState::AltitudePlot, FlightViewState::ClimbPlot,
                          FlightViewState::SpeedPlot}) {
            PlotView* each = view->plot(plot);
            const double left =
                each->chart()->mapToScene(each->chart()->plotArea()).boundingRect().left();
            int named = 0;
            for (QGraphicsItem* item : each->scene()->items()) {
                auto* text = dynamic_cast<QGraphicsTextItem*>(item);
                bool number = false;
                if (text && text->isVisible() && text->sceneBoundingRect().right() <= left)
                    text->toPlainText().toDouble(&number);
                named += number;
            }
            QCOMPARE(named, each->valueAxis()->tickCount());
        }
        cut = cutLegendEntries(view->plot(FlightViewState::AltitudePlot));
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(", ")));

        auto* readout = view->findChild<QLabel*>("readout");
        QCOMPARE(readout->text().count('\n') + 1, logs.size());
        // Lines break only between its parts, never between a value and its
        // unit or inside "GPS-Höhe".
        QString breaks = readout->text();
        breaks.remove(QStringLiteral("   ")).remove(QString::fromUtf8(" — "));
        QVERIFY2(!breaks.contains(QLatin1Char(' ')) && !breaks.contains(QLatin1Char('-')),
                 qPrintable(breaks));
        QVERIFY2(readout->height() >= readout->heightForWidth(readout->width()),
                 qPrintable(QStringLiteral("%1 < %2")
                                .arg(readout->height())
                                .arg(readout->heightForWidth(readout->width()))));

        // The exported picture's title names every log whole, on as many
        // lines as the picture's width needs.
        const QString title = pictureTitle(view->logs());
        const QStringList titleLines = pictureTitleLines(title, view->width());
        QCOMPARE(titleLines.join(QStringLiteral("; ")), title);
        for (const QString& line : titleLines)
            QVERIFY2(QFontMetrics(QFont()).horizontalAdvance(line) <= view->width() - 16,
                     qPrintable(line));

        auto* table = view->findChild<QTableWidget*>("summaryTable");
        QCOMPARE(table->horizontalScrollBar()->maximum(), 0);
        for (int column = 0; column < table->columnCount(); ++column)
            QCOMPARE(table->horizontalHeaderItem(column)->toolTip(), logs[column]);
        QStringList shown = cutTexts(table);
        QVERIFY2(shown.isEmpty(), qPrintable(shown.join(", ")));

        // The thermal list and the landing place, each where the pilot finds
        // it: below the summaries, or behind its tab.
        auto* tabs = view->findChild<QTabWidget*>("sideTabs");
        auto* thermals = view->findChild<ThermalList*>();
        if (tabs && tabs->isVisible())
            tabs->setCurrentWidget(thermals);
        QCoreApplication::processEvents();
        QVERIFY(thermals->isVisible());
        QCOMPARE(thermals->table()->rowCount(), 3);
        QCOMPARE(thermals->table()->horizontalScrollBar()->maximum(), 0);
        shown = cutTexts(thermals->table()) + cutWidgets(thermals);
        QVERIFY2(shown.isEmpty(), qPrintable(shown.join(", ")));
        auto* landing = view->findChild<LandingPlaceBox*>();
        if (tabs && tabs->isVisible())
            tabs->setCurrentIndex(tabs->indexOf(landing->parentWidget()));
        QCoreApplication::processEvents();
        QVERIFY(landing->isVisible());
        shown = cutWidgets(landing);
        QVERIFY2(shown.isEmpty(), qPrintable(shown.join(", ")));
    }
};

QTEST_MAIN(TestFlightScreens)
#include "tst_flight_screens.moc"
