#include "flight/ui/flightview.h"

#include "core/atomicfile.h"
#include "core/programstate.h"
#include "app/tform1.h"
#include "app/ui/dialogs.h"
#include "convert/conversions.h"
#include "flight/decimate.h"
#include "flight/samplesearch.h"
#include "flight/summarytext.h"
#include "flight/ui/plotview.h"
#include "flight/ui/trackview.h"
#include "i18n/viewcaptions.h"

#include <QAction>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSplitter>
#include <QSvgGenerator>
#include <QTableWidget>
#include <QToolButton>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
// The narrowest range a zoom goes to (s).
constexpr double NarrowestRange = 2;
// The share of the value span left free above and below the curves.
constexpr double ValueMargin = 0.04;

// Per quantity: its caption, the plot it is drawn in, the log's column.
struct QuantityRow {
    ViewText caption;
    FlightView::Plot plot;
    std::vector<float> FlightLog::*column;
    bool paler; // drawn paler than its log's colour when several logs show
};
constexpr QuantityRow Quantities[FlightView::QuantityCount] = {
    {ViewText::BaroAltitude, FlightView::AltitudePlot, &FlightLog::baroAltitude, false},
    {ViewText::GpsAltitude, FlightView::AltitudePlot, &FlightLog::gpsAltitude, true},
    {ViewText::Climb, FlightView::ClimbPlot, &FlightLog::climb, false},
    {ViewText::Speed, FlightView::SpeedPlot, &FlightLog::speed, false},
};
constexpr const char* QuantityNames[FlightView::QuantityCount] = {"baroCheck", "gpsCheck",
                                                                  "climbCheck", "speedCheck"};
constexpr const char* PlotNames[FlightView::PlotCount] = {"altitudePlot", "climbPlot", "speedPlot"};

// One colour per log, told apart also by the colour-blind (Tableau 10).
QColor logColour(size_t log) {
    static const QRgb colours[] = {0x1f77b4, 0xff7f0e, 0x2ca02c, 0xd62728, 0x9467bd,
                                   0x8c564b, 0xe377c2, 0x7f7f7f, 0xbcbd22, 0x17becf};
    return QColor(colours[log % std::size(colours)]);
}

// Whether the log's flight lasts at the axis time.
bool during(const FlightLog& log, double axisTime) {
    return axisTime >= log.axisTime(0) && axisTime <= log.axisTime(log.size() - 1);
}

bool hasValues(const std::vector<float>& column) {
    return std::any_of(column.begin(), column.end(), [](float v) { return !std::isnan(v); });
}

// A value for the readout in the pilot's regional form.
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

// The three exports: button, save dialog, file type, the name proposed after
// the log's base name, caption and what writes the file.
struct ExportRow {
    const char* button;
    const char* dialog;
    const char* filter;
    const char* suffix;
    const char* fileEnd;
    ViewText caption;
    Status (FlightView::*save)(const QString&);
};
const ExportRow Exports[] = {
    {"savePngButton", "SavePngDialog", "PNG (*.png)", "png", ".png", ViewText::SavePng,
     &FlightView::savePng},
    {"saveSvgButton", "SaveSvgDialog", "SVG (*.svg)", "svg", ".svg", ViewText::SaveSvg,
     &FlightView::saveSvg},
    {"saveCsvButton", "SaveCsvDialog", "CSV (*.csv)", "csv", "-summary.csv", ViewText::SaveCsv,
     &FlightView::saveSummaryCsv},
};

// A picture that could not be drawn or encoded (no memory for its pixels):
// nothing is written.
Failure pictureFailure() {
    return {FailureKind::IoError, QStringLiteral("Bild konnte nicht erzeugt werden")};
}

QFileDialog* makeSaveDialog(QWidget* parent, const char* name, const QString& filter,
                            const QString& suffix, const QString& path) {
    auto* dialog = new QFileDialog(parent);
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setNameFilter(filter);
    dialog->setDefaultSuffix(suffix);
    dialog->setDirectory(QFileInfo(path).absolutePath());
    dialog->selectFile(path);
    return dialog;
}

} // namespace

