#include "flight/ui/flightview.h"

#include "app/ui/dialogs.h"
#include "convert/conversions.h"
#include "core/programstate.h"
#include "flight/readouttext.h"
#include "flight/ui/flightexports.h"
#include "flight/ui/flightplots.h"
#include "flight/ui/flightviewtools.h"
#include "flight/ui/landingplacebox.h"
#include "flight/ui/plotview.h"
#include "flight/ui/replaybar.h"
#include "flight/ui/sidecolumn.h"
#include "flight/ui/summarytable.h"
#include "flight/ui/thermallist.h"
#include "flight/ui/trackview.h"
#include "i18n/captiontables.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

using State = FlightViewState;

constexpr const char* QuantityNames[State::PlottedCount] = {"baroCheck", "gpsCheck", "climbCheck",
                                                            "speedCheck"};

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

FlightView::FlightView(QWidget* parent, std::vector<FlightLog> logs, std::vector<QString> readAs)
    : QWidget(parent, Qt::Window), m_state(std::move(logs)), m_readAs(std::move(readAs)) {
    m_readAs.resize(this->logs().size());
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("FlightView"));
    buildWindow();
    retranslate();
    setCurrentLog(0);
    fitToScreen();
    redraw();
}

FlightView::~FlightView() = default;

PlotView* FlightView::plot(FlightViewState::Plot plot) const {
    return m_plots->plot(plot);
}

QLineSeries* FlightView::series(size_t log, FlightViewState::Quantity quantity) const {
    return m_plots->series(log, quantity);
}

void FlightView::buildWindow() {
    // What is shown on the left, what is done with the log on the right; on
    // a narrow screen the second group goes below the first.
    m_showTools = new QWidget(this);
    m_doTools = new QWidget(this);
    auto* tools = new QHBoxLayout(m_showTools);
    tools->setContentsMargins(0, 0, 0, 0);
    m_showAll = new QPushButton(this);
    m_showAll->setObjectName(QStringLiteral("showAllButton"));
    connect(m_showAll, &QPushButton::clicked, this, &FlightView::showAll);
    tools->addWidget(m_showAll);
    for (int q = 0; q < State::PlottedCount; ++q) {
        auto* show = new QCheckBox(this);
        show->setObjectName(QString::fromLatin1(QuantityNames[q]));
        show->setChecked(m_state.shown(State::Quantity(q)));
        show->setEnabled(m_state.hasValues(State::Quantity(q)));
        connect(show, &QCheckBox::toggled, this, [this, q](bool on) {
            m_state.setShown(State::Quantity(q), on);
            showChecked();
        });
        m_shows[q] = show;
        tools->addWidget(show);
    }
    m_flightChoice = new QComboBox(this);
    m_flightChoice->setObjectName(QStringLiteral("flightChoice"));
    for (const FlightLog& log : logs())
        m_flightChoice->addItem(log.name);
    m_flightChoice->setVisible(m_state.several());
    connect(m_flightChoice, &QComboBox::activated, this,
            [this](int index) { setCurrentLog(size_t(index)); });
    tools->addWidget(m_flightChoice);
    tools = new QHBoxLayout(m_doTools);
    tools->setContentsMargins(0, 0, 0, 0);

    m_convert = new QToolButton(this);
    m_convert->setObjectName(QStringLiteral("convertButton"));
    m_convert->setPopupMode(QToolButton::InstantPopup);
    auto* conversions = new QMenu(m_convert);
    conversions->setObjectName(QStringLiteral("convertMenu"));
    for (const ConversionFormat& format : conversionFormats()) {
        QAction* action = conversions->addAction(QString());
        action->setObjectName(QString::fromLatin1(format.menuItem));
        connect(action, &QAction::triggered, this, [this, &format] {
            if (!logs()[currentLog()].isRenamedCopy())
                emit convertRequested(format, logs()[currentLog()].path);
        });
    }
    // The main menu's captions, in whatever language it shows now.
    connect(conversions, &QMenu::aboutToShow, this, [conversions] {
        const CaptionLanguage language =
            programState().language == 1 ? CaptionLanguage::English : CaptionLanguage::German;
        for (QAction* action : conversions->actions())
            action->setText(captionIn(language, action->objectName().toLatin1().constData()));
    });
    emit conversions->aboutToShow();
    m_convert->setMenu(conversions);
    tools->addWidget(m_convert);

    // A kept copy's folder is the logbook's, not the pilot's: its pictures
    // are proposed in the home folder, under the name the pilot knows.
    const FlightLog& first = logs().front();
    const QString folder =
        first.isRenamedCopy() ? QDir::homePath() : QFileInfo(first.path).absolutePath();
    const QString base = folder + QLatin1Char('/') + QFileInfo(first.name).completeBaseName();
    for (size_t e = 0; e < std::size(Exports); ++e) {
        const ExportRow& row = Exports[e];
        auto* button = new QPushButton(this);
        button->setObjectName(QString::fromLatin1(row.button));
        QFileDialog* dialog = makeSaveDialog(this, row.dialog, QString::fromLatin1(row.filter),
                                             QString::fromLatin1(row.suffix),
                                             base + QString::fromLatin1(row.fileEnd));
        connect(button, &QPushButton::clicked, this,
                [this, dialog, e] { runExport(dialog, int(e)); });
        m_exports[e] = button;
        tools->addWidget(button);
    }

    auto* plotSide = new QWidget;
    auto* plotColumn = new QVBoxLayout(plotSide);
    plotColumn->setContentsMargins(0, 0, 0, 0);
    plotColumn->setSpacing(0);
    m_plots = new FlightPlots(m_state, plotSide);
    m_plots->setObjectName(QStringLiteral("plots"));
    connect(m_plots, &FlightPlots::cursorMoved, this, &FlightView::setCursorTime);
    connect(m_plots, &FlightPlots::rangeChosen, this, &FlightView::setRange);
    connect(m_plots, &FlightPlots::zoomRequested, this, &FlightView::zoomAbout);
    connect(m_plots, &FlightPlots::legendEntryClicked, this,
            [this](size_t log, State::Quantity quantity) {
                m_state.toggleLegendEntry(log, quantity);
                // With one log the entry and the check box are one switch.
                for (int q = 0; q < State::PlottedCount; ++q)
                    m_shows[q]->setChecked(m_state.shown(State::Quantity(q)));
                showChecked();
            });
    plotColumn->addWidget(m_plots, 1);
    m_readout = new QLabel(plotSide);
    m_readout->setObjectName(QStringLiteral("readout"));
    m_readout->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_readout->setMargin(4);
    m_readout->setWordWrap(true); // a long line must not widen the plots' side
    plotColumn->addWidget(m_readout);
    m_viewTools = new FlightViewTools(this, m_state.fullFrom(), m_state.fullTo());
    plotColumn->addWidget(m_viewTools->replayBar());

    m_split = new QSplitter(Qt::Horizontal, this);
    m_split->addWidget(plotSide);
    m_split->addWidget(buildSide());
    m_split->setStretchFactor(0, 1);
    m_split->setSizes({800, 480});

    auto* layout = new QVBoxLayout(this);
    m_tools = new QGridLayout;
    layout->addLayout(m_tools);
    layout->addWidget(m_split, 1);
    placeTools(false);
    m_plots->applyVisibility();
}

