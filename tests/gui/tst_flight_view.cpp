// The flight view driven as a pilot does: opened by the menu, by a drop and
// from the command line, alone and with several logs, the cursor, zoom,
// exports and conversions of the shown log.
#include "app/tform1.h"
#include "common/cuttexts.h"
#include "common/fakedialogs.h"
#include "common/testfiles.h"
#include "core/programstate.h"
#include "core/settingsfile.h"
#include "flight/ui/flightview.h"
#include "flight/ui/plotview.h"
#include "flight/ui/summarytable.h"
#include "flight/ui/trackview.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QGraphicsItem>
#include <QGraphicsTextItem>
#include <QLabel>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QSvgRenderer>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QValueAxis>
#include <QXmlStreamReader>
#include <memory>

namespace {

// A straight climb from the start, one line a second from `first` s: one
// metre a second barometric from the switch-on place, GPS from 480 m above sea
// level, heading north.
QByteArray climbLog(int seconds, int first = 0) {
    QByteArray log = "Altorin Log V500\r\n";
    for (int t = 0; t < seconds; ++t)
        log += QStringLiteral("01;14:22:01;%1;0;%2;4.9;5.1;21;0;12;8120000;%3;%4;%5;180;7;1\r\n")
                   .arg(first + t)
                   .arg(t)
                   .arg(48120000 + 10 * t)
                   .arg(480 + t)
                   .arg(40 + t % 10)
                   .toLatin1();
    return log;
}

// A pixel of the curve's colour, antialiased edges left out.
bool colourNear(const QColor& pixel, const QColor& colour) {
    return std::abs(pixel.red() - colour.red()) + std::abs(pixel.green() - colour.green()) +
               std::abs(pixel.blue() - colour.blue()) <
           40;
}

// The viewport place of the legend entry whose label is `name`.
QPoint markerPlace(QGraphicsView* plot, const QString& name) {
    for (QGraphicsItem* item : plot->scene()->items()) {
        auto* text = dynamic_cast<QGraphicsTextItem*>(item);
        if (text && text->isVisible() && text->toPlainText() == name)
            return plot->mapFromScene(text->sceneBoundingRect().center());
    }
    return QPoint();
}

template <typename T> T* child(QWidget* parent, const char* name) {
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (!found)
        qWarning("no %s", name);
    return found;
}

// A chart item that draws beyond the area it reports as changed, as chart
// items do at their antialiased edges and labels: a line across the plot.
class SprawlingItem : public QGraphicsItem {
  public:
    explicit SprawlingItem(double width) : m_width(width) {}
    QRectF boundingRect() const override { return QRectF(0, 0, 4, 4); }
    void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
        painter->setPen(QPen(Qt::magenta, 3));
        painter->drawLine(QPointF(0, m_y), QPointF(m_width, m_y));
    }
    void moveLine(double y) {
        m_y = y;
        update();
    }

  private:
    double m_width, m_y = 2;
};