FlightView::FlightView(TForm1* form, std::vector<FlightLog> logs)
    : QWidget(form, Qt::Window), m_form(form), m_logs(std::move(logs)) {
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("FlightView"));
    for (const FlightLog& log : m_logs)
        m_summaries.push_back(summarizeFlight(log));
    m_fullFrom = std::numeric_limits<double>::infinity();
    m_fullTo = -m_fullFrom;
    for (size_t i = 0; i < m_logs.size(); ++i) {
        const FlightLog& log = m_logs[i];
        m_fullFrom = std::min(m_fullFrom, log.axisTime(0) + shiftOf(i));
        m_fullTo = std::max(m_fullTo, log.axisTime(log.size() - 1) + shiftOf(i));
    }
    if (m_fullTo - m_fullFrom < NarrowestRange)
        m_fullTo = m_fullFrom + NarrowestRange;
    m_from = m_fullFrom;
    m_to = m_fullTo;
    m_cursor = m_fullFrom;
    buildWindow();
    buildCurves();
    fillSummaryTable();
    retranslate();
    setCurrentLog(0);
    resize(1280, 860);
    placeTimeTitle();
    refresh();
}

FlightView::~FlightView() = default;

double FlightView::shiftOf(size_t log) const {
    return m_logs.size() > 1 ? -m_logs[log].axisTime(0) : 0;
}

QLineSeries* FlightView::series(size_t log, Quantity quantity) const {
    for (const Curve& curve : m_curves)
        if (curve.log == log && curve.quantity == quantity)
            return curve.series;
    return nullptr;
}

void FlightView::buildWindow() {
    auto* tools = new QHBoxLayout;
    m_showAll = new QPushButton(this);
    m_showAll->setObjectName(QStringLiteral("showAllButton"));
    connect(m_showAll, &QPushButton::clicked, this, &FlightView::showAll);
    tools->addWidget(m_showAll);
    for (int q = 0; q < QuantityCount; ++q) {
        auto* show = new QCheckBox(this);
        show->setObjectName(QString::fromLatin1(QuantityNames[q]));
        show->setChecked(true);
        connect(show, &QCheckBox::toggled, this, &FlightView::showCheckedQuantities);
        m_shows[q] = show;
        tools->addWidget(show);
    }
    m_flightChoice = new QComboBox(this);
    m_flightChoice->setObjectName(QStringLiteral("flightChoice"));
    for (const FlightLog& log : m_logs)
        m_flightChoice->addItem(QFileInfo(log.path).fileName());
    m_flightChoice->setVisible(m_logs.size() > 1);
    connect(m_flightChoice, &QComboBox::activated, this,
            [this](int index) { setCurrentLog(size_t(index)); });
    tools->addWidget(m_flightChoice);
    tools->addStretch();

    m_convert = new QToolButton(this);
    m_convert->setObjectName(QStringLiteral("convertButton"));
    m_convert->setPopupMode(QToolButton::InstantPopup);
    auto* conversions = new QMenu(m_convert);
    conversions->setObjectName(QStringLiteral("convertMenu"));
    for (const ConversionFormat& format : conversionFormats()) {
        QAction* action = conversions->addAction(QString());
        action->setObjectName(QString::fromLatin1(format.menuItem));
        connect(action, &QAction::triggered, this,
                [this, &format] { m_form->ConvertAndReport(format, m_logs[m_current].path); });
    }
    // The main menu's captions, in whatever language it shows now.
    connect(conversions, &QMenu::aboutToShow, this, [this, conversions] {
        for (QAction* action : conversions->actions())
            if (auto* item = m_form->findChild<QAction*>(action->objectName()))
                action->setText(item->text());
    });
    emit conversions->aboutToShow();
    m_convert->setMenu(conversions);
    tools->addWidget(m_convert);

    const QString base = QFileInfo(m_logs.front().path).absolutePath() + QLatin1Char('/') +
                         QFileInfo(m_logs.front().path).completeBaseName();
    for (size_t e = 0; e < std::size(Exports); ++e) {
        const ExportRow& row = Exports[e];
        auto* button = new QPushButton(this);
        button->setObjectName(QString::fromLatin1(row.button));
        QFileDialog* dialog = makeSaveDialog(this, row.dialog, QString::fromLatin1(row.filter),
                                             QString::fromLatin1(row.suffix),
                                             base + QString::fromLatin1(row.fileEnd));
        connect(button, &QPushButton::clicked, this,
                [this, dialog, save = row.save] { runExport(dialog, save); });
        m_exports[e] = button;
        tools->addWidget(button);
    }

    auto* plots = new QWidget;
    auto* plotColumn = new QVBoxLayout(plots);
    plotColumn->setContentsMargins(0, 0, 0, 0);
    plotColumn->setSpacing(0);
    for (int p = 0; p < PlotCount; ++p) {
        auto* plot = new PlotView(plots);
        plot->setObjectName(QString::fromLatin1(PlotNames[p]));
        plot->chart()->legend()->setVisible(p == AltitudePlot);
        plot->chart()->legend()->setAlignment(Qt::AlignTop);
        connect(plot, &PlotView::cursorMoved, this, &FlightView::setCursorTime);
        connect(plot, &PlotView::rangeChosen, this, &FlightView::setRange);
        connect(plot, &PlotView::zoomRequested, this, &FlightView::zoomAbout);
        connect(plot, &PlotView::resized, this, &FlightView::refresh);
        plotColumn->addWidget(plot, p == AltitudePlot ? 3 : 2);
        m_plots[p] = plot;
    }
    m_readout = new QLabel(plots);
    m_readout->setObjectName(QStringLiteral("readout"));
    m_readout->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_readout->setMargin(4);
    m_readout->setWordWrap(true); // a long line must not widen the plots' side
    plotColumn->addWidget(m_readout);

    auto* side = new QWidget;
    auto* sideColumn = new QVBoxLayout(side);
    sideColumn->setContentsMargins(0, 0, 0, 0);
    m_trackCaption = new QLabel(side);
    m_trackCaption->setObjectName(QStringLiteral("trackCaption"));
    sideColumn->addWidget(m_trackCaption);
    m_track = new TrackView(side);
    m_track->setObjectName(QStringLiteral("trackView"));
    connect(m_track, &TrackView::sampleClicked, this, [this](size_t sample) {
        const double time = m_logs[m_current].axisTime(sample) + shiftOf(m_current);
        // A place outside the zoomed range: the plots pan to it, as wide as before.
        if (time < m_from || time > m_to) {
            const double width = m_to - m_from;
            setRange(time - width / 2, time + width / 2);
        }
        setCursorTime(time);
    });
    sideColumn->addWidget(m_track, 3);
    m_summaryTable = new QTableWidget(side);
    m_summaryTable->setObjectName(QStringLiteral("summaryTable"));
    m_summaryTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_summaryTable->setSelectionMode(QAbstractItemView::NoSelection);
    m_summaryTable->setWordWrap(false);
    connect(m_summaryTable->horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { setCurrentLog(size_t(column)); });
    sideColumn->addWidget(m_summaryTable, 2);
    m_skippedNote = new QLabel(side);
    m_skippedNote->setObjectName(QStringLiteral("skippedNote"));
    m_skippedNote->setWordWrap(true);
    sideColumn->addWidget(m_skippedNote);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(plots);
    split->addWidget(side);
    split->setStretchFactor(0, 1);
    side->setMinimumWidth(300);
    split->setSizes({800, 480});

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(split, 1);
}