QWidget* FlightView::buildSide() {
    auto* top = new QWidget;
    auto* topColumn = new QVBoxLayout(top);
    topColumn->setContentsMargins(0, 0, 0, 0);
    m_trackCaption = new QLabel(top);
    m_trackCaption->setObjectName(QStringLiteral("trackCaption"));
    topColumn->addWidget(m_trackCaption);
    m_track = new TrackView(top);
    m_track->setObjectName(QStringLiteral("trackView"));
    connect(m_track, &TrackView::sampleClicked, this, [this](size_t sample) {
        const size_t log = currentLog();
        const double time = logs()[log].axisTime(sample) + m_state.shiftOf(log);
        // A place outside the zoomed range: the plots pan to it, as wide as before.
        m_state.panTo(time);
        m_plots->refresh();
        setCursorTime(time);
    });
    topColumn->addWidget(m_track, 1);
    m_summaryTable = new SummaryTable(summaries(), logs(), nullptr);
    m_summaryTable->setObjectName(QStringLiteral("summaryTable"));
    connect(m_summaryTable, &SummaryTable::logClicked, this, &FlightView::setCurrentLog);
    m_skippedNote = new QLabel;
    m_skippedNote->setObjectName(QStringLiteral("skippedNote"));
    m_skippedNote->setWordWrap(true);
    m_side = new SideColumn(top, m_summaryTable, m_viewTools->thermalList(),
                            m_viewTools->landingPlace(), m_skippedNote);
    m_side->setObjectName(QStringLiteral("sideColumn"));
    m_side->setMinimumWidth(300);
    return m_side;
}

// As large as before where the screen has the room, else as large as its
// available area (less the window frame), and wholly inside it.
void FlightView::fitToScreen() {
    QScreen* screen = parentWidget() ? parentWidget()->screen() : this->screen();
    const QRect area = screen->availableGeometry();
    const QSize frame(16, 40);
    const QSize fitting = QSize(1280, 860).boundedTo(area.size() - frame);
    placeTools(fitting.width() < toolsWidth());
    resize(fitting);
    // The plots and the side column share a narrower window as they share
    // the widest one; the side takes more where the summaries of many logs
    // need it to show their figures without scrolling, up to half the width.
    // (20 px: the tabs' frame and margins around the table.)
    const int side = std::clamp(m_summaryTable->figuresWidth() + 20, fitting.width() * 480 / 1280,
                                fitting.width() / 2);
    m_split->setSizes({fitting.width() - side, side});
    QRect place(QPoint(0, 0), size() + frame);
    place.moveCenter(area.center());
    move(place.topLeft().x() < area.left() ? area.left() : place.left(),
         place.top() < area.top() ? area.top() : place.top());
}