// The plot as it reached the screen, and as it would be drawn now.
QImage onScreen(QWidget* viewport) {
    const QPoint at = viewport->mapTo(viewport->window(), QPoint(0, 0));
    return viewport->screen()
        ->grabWindow(viewport->window()->winId(), at.x(), at.y(), viewport->width(),
                     viewport->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}
QImage drawnNow(QWidget* viewport) {
    return viewport->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class TestFlightView : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakeDialogs> fake;
    std::unique_ptr<TForm1> form;
    QString log;

    QList<FlightView*> views() const { return form->findChildren<FlightView*>(); }
    FlightView* shown() {
        const QList<FlightView*> all = views();
        if (all.size() != 1)
            return nullptr;
        FlightView* view = all.first();
        if (!QTest::qWaitForWindowExposed(view))
            return nullptr;
        QCoreApplication::processEvents();
        return view;
    }
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir->filePath(name);
        return writeBytes(path, bytes) ? path : QString();
    }
    // The readout's text; its parts are kept whole by no-break spaces and
    // hyphens, read here as the plain ones.
    QString readout(FlightView* view) {
        return child<QLabel>(view, "readout")
            ->text()
            .replace(QChar(0x00A0), QLatin1Char(' '))
            .replace(QChar(0x2011), QLatin1Char('-'));
    }

  private slots:
    void init() {
        resetProgramState();
        dir = std::make_unique<QTemporaryDir>();
        QVERIFY(dir->isValid());
        setSettingsFolder(dir->filePath("settings"));
        fake = std::make_unique<FakeDialogs>();
        form = std::make_unique<TForm1>();
        fake->infos.clear(); // the firmware reminder
        fake->boxParents.clear();
        programState().firmware = FirmwareVariant{500, 0};
        log = write("LOG00012.CSV", climbLog(101));
    }
    void cleanup() {
        form.reset();
        fake.reset();
        setSettingsFolder(QString());
        dir.reset();
        QLocale::setDefault(QLocale::c());
    }

    // The last but one item of "Daten-Konvertierung" asks with the conversions'
    // dialog and leaves it as the conversions use it; the view follows the language.
    void openedFromTheMenu() {
        const QList<QAction*> items = form->DatenKonvertierung1->actions();
        QCOMPARE(items.at(items.size() - 2), form->Flugansehen1);
        QCOMPARE(form->Flugansehen1->text(), QString::fromUtf8("Flug ansehen …"));
        fake->fileAnswers << log;
        form->Flugansehen1->trigger();
        QCOMPARE(fake->dialogsRun, QStringList{"OpenDialog1"});
        QCOMPARE(form->OpenDialog1->fileMode(), QFileDialog::AnyFile);
        FlightView* view = shown();
        QVERIFY(view);
        QCOMPARE(view->windowTitle(), QString::fromUtf8("Flug ansehen – LOG00012.CSV"));
        QCOMPARE(view->logs().front().size(), size_t(101));
        QVERIFY(fake->errors.isEmpty());

        form->english1->trigger();
        QCOMPARE(form->Flugansehen1->text(), QString::fromUtf8("View flight …"));
        QCOMPARE(child<QAbstractButton>(view, "showAllButton")->text(), QStringLiteral("Show all"));
        QVERIFY(readout(view).startsWith(QStringLiteral("Time: 0 s")));
        form->deutsch1->trigger();
        QCOMPARE(form->Flugansehen1->text(), QString::fromUtf8("Flug ansehen …"));

        fake->fileAnswers << QString(); // cancelled: nothing more opens
        form->Flugansehen1->trigger();
        QCOMPARE(views().size(), 1);
    }

    // Local files dropped on the main window open; a folder does not.
    void openedByADrop() {
        QMimeData folder;
        folder.setUrls({QUrl::fromLocalFile(dir->path())});
        QDragEnterEvent refused(QPoint(10, 10), Qt::CopyAction, &folder, Qt::LeftButton, {});
        QApplication::sendEvent(form.get(), &refused);
        QVERIFY(!refused.isAccepted());

        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(log)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(form.get(), &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(form.get(), &drop);
        QVERIFY(shown());
        QCOMPARE(shown()->logs().front().path, log);
    }

    // `altorintool LOGFILE...`: the logs after the program's name; a log that
    // cannot be shown is reported by name and the others still open.
    void openedFromTheCommandLine() {
        form->OpenLogsOfCommandLine({"altorintool"});
        QVERIFY(views().isEmpty());
        const QString empty = write("LOG00407.CSV", "Altorin Log V500\r\n");
        form->OpenLogsOfCommandLine({"altorintool", dir->filePath("LOG99999.CSV"), empty, log});
        QCOMPARE(fake->errors, QStringList({"LOG99999.CSV: Datei nicht gefunden",
                                            QStringLiteral("LOG00407.CSV: keine Datenzeile")}));
        QCOMPARE(fake->boxParents, (QList<QWidget*>{form.get(), form.get()}));
        QVERIFY(shown());
        QCOMPARE(shown()->logs().size(), size_t(1));
    }

    // A log of the other layout is read with the layout it has and says so,
    // by the firmware's German menu caption: the README's example under the
    // default firmware, and a 13-field log under "ab V. 50x" or Duo.
    void otherLayoutReadAsItIs() {
        programState().firmware = FirmwareVariant{407, 0};
        const QString example =
            QString::fromLocal8Bit(qgetenv("SOURCE_DIR")) + "/examples/LOG00002.CSV";
        form->OpenLogsOfCommandLine({"altorintool", example});
        QVERIFY(fake->errors.isEmpty());
        FlightView* view = shown();
        QVERIFY(view);
        QCOMPARE(view->logs().front().firmware.version, 500);
        QCOMPARE(child<QLabel>(view, "skippedNote")->text(),
                 QStringLiteral("gelesen als Altorin        ab V. 50x"));
        QVERIFY(!child<QLabel>(view, "skippedNote")->isHidden());
        view->close();
        QCoreApplication::processEvents();

        programState().firmware = FirmwareVariant{500, 1};
        const QString v407 = write("LOG00407.CSV", "01;14:22:01;0;0;0;4.9;11.8;21;0;12;0;0;0\r\n"
                                                   "01;14:22:02;1;0;1;4.9;11.8;21;0;12;0;0;0\r\n");
        QVERIFY(form->OpenFlightView({log, v407}));
        QVERIFY(fake->errors.isEmpty());
        view = shown();
        QVERIFY(view);
        QCOMPARE(view->logs()[1].firmware.version, 407);
        QCOMPARE(child<QLabel>(view, "skippedNote")->text(),
                 QStringLiteral("LOG00407.CSV: gelesen als Altorin        bis V. 407x"));
    }

    // Several logs: altitudes overlaid from each one's start, the summaries
    // side by side, one readout line each, the track of the chosen one.
    void severalLogsCompared() {
        const QString later =
            write("LOG00013.CSV",
                  climbLog(51, 1000) + "01;14:22:01;1051;0;5x;4.9;5.1;21;0;12;0;0;0;0;180;7;1\r\n");
        fake->fileAnswers << log + '\n' + later;
        form->Flugansehen1->trigger();
        FlightView* view = shown();
        QVERIFY(view);
        QCOMPARE(view->logs().size(), size_t(2));
        for (size_t i = 0; i < 2; ++i) {
            const QLineSeries* baro = view->series(i, FlightViewState::BaroAltitude);
            QCOMPARE(baro->chart(), view->plot(FlightViewState::AltitudePlot)->chart());
            QCOMPARE(baro->at(0), QPointF(0, 0));
        }
        QCOMPARE(view->from(), 0.);
        QCOMPARE(view->to(), 100.);
        auto* table = child<QTableWidget>(view, "summaryTable");
        QCOMPARE(table->columnCount(), 2);
        QCOMPARE(table->horizontalHeaderItem(1)->text(), QStringLiteral("LOG00013.CSV"));
        QCOMPARE(child<QLabel>(view, "skippedNote")->text(),
                 QString::fromUtf8("LOG00013.CSV: Übersprungene Zeilen: 1, erste: Zeile 53"));

        view->setCursorTime(75);
        const QStringList lines = readout(view).split('\n');
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines[0].startsWith(QString::fromUtf8("LOG00012.CSV — Zeit: 0:01:15")));
        QCOMPARE(lines[1], QString::fromUtf8("LOG00013.CSV — –")); // its flight was over
        view->setCurrentLog(1);
        view->setCursorTime(20);
        QVERIFY(readout(view).startsWith(QString::fromUtf8("LOG00013.CSV — Zeit: 20 s")));
    }

    // The captions head the rows where they fit beside the figures; in a
    // narrower side column each stands above its figures. Either way no
    // caption or figure is cut and nothing scrolls sideways; a click on a
    // log's heading still chooses that log.
    void summariesWholeInBothForms() {
        const QString other = write("LOG00013.CSV", climbLog(51, 1000));
        QVERIFY(form->OpenFlightView({log, other}));
        FlightView* view = shown();
        QVERIFY(view);
        auto* table = child<SummaryTable>(view, "summaryTable");
        auto* split = view->findChild<QSplitter*>();
        const int total = split->sizes()[0] + split->sizes()[1];
        for (int side : {700, 330, 700}) {
            split->setSizes({total - side, side});
            QCoreApplication::processEvents();
            QCOMPARE(table->stacked(), side < 500);
            QCOMPARE(table->verticalHeader()->isVisible(), !table->stacked());
            QCOMPARE(table->rowCount(), int(summaryFields().size()) * (table->stacked() ? 2 : 1));
            const QStringList cut = cutTexts(table);
            QVERIFY2(cut.isEmpty(), qPrintable(cut.join(", ")));
            QCOMPARE(table->horizontalScrollBar()->maximum(), 0);
        }
        QTest::mouseClick(table->horizontalHeader()->viewport(), Qt::LeftButton, {},
                          QPoint(table->horizontalHeader()->sectionViewportPosition(1) + 5, 5));
        QCOMPARE(view->currentLog(), size_t(1));
    }

    // More logs than the side column has room for: it scrolls sideways
    // rather than shorten a figure.
    void manySummariesScrollRatherThanCut() {
        QStringList logs;
        for (int i = 0; i < 9; ++i)
            logs << write(QStringLiteral("LOG%1.CSV").arg(20 + i, 5, 10, QChar('0')),
                          climbLog(101));
        QVERIFY(form->OpenFlightView(logs));
        FlightView* view = shown();
        QVERIFY(view);
        auto* table = child<SummaryTable>(view, "summaryTable");
        auto* split = view->findChild<QSplitter*>();
        split->setSizes({split->sizes()[0] + split->sizes()[1] - 330, 330});
        QCoreApplication::processEvents();
        QVERIFY(table->stacked());
        QVERIFY(table->horizontalScrollBar()->maximum() > 0);
        const QStringList cut = cutTexts(table);
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(", ")));
    }

    // A click at a known place of the plot and of the track: every value of
    // the sample at that time.
    void readoutAtAClick() {
        QVERIFY(form->OpenFlightView({log}));
        FlightView* view = shown();
        QVERIFY(view);
        PlotView* plot = view->plot(FlightViewState::ClimbPlot);
        const int x = qRound(plot->xOf(30));
        QTest::mouseClick(plot->viewport(), Qt::LeftButton, {}, QPoint(x, plot->height() / 2));
        QVERIFY(std::abs(view->cursorTime() - 30) < 0.5);
        QCOMPARE(readout(view), QStringLiteral("Zeit: 30 s   Höhe barometrisch: 30.0 m   "
                                               "GPS-Höhe: 510.0 m   Steigen: 1.0 m/s   "
                                               "Geschwindigkeit: 40 km/h   Strecke: 56 m   "
                                               "Entfernung vom Start: 56 m"));

        // Zoomed in elsewhere, the plots pan to the place clicked on the track.
        view->setRange(10, 30);
        auto* track = child<TrackView>(view, "trackView");
        QTest::mouseClick(track, Qt::LeftButton, {}, track->positionOf(80).toPoint());
        QCOMPARE(view->cursorTime(), 80.);
        QVERIFY(view->from() <= 80 && view->to() >= 80);
        QCOMPARE(view->to() - view->from(), 20.);
        QVERIFY(readout(view).startsWith(
            QString::fromUtf8("Zeit: 0:01:20   Höhe barometrisch: 80.0 m")));
    }

    // The cursor is drawn over the plot as last drawn; a new range draws the
    // curves again rather than showing the old ones.
    void cursorOverTheDrawnPlot() {
        QVERIFY(form->OpenFlightView({log}));
        FlightView* view = shown();
        QVERIFY(view);
        PlotView* plot = view->plot(FlightViewState::ClimbPlot);
        const int y = qRound(plot->chart()->plotArea().top()) + 3; // above the curve
        auto cursorAt = [plot, y](double time) {
            const QImage image = plot->viewport()->grab().toImage();
            // An antialiased line may fall between two pixel columns.
            const int x = qRound(plot->xOf(time));
            for (int column : {x - 1, x, x + 1}) {
                const QColor pixel = image.pixelColor(column, y);
                if (pixel.red() - pixel.green() > 60 && pixel.red() - pixel.blue() > 60)
                    return true;
            }
            return false;
        };
        view->setCursorTime(20);
        QVERIFY(cursorAt(20));
        view->setCursorTime(70);
        QVERIFY(cursorAt(70));
        QVERIFY(!cursorAt(20));

        // Without a cursor the plot shows what its scene draws now.
        auto current = [plot] {
            QCoreApplication::processEvents();
            QImage drawn(plot->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
            drawn.fill(plot->viewport()->palette().color(plot->viewport()->backgroundRole()));
            QPainter painter(&drawn);
            painter.setRenderHints(plot->renderHints());
            plot->render(&painter, QRectF(drawn.rect()), plot->viewport()->rect());
            painter.end();
            return plot->viewport()->grab().toImage().convertToFormat(drawn.format()) == drawn;
        };
        view->setCursorTime(qQNaN());
        view->setRange(40, 60);
        QVERIFY(current());
        view->showAll();
        QVERIFY(current());
    }

    // After a change of the plot (a drag zoom here) the screen shows the plot
    // as it is now, everywhere, without waiting for the mouse: no curve, cursor
    // line or label of the last range stays where the chart did not report a
    // change.
    void aChangedPlotReachesTheScreenWhole() {
        QVERIFY(form->OpenFlightView({log}));
        FlightView* view = shown();
        QVERIFY(view);
        PlotView* plot = view->plot(FlightViewState::AltitudePlot);
        QWidget* port = plot->viewport();
        const int y = plot->height() / 2;
        const int left = qRound(plot->xOf(70)), right = qRound(plot->xOf(20));
        QTest::mousePress(port, Qt::LeftButton, {}, QPoint(left, y));
        for (int step = 1; step <= 5; ++step)
            QTest::mouseMove(port, QPoint(left + (right - left) * step / 5, y));
        QTest::mouseRelease(port, Qt::LeftButton, {}, QPoint(right, y));
        QVERIFY(view->to() - view->from() < 60);
        QCoreApplication::processEvents();
        QCOMPARE(onScreen(port), drawnNow(port));

        const QRectF area = plot->chart()->plotArea();
        auto* item = new SprawlingItem(area.width());
        item->setPos(area.topLeft());
        plot->scene()->addItem(item);
        QCoreApplication::processEvents();
        item->moveLine(area.height() / 2);
        QCoreApplication::processEvents();
        QCOMPARE(onScreen(port), drawnNow(port));
    }

    // A long log draws a few points per pixel column; a drag and the wheel
    // zoom all plots together, "Alles zeigen" goes back; series switch off.
    void zoomAndSeries() {
        const QString longLog = write("LOG00100.CSV", climbLog(100000));
        QVERIFY(form->OpenFlightView({longLog}));
        FlightView* view = shown();
        QVERIFY(view);
        PlotView* plot = view->plot(FlightViewState::AltitudePlot);
        const int width = int(plot->chart()->plotArea().width());
        QVERIFY(view->series(0, FlightViewState::BaroAltitude)->count() <= 4 * width + 2);

        const int y = plot->height() / 2;
        const int left = qRound(plot->xOf(20000)), right = qRound(plot->xOf(40000));
        QTest::mousePress(plot->viewport(), Qt::LeftButton, {}, QPoint(left, y));
        QTest::mouseMove(plot->viewport(), QPoint((left + right) / 2, y));
        QTest::mouseRelease(plot->viewport(), Qt::LeftButton, {}, QPoint(right, y));
        QVERIFY(std::abs(view->from() - 20000) < 200 && std::abs(view->to() - 40000) < 200);
        QCOMPARE(view->plot(FlightViewState::SpeedPlot)->timeAxis()->min(), view->from());
        const double span = view->to() - view->from();
        QWheelEvent wheel(QPointF(plot->xOf(30000), y), plot->mapToGlobal(QPointF(0, 0)), {},
                          QPoint(0, 120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(plot->viewport(), &wheel);
        QVERIFY(view->to() - view->from() < span * 0.9);
        QVERIFY(view->series(0, FlightViewState::BaroAltitude)->count() <= 4 * width + 2);
        QTest::mouseClick(child<QAbstractButton>(view, "showAllButton"), Qt::LeftButton);
        QCOMPARE(view->to() - view->from(), 99999.);

        child<QCheckBox>(view, "climbCheck")->setChecked(false);
        QVERIFY(view->plot(FlightViewState::ClimbPlot)->isHidden());
        child<QCheckBox>(view, "baroCheck")->setChecked(false);
        QVERIFY(!view->plot(FlightViewState::AltitudePlot)->isHidden());
        QVERIFY(!view->series(0, FlightViewState::BaroAltitude)->isVisible());
    }

    // One log: a legend entry and its check box are one switch, shown in
    // both places; the entry of a curve switched off stays, dimmed.
    void legendEntryIsTheCheckBox() {
        QVERIFY(form->OpenFlightView({log}));
        FlightView* view = shown();
        QVERIFY(view);
        PlotView* plot = view->plot(FlightViewState::AltitudePlot);
        const QPoint marker = markerPlace(plot, QString::fromUtf8("GPS-Höhe über Start"));
        QVERIFY(!marker.isNull());
        QTest::mouseClick(plot->viewport(), Qt::LeftButton, {}, marker);
        auto* gps = child<QCheckBox>(view, "gpsCheck");
        QVERIFY(!gps->isChecked());
        QVERIFY(!view->series(0, FlightViewState::GpsAltitude)->isVisible());
        const QLegendMarker* entry =
            plot->chart()->legend()->markers(view->series(0, FlightViewState::GpsAltitude)).front();
        QVERIFY(entry->isVisible() && entry->labelBrush().color().alphaF() < 0.5);
        gps->setChecked(true);
        QVERIFY(view->series(0, FlightViewState::GpsAltitude)->isVisible());
        QCOMPARE(entry->labelBrush().color().alphaF(), 1.0);
        QTest::mouseClick(plot->viewport(), Qt::LeftButton, {}, marker);
        QVERIFY(!gps->isChecked());
    }

    // With several logs a legend marker names a flight: a click switches
    // that flight's curves off, its marker stays dimmed, a second click
    // brings them back; a redraw keeps them off meanwhile.
    void legendMarkerSwitchesAFlight() {
        const QString later = write("LOG00013.CSV", climbLog(51, 1000));
        QVERIFY(form->OpenFlightView({log, later}));
        FlightView* view = shown();
        QVERIFY(view);
        PlotView* plot = view->plot(FlightViewState::AltitudePlot);
        const QPoint marker = markerPlace(plot, "LOG00013.CSV");
        QVERIFY(!marker.isNull());
        QTest::mouseClick(plot->viewport(), Qt::LeftButton, {}, marker);
        for (FlightViewState::Quantity q : {FlightViewState::BaroAltitude, FlightViewState::Climb})
            QVERIFY(!view->series(1, q)->isVisible());
        QVERIFY(view->series(0, FlightViewState::BaroAltitude)->isVisible());
        const QLegendMarker* dimmed = plot->chart()
                                          ->legend()
                                          ->markers(view->series(1, FlightViewState::BaroAltitude))
                                          .front();
        QVERIFY(dimmed->isVisible() && dimmed->labelBrush().color().alphaF() < 0.5);
        view->zoomAbout(25, 0.5);
        QVERIFY(!view->series(1, FlightViewState::BaroAltitude)->isVisible());
        QTest::mouseClick(plot->viewport(), Qt::LeftButton, {}, marker);
        QVERIFY(view->series(1, FlightViewState::BaroAltitude)->isVisible());
        QVERIFY(view->series(1, FlightViewState::Climb)->isVisible());
    }

    // The plots as PNG and SVG that open again, the summaries as CSV with
    // '.' decimals whatever the locale; a failed save goes to the error box.
    void exports() {
        QLocale::setDefault(QLocale(QLocale::German));
        const QString later = write("LOG00013.CSV", climbLog(51, 1000));
        QVERIFY(form->OpenFlightView({log, later}));
        FlightView* view = shown();
        QVERIFY(view);
        const QString png = dir->filePath("plots.png"), svg = dir->filePath("plots.svg"),
                      csv = dir->filePath("summary.csv");
        fake->fileAnswers << png << svg << csv;
        for (const char* button : {"savePngButton", "saveSvgButton", "saveCsvButton"})
            QTest::mouseClick(child<QAbstractButton>(view, button), Qt::LeftButton);
        QCOMPARE(fake->dialogsRun,
                 (QStringList{"SavePngDialog", "SaveSvgDialog", "SaveCsvDialog"}));
        QVERIFY(fake->errors.isEmpty());
        // Not blank: the first log's barometric curve crosses the altitude
        // plot in the picture, and is stroked in its colour in the SVG.
        const QColor baro = view->series(0, FlightViewState::BaroAltitude)->pen().color();
        QImage image;
        QVERIFY(image.load(png));
        QVERIFY(image.width() > 300 && image.height() > 300);
        // A title line above the plots says what they show.
        int plotsHeight = 0;
        for (auto p : {FlightViewState::AltitudePlot, FlightViewState::ClimbPlot,
                       FlightViewState::SpeedPlot})
            plotsHeight += view->plot(p)->height();
        const int title = image.height() - plotsHeight;
        QVERIFY(title >= 14);
        int ink = 0;
        for (int y = 0; y < title; ++y)
            for (int x = 0; x < image.width() / 2; ++x)
                ink += qGray(image.pixel(x, y)) < 100;
        QVERIFY(ink > 50);
        const QString heading =
            QStringLiteral("LOG00012.CSV, %1, Altorin ab V. 50x; LOG00013.CSV, ")
                .arg(view->logs().front().logDate.toString("yyyy-MM-dd HH:mm"));
        QVERIFY(readBytes(svg).contains(heading.toUtf8()));
        const QRect area = view->plot(FlightViewState::AltitudePlot)
                               ->chart()
                               ->plotArea()
                               .toRect()
                               .adjusted(2, 2, -2, -2)
                               .translated(0, title);
        int curvePixels = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                curvePixels += colourNear(image.pixelColor(x, y), baro);
        QVERIFY2(curvePixels > area.width() / 2, qPrintable(QString::number(curvePixels)));
        QXmlStreamReader xml(readBytes(svg));
        QStringList strokes{QString()}; // the stroke in force, by element depth
        int strokedLines = 0;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement()) {
                const auto stroke = xml.attributes().value("stroke");
                strokes << (stroke.isEmpty() ? strokes.last() : stroke.toString());
                strokedLines += QStringList{"path", "polyline", "line"}.contains(xml.name()) &&
                                strokes.last() == baro.name();
            } else if (xml.isEndElement()) {
                strokes.removeLast();
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QVERIFY2(strokedLines >= 50, qPrintable(QString::number(strokedLines)));
        QVERIFY(QSvgRenderer(svg).isValid());

        const QList<QByteArray> lines = readBytes(csv).split('\n');
        QCOMPARE(lines.size(), 4); // head, two flights, nothing after the last CR LF
        QVERIFY(lines[0].startsWith("file,") && lines[0].endsWith('\r'));
        const QList<QByteArray> keys = lines[0].trimmed().split(',');
        const QList<QByteArray> first = lines[1].trimmed().split(',');
        QCOMPARE(first.size(), keys.size());
        QCOMPARE(first[keys.indexOf("dataLines")], QByteArray("101"));
        QCOMPARE(first[keys.indexOf("file")], log.toUtf8());
        QCOMPARE(lines[2].trimmed().split(',')[keys.indexOf("maxAltitude")], QByteArray("50"));

        fake->fileAnswers << dir->filePath("missing/plots.png");
        QTest::mouseClick(child<QAbstractButton>(view, "savePngButton"), Qt::LeftButton);
        QCOMPARE(fake->errors, QStringList{"plots.png: Datei nicht gefunden"});
    }

    // The conversions of the shown log report as the menu commands do, but
    // over the flight view, which stays in front; their entries read as the
    // caption table gives the main menu's items in the language shown.
    void conversionFromTheView() {
        QVERIFY(form->OpenFlightView({log}));
        FlightView* view = shown();
        QVERIFY(view);
        auto* menu = child<QToolButton>(view, "convertButton")->menu();
        emit menu->aboutToShow();
        auto* entries = child<QMenu>(view, "convertMenu");
        QCOMPARE(entries->findChild<QAction*>("nachKML3D1")->text(),
                 QString::fromUtf8("nach KML 3D mit barom. Höhe"));
        QAction* gpx = entries->findChild<QAction*>("nachGMX1");
        QVERIFY(gpx);
        QCOMPARE(gpx->text(), form->nachGMX1->text());
        form->english1->trigger();
        emit menu->aboutToShow();
        QCOMPARE(gpx->text(), form->nachGMX1->text());
        gpx->trigger();
        fake->fileAnswers << log;
        form->nachGMX1->trigger();
        QCOMPARE(fake->infos.size(), 2);
        QCOMPARE(fake->infos[0], fake->infos[1]);
        QCOMPARE(fake->boxParents, (QList<QWidget*>{view, form.get()}));
        QVERIFY(fake->infos[0].startsWith(
            QStringLiteral("Fertig mit Konvertierung nach:\rLOG00012.GPX\r")));
        QVERIFY(fake->errors.isEmpty());

        // A failed conversion is reported over the view as well.
        QVERIFY(QFile::remove(log));
        gpx->trigger();
        QCOMPARE(fake->errors.size(), 1);
        QCOMPARE(fake->boxParents.last(), view);
    }
};

QTEST_MAIN(TestFlightView)
#include "tst_flight_view.moc"