void FlightView::buildCurves() {
    for (size_t log = 0; log < m_logs.size(); ++log) {
        for (int q = 0; q < QuantityCount; ++q) {
            const QuantityRow& row = Quantities[q];
            auto* series = new QLineSeries;
            // One log: a colour per quantity. Several: a colour per log.
            // With several, the GPS altitude is the paler line of its log's colour
            // (a dashed line would cost a stroke per dash in a dense curve).
            const bool several = m_logs.size() > 1;
            QColor colour = logColour(several ? log : size_t(q));
            if (several && row.paler)
                colour = colour.lighter(150);
            series->setPen(QPen(colour, 1.6));
            PlotView* plot = m_plots[row.plot];
            plot->chart()->addSeries(series);
            series->attachAxis(plot->timeAxis());
            series->attachAxis(plot->valueAxis());
            for (QLegendMarker* marker : plot->chart()->legend()->markers(series))
                connect(marker, &QLegendMarker::clicked, this,
                        [this, curve = m_curves.size()] { toggleCurve(curve); });
            m_curves.push_back({log, Quantity(q), series});
        }
    }
    // A layout without speed (up to V407x) has no speed plot.
    const bool speed = std::any_of(m_logs.begin(), m_logs.end(),
                                   [](const FlightLog& log) { return hasValues(log.speed); });
    m_shows[Speed]->setEnabled(speed);
    m_shows[Speed]->setChecked(speed);
    applyVisibility();
}