int FlightView::toolsWidth() const {
    const QMargins margins = layout()->contentsMargins();
    return m_showTools->sizeHint().width() + m_tools->horizontalSpacing() +
           m_doTools->sizeHint().width() + margins.left() + margins.right();
}

void FlightView::placeTools(bool stacked) {
    m_tools->removeWidget(m_showTools);
    m_tools->removeWidget(m_doTools);
    m_tools->addWidget(m_showTools, 0, 0, Qt::AlignLeft);
    m_tools->addWidget(m_doTools, stacked ? 1 : 0, stacked ? 0 : 1, Qt::AlignRight);
    m_tools->setColumnStretch(stacked ? 1 : 0, 0);
    m_tools->setColumnStretch(stacked ? 0 : 1, 1);
}

void FlightView::resizeEvent(QResizeEvent* event) {
    // Back in one row once the window is wide enough for it.
    if (m_tools->itemAtPosition(1, 0) && width() >= toolsWidth())
        placeTools(false);
    QWidget::resizeEvent(event);
}

void FlightView::showChecked() {
    m_plots->applyVisibility();
    m_plots->refresh();
}

void FlightView::redraw() {
    m_plots->refresh();
    m_plots->showCursor();
}

void FlightView::setRange(double from, double to) {
    m_state.setRange(from, to);
    m_plots->refresh();
}

void FlightView::showAll() {
    m_state.showAll();
    m_plots->refresh();
}

void FlightView::zoomAbout(double time, double factor) {
    m_state.zoomAbout(time, factor);
    m_plots->refresh();
}

void FlightView::setCursorTime(double time) {
    m_state.setCursorTime(time);
    m_plots->showCursor();
    m_track->setCursorSample(m_state.trackCursor());
    updateReadout();
    m_viewTools->cursorChanged(time);
}

void FlightView::setCurrentLog(size_t log) {
    if (!m_state.setCurrentLog(log))
        return;
    m_flightChoice->setCurrentIndex(int(log));
    m_track->setLog(&logs()[log]);
    std::vector<TrackSpan> thermals;
    for (const Thermal& thermal : summaries()[log].thermals)
        thermals.push_back({thermal.firstSample, thermal.lastSample + 1});
    m_track->setMarkedSpans(std::move(thermals));
    m_viewTools->logChanged(log);
    m_side->partsChanged();
    updateConvertButton();
    setCursorTime(cursorTime());
}

// Conversions write beside the log under its file's name: for a kept copy
// that would put a hash-named file into the logbook's own folder, where the
// pilot would not look for it and the logbook does not expect it. So they
// are left out for a copy; the pilot converts the original.
void FlightView::updateConvertButton() {
    const bool copy = logs()[currentLog()].isRenamedCopy();
    m_convert->setEnabled(!copy);
    m_convert->setToolTip(copy ? viewText(ViewText::ConvertCopy, m_language) : QString());
}

void FlightView::updateReadout() {
    // A value stays with its caption and unit ("Strecke: 1.24 km"): lines
    // break only between the parts.
    QStringList parts = readoutText(m_state, m_language).split(QStringLiteral("   "));
    for (QString& part : parts) {
        part.replace(QLatin1Char(' '), QChar(0x00A0));
        part.replace(QLatin1Char('-'), QChar(0x2011));
    }
    m_readout->setText(parts.join(QStringLiteral("   ")));
}

void FlightView::runExport(QFileDialog* dialog, int row) {
    const QString path = dialogs().runFileDialog(dialog);
    if (path.isEmpty())
        return;
    Status failure;
    switch (Exports[row].kind) {
    case ExportKind::Png:
        failure = savePng(path);
        break;
    case ExportKind::Svg:
        failure = saveSvg(path);
        break;
    case ExportKind::Csv:
        failure = saveSummaryCsv(path);
        break;
    }
    // Named by the file, as a log that cannot be opened is.
    if (failure)
        emit failed(
            {failure->kind, QFileInfo(path).fileName() + QStringLiteral(": ") + failure->message});
}

Status FlightView::savePng(const QString& path) {
    return saveViewPng(*m_plots, *m_track, pictureTitle(logs()), path);
}

Status FlightView::saveSvg(const QString& path) {
    return saveViewSvg(*m_plots, *m_track, pictureTitle(logs()), path);
}

Status FlightView::saveSummaryCsv(const QString& path) {
    return saveSummariesCsv(summaries(), path);
}
