#include "flight/ui/thermallist.h"

#include "flight/flightsummary.h"
#include "flight/readingtext.h"
#include "i18n/viewcaptions.h"

#include <QHeaderView>
#include <QLabel>
#include <QResizeEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr ViewText Columns[] = {ViewText::ThermalStart, ViewText::ThermalDuration,
                                ViewText::ThermalGain, ViewText::ThermalClimb,
                                ViewText::ThermalDrift};

ViewText sourceText(ThermalSource source) {
    switch (source) {
    case ThermalSource::Circling:
        return ViewText::ThermalsFromCircling;
    case ThermalSource::ClimbNoPosition:
        return ViewText::ThermalsNoPosition;
    case ThermalSource::ClimbSparseFixes:
        break;
    }
    return ViewText::ThermalsSparseFixes;
}

QStringList cells(const Thermal& thermal) {
    const QLocale locale;
    QString drift = QStringLiteral("–");
    if (thermal.driftDirection && thermal.driftSpeed)
        drift = QStringLiteral("%1° · %2 km/h")
                    .arg(locale.toString(*thermal.driftDirection, 'f', 0),
                         locale.toString(*thermal.driftSpeed, 'f', 1));
    // Times as h:mm:ss, as the readout and the summary give them.
    return {readingText(thermal.start, "s", 0, false, locale),
            readingText(thermal.duration, "s", 0, false, locale),
            readingText(thermal.gain, "m", 1, false, locale),
            readingText(thermal.climb, "m/s", 2, false, locale), drift};
}

} // namespace

ThermalList::ThermalList(QWidget* parent)
    : QWidget(parent), m_note(new QLabel(this)), m_table(new QTableWidget(this)) {
    m_table->setObjectName(QStringLiteral("thermalTable"));
    m_note->setObjectName(QStringLiteral("thermalNote"));
    m_note->setWordWrap(true);
    m_table->setColumnCount(int(std::size(Columns)));
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->viewport()->installEventFilter(this);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(m_note);
    column->addWidget(m_table, 1);
    connect(m_table, &QTableWidget::cellClicked, this,
            [this](int row, int) { emit thermalChosen(size_t(row)); });
    setLanguage(0);
}

void ThermalList::setFlight(const FlightSummary* summary) {
    m_summary = summary;
    fill();
}

void ThermalList::setLanguage(qint32 language) {
    m_language = language;
    fill();
}

// The headings with their units beside them where the columns fit so, else
// each unit below its caption, which leaves the figures their width.
void ThermalList::fitColumns() {
    for (bool stacked : {false, true}) {
        QStringList headings;
        for (ViewText column : Columns) {
            const QString unit = readingUnit(viewUnit(column).toUtf8().constData(), false);
            headings << (unit.isEmpty()
                             ? viewText(column, m_language)
                             : QStringLiteral("%1%2(%3)")
                                   .arg(viewText(column, m_language),
                                        stacked ? QStringLiteral("\n") : QStringLiteral(" "),
                                        unit));
        }
        m_table->setHorizontalHeaderLabels(headings);
        // Measured at their own widths, the last one not stretched to the rest.
        m_table->horizontalHeader()->setStretchLastSection(false);
        m_table->resizeColumnsToContents();
        int width = 0;
        for (int c = 0; c < m_table->columnCount(); ++c)
            width += m_table->columnWidth(c);
        m_table->horizontalHeader()->setStretchLastSection(true);
        if (width <= m_table->viewport()->width())
            break;
    }
    updateGeometry();
}

// The note and every thermal's row, so that none needs scrolling to.
QSize ThermalList::sizeHint() const {
    int height = m_note->isHidden() ? 0 : m_note->heightForWidth(std::max(width(), 100));
    height += layout()->spacing() + m_table->horizontalHeader()->sizeHint().height() +
              2 * m_table->frameWidth();
    for (int row = 0; row < m_table->rowCount(); ++row)
        height += m_table->rowHeight(row);
    return {QWidget::sizeHint().width(), height};
}

// Fitted again whenever the table's width changes (not its height, which
// the headings' lines change).
bool ThermalList::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_table->viewport() && event->type() == QEvent::Resize) {
        const auto* resize = static_cast<QResizeEvent*>(event);
        if (resize->size().width() != resize->oldSize().width())
            fitColumns();
    }
    return QWidget::eventFilter(watched, event);
}

QString ThermalList::note() const {
    return m_note->text();
}

void ThermalList::fill() {
    const bool any = m_summary && !m_summary->thermals.empty();
    if (!m_summary)
        m_note->clear();
    else
        m_note->setText(
            viewText(ViewText::Thermals, m_language)
                .arg(viewText(any ? sourceText(m_summary->thermalSource) : ViewText::NoThermals,
                              m_language)));
    m_table->setRowCount(any ? int(m_summary->thermals.size()) : 0);
    if (!any) {
        fitColumns();
        return;
    }
    for (size_t t = 0; t < m_summary->thermals.size(); ++t) {
        const QStringList texts = cells(m_summary->thermals[t]);
        for (int c = 0; c < texts.size(); ++c) {
            auto* item = new QTableWidgetItem(texts[c]);
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (m_summary->bestThermal == t) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            m_table->setItem(int(t), c, item);
        }
    }
    fitColumns();
}