void FlightView::fillSummaryTable() {
    const auto fields = summaryFields();
    m_summaryTable->setRowCount(int(fields.size()));
    m_summaryTable->setColumnCount(int(m_summaries.size()));
    for (size_t log = 0; log < m_summaries.size(); ++log) {
        const FlightSummary& summary = m_summaries[log];
        for (size_t f = 0; f < fields.size(); ++f) {
            const QString text = summaryText(fields[f], summary, QLocale());
            auto* item = new QTableWidgetItem(text);
            item->setToolTip(text);
            if (summaryNumber(fields[f], summary))
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_summaryTable->setItem(int(f), int(log), item);
        }
    }
    // A long path gives way to the figures: its end, the file name, stays.
    m_summaryTable->setTextElideMode(Qt::ElideLeft);
    m_summaryTable->horizontalHeader()->setStretchLastSection(true);
    m_summaryTable->resizeColumnsToContents();
    for (int column = 0; column < m_summaryTable->columnCount(); ++column)
        m_summaryTable->setColumnWidth(column, std::min(m_summaryTable->columnWidth(column), 190));
}

void FlightView::retranslate() {
    const qint32 language = programState().language;
    if (language == m_language)
        return;
    m_language = language;
    auto text = [language](ViewText t) { return viewText(t, language); };
    auto withUnit = [&text](ViewText t) {
        return QStringLiteral("%1 (%2)").arg(text(t), viewUnit(t));
    };
    QStringList names;
    for (const FlightLog& log : m_logs)
        names << QFileInfo(log.path).fileName();
    setWindowTitle(text(ViewText::Title) + QStringLiteral(" – ") +
                   names.join(QStringLiteral(", ")));
    m_showAll->setText(text(ViewText::ShowAll));
    for (int q = 0; q < QuantityCount; ++q)
        m_shows[q]->setText(text(Quantities[q].caption));
    m_convert->setText(text(ViewText::Convert));
    for (size_t e = 0; e < std::size(Exports); ++e)
        m_exports[e]->setText(text(Exports[e].caption));
    m_trackCaption->setText(text(ViewText::Track));
    m_track->setLanguage(language);

    for (PlotView* plot : m_plots)
        plot->timeAxis()->setTitleText(withUnit(ViewText::Time));
    m_plots[AltitudePlot]->valueAxis()->setTitleText(viewUnit(ViewText::BaroAltitude));
    m_plots[ClimbPlot]->valueAxis()->setTitleText(withUnit(ViewText::Climb));
    m_plots[SpeedPlot]->valueAxis()->setTitleText(withUnit(ViewText::Speed));
    // One log: the legend names the two altitudes. Several: it names the logs
    // by their barometric curve, the GPS curve paler in the same colour.
    for (const Curve& curve : m_curves)
        curve.series->setName(m_logs.size() > 1 ? names[int(curve.log)]
                                                : text(Quantities[curve.quantity].caption));

    const auto fields = summaryFields();
    QStringList rows;
    for (const SummaryField& field : fields) {
        const QString caption = summaryCaption(field.key, language);
        rows << (*field.unit ? QStringLiteral("%1 (%2)").arg(caption, QString::fromUtf8(field.unit))
                             : caption);
    }
    m_summaryTable->setVerticalHeaderLabels(rows);
    m_summaryTable->setHorizontalHeaderLabels(names);

    QStringList notes;
    for (size_t log = 0; log < m_logs.size(); ++log) {
        if (m_logs[log].skippedLines == 0)
            continue;
        const QString note =
            text(ViewText::Skipped).arg(m_logs[log].skippedLines).arg(m_logs[log].firstSkippedLine);
        notes << (m_logs.size() > 1 ? names[int(log)] + QStringLiteral(": ") + note : note);
    }
    m_skippedNote->setText(notes.join(QLatin1Char('\n')));
    m_skippedNote->setVisible(!notes.isEmpty());
    updateReadout();
}

bool FlightView::event(QEvent* event) {
    // The language may have been switched in the main window meanwhile.
    if (event->type() == QEvent::WindowActivate)
        retranslate();
    return QWidget::event(event);
}

void FlightView::showCheckedQuantities() {
    applyVisibility();
    // A plot none of whose series shows gives its room to the others.
    for (int p = 0; p < PlotCount; ++p) {
        bool any = false;
        for (int q = 0; q < QuantityCount; ++q)
            any = any || (Quantities[q].plot == p && m_shows[q]->isChecked());
        m_plots[p]->setVisible(any);
    }
    placeTimeTitle();
    refresh();
}

// A legend marker switches its curve; with several logs it names a log and
// switches all of that log's curves.
void FlightView::toggleCurve(size_t curve) {
    const bool hide = !m_curves[curve].hidden;
    for (Curve& other : m_curves)
        if (&other == &m_curves[curve] || (m_logs.size() > 1 && other.log == m_curves[curve].log))
            other.hidden = hide;
    applyVisibility();
    refresh();
}

// A curve shows when its quantity's check box is on and its marker has not
// switched it off. Qt Charts hides the marker of a hidden series; a marker
// that switched its curve off stays, dimmed, so it can switch it on again.
void FlightView::applyVisibility() {
    const bool several = m_logs.size() > 1;
    for (const Curve& curve : m_curves) {
        const bool checked = m_shows[curve.quantity]->isChecked();
        curve.series->setVisible(checked && !curve.hidden);
        const bool inLegend = several ? curve.quantity == BaroAltitude : checked;
        const double alpha = curve.hidden ? 0.35 : 1.0;
        for (QLegendMarker* marker :
             m_plots[Quantities[curve.quantity].plot]->chart()->legend()->markers(curve.series)) {
            marker->setVisible(inLegend);
            QColor label = marker->labelBrush().color();
            label.setAlphaF(alpha);
            marker->setLabelBrush(label);
            QColor colour = curve.series->pen().color();
            colour.setAlphaF(alpha);
            marker->setBrush(colour);
            QPen pen = marker->pen();
            pen.setColor(colour);
            marker->setPen(pen);
        }
    }
}

void FlightView::placeTimeTitle() {
    PlotView* lowest = nullptr;
    for (PlotView* plot : m_plots)
        if (!plot->isHidden())
            lowest = plot;
    for (PlotView* plot : m_plots)
        plot->setTimeTitleShown(plot == lowest);
}

void FlightView::setRange(double from, double to) {
    const double full = m_fullTo - m_fullFrom;
    double width = std::clamp(to - from, std::min(NarrowestRange, full), full);
    from = std::clamp(from, m_fullFrom, m_fullTo - width);
    m_from = from;
    m_to = from + width;
    refresh();
}

void FlightView::showAll() {
    setRange(m_fullFrom, m_fullTo);
}

void FlightView::zoomAbout(double time, double factor) {
    setRange(time - (time - m_from) * factor, time + (m_to - time) * factor);
}

// Each visible series drawn again for the range at its plot's width; the
// value axes fit what shows.
void FlightView::refresh() {
    std::array<double, PlotCount> low, high;
    low.fill(std::numeric_limits<double>::infinity());
    high.fill(-std::numeric_limits<double>::infinity());
    for (const Curve& curve : m_curves) {
        const QuantityRow& row = Quantities[curve.quantity];
        PlotView* plot = m_plots[row.plot];
        if (!curve.series->isVisible() || plot->isHidden())
            continue;
        const int columns = std::max(100, int(plot->chart()->plotArea().width()));
        const FlightLog& log = m_logs[curve.log];
        const std::vector<QPointF> points =
            decimateSeries(log, log.*row.column, m_from, m_to, columns, shiftOf(curve.log));
        for (const QPointF& p : points) {
            if (std::isnan(p.y()) || p.x() < m_from || p.x() > m_to)
                continue;
            low[row.plot] = std::min(low[row.plot], p.y());
            high[row.plot] = std::max(high[row.plot], p.y());
        }
        curve.series->replace(QList<QPointF>(points.begin(), points.end()));
    }
    for (int p = 0; p < PlotCount; ++p) {
        PlotView* plot = m_plots[p];
        plot->setTimeRange(m_from, m_to);
        double a = low[p], b = high[p];
        // A small margin keeps a curve at its extremes, or a flat one, off the
        // frame. Climb and speed keep their zero line in sight, and a curve
        // that does not cross it ends at the frame there: no speed below 0.
        const bool zeroLine = p != AltitudePlot;
        const double margin = b > a ? (b - a) * ValueMargin : 0.5;
        a = zeroLine && a >= 0 ? 0.0 : a - margin;
        b = zeroLine && b <= 0 ? 0.0 : b + margin;
        if (!std::isfinite(a) || !std::isfinite(b)) {
            a = 0;
            b = 1;
        }
        plot->setValueRange(a, b);
    }
}

void FlightView::setCursorTime(double time) {
    m_cursor = time;
    for (PlotView* plot : m_plots)
        plot->setCursorTime(time);
    // The track marks the chosen log's place while its flight lasts: the
    // last known one where the sample under the cursor has no position.
    const FlightLog& log = m_logs[m_current];
    const double own = time - shiftOf(m_current);
    m_track->setCursorSample(during(log, own) ? positionAtOrBefore(log, sampleNearTime(log, own))
                                              : std::nullopt);
    updateReadout();
}

void FlightView::setCurrentLog(size_t log) {
    if (log >= m_logs.size())
        return;
    m_current = log;
    m_flightChoice->setCurrentIndex(int(log));
    m_track->setLog(&m_logs[log]);
    setCursorTime(m_cursor);
}

// One line per log, the chosen log first: every value at the cursor time.
void FlightView::updateReadout() {
    const qint32 language = m_language;
    QStringList lines;
    std::vector<size_t> order{m_current};
    for (size_t log = 0; log < m_logs.size(); ++log)
        if (log != m_current)
            order.push_back(log);
    for (size_t log : order) {
        const FlightLog& flight = m_logs[log];
        const double time = m_cursor - shiftOf(log);
        QStringList parts;
        if (during(flight, time)) {
            const size_t i = sampleNearTime(flight, time);
            auto part = [&](ViewText t, double value, int decimals) {
                QString shown =
                    viewText(t, language) + QStringLiteral(": ") + shownNumber(value, decimals);
                if (!std::isnan(value))
                    shown += QLatin1Char(' ') + viewUnit(t);
                parts << shown;
            };
            part(ViewText::Time, flight.axisTime(i) + shiftOf(log), 0);
            part(ViewText::BaroAltitude, flight.baroAltitude[i], 1);
            part(ViewText::GpsAltitude, flight.gpsAltitude[i], 1);
            part(ViewText::Climb, flight.climb[i], 1);
            part(ViewText::Speed, flight.speed[i], 0);
            part(ViewText::TrackDistance, flight.trackDistance[i], 0);
            part(ViewText::StartDistance, flight.startDistance[i], 0);
        }
        QString line = parts.join(QStringLiteral("   "));
        if (m_logs.size() > 1)
            line = QFileInfo(flight.path).fileName() + QStringLiteral(" — ") +
                   (parts.isEmpty() ? QStringLiteral("–") : line);
        lines << line;
    }
    m_readout->setText(lines.join(QLatin1Char('\n')));
}

void FlightView::runExport(QFileDialog* dialog, Status (FlightView::*save)(const QString&)) {
    const QString path = dialogs().runFileDialog(dialog);
    if (path.isEmpty())
        return;
    // Named by the file, as a log that cannot be opened is.
    if (const Status failure = (this->*save)(path))
        m_form->showFailure(
            {failure->kind, QFileInfo(path).fileName() + QStringLiteral(": ") + failure->message});
}

// The visible plots one below the other, as large as on the screen.
QSize FlightView::plotsSize() const {
    QSize size(0, 0);
    for (PlotView* plot : m_plots)
        if (!plot->isHidden())
            size = QSize(std::max(size.width(), plot->width()), size.height() + plot->height());
    return size.isEmpty() ? QSize(800, 600) : size;
}

void FlightView::paintPlots(QPainter& painter) {
    const double cursor = m_cursor;
    for (PlotView* plot : m_plots)
        plot->setCursorTime(NaN); // the picture shows the flight, not the mouse
    int top = 0;
    for (PlotView* plot : m_plots) {
        if (plot->isHidden())
            continue;
        plot->render(&painter, QRectF(0, top, plot->width(), plot->height()),
                     plot->viewport()->rect());
        top += plot->height();
    }
    for (PlotView* plot : m_plots)
        plot->setCursorTime(cursor);
}

Status FlightView::savePng(const QString& path) {
    QImage image(plotsSize(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        paintPlots(painter);
    }
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "PNG"))
        return pictureFailure();
    return writeFileAtomically(path, buffer.data());
}

Status FlightView::saveSvg(const QString& path) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(plotsSize());
    svg.setViewBox(QRect(QPoint(0, 0), plotsSize()));
    svg.setTitle(windowTitle());
    QPainter painter;
    if (!painter.begin(&svg))
        return pictureFailure();
    paintPlots(painter);
    if (!painter.end() || buffer.data().isEmpty())
        return pictureFailure();
    return writeFileAtomically(path, buffer.data());
}

Status FlightView::saveSummaryCsv(const QString& path) {
    QString csv = summaryCsvHeader();
    for (const FlightSummary& summary : m_summaries)
        csv += summaryCsvRow(summary);
    return writeFileAtomically(path, csv.toUtf8());
}
