#include "logbook/ui/logbooktotalsview.h"

#include "flight/readingtext.h"
#include "i18n/logbookcaptions.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// The first column holds the group's key.
const LogbookText columns[] = {LogbookText::Flights,     LogbookText::Launches,
                               LogbookText::FlightTime,  LogbookText::LogTime,
                               LogbookText::MaxAltitude, LogbookText::Distance};
constexpr int ColumnCount = 1 + int(std::size(columns));

QStringList rowTexts(const LogbookTotals& t, const QString& key) {
    const QLocale locale;
    return {key,
            QString::number(t.flights),
            QString::number(t.launches),
            readingText(t.flightTime, "s", 0, false, locale),
            readingText(t.logTime, "s", 0, false, locale),
            t.maxAltitude ? readingText(*t.maxAltitude, "m", 1, false, locale) : QString(),
            readingText(t.trackDistance, "m", 0, true, locale)};
}

} // namespace

LogbookTotalsView::LogbookTotalsView(QWidget* parent) : QWidget(parent) {
    m_grouping = new QComboBox(this);
    m_grouping->setObjectName(QStringLiteral("totalsGrouping"));
    // As wide as its texts in the language chosen now, not the first one.
    m_grouping->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (const TotalsGrouping grouping :
         {TotalsGrouping::Model, TotalsGrouping::Month, TotalsGrouping::Year})
        m_grouping->addItem(QString(), int(grouping));

    m_table = new QTableWidget(0, ColumnCount, this);
    m_table->setObjectName(QStringLiteral("totalsTable"));
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_table->setAlternatingRowColors(true);

    auto* head = new QHBoxLayout;
    m_heading = new QLabel(this);
    head->addWidget(m_heading);
    head->addWidget(m_grouping);
    head->addStretch(1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(head);
    column->addWidget(m_table, 1);

    connect(m_grouping, &QComboBox::currentIndexChanged, this, &LogbookTotalsView::groupingChanged);
    retranslate(0);
}

void LogbookTotalsView::retranslate(qint32 language) {
    m_language = language;
    m_heading->setText(logbookText(LogbookText::TotalsOf, language));
    const LogbookText groupings[] = {LogbookText::PerModel, LogbookText::PerMonth,
                                     LogbookText::PerYear};
    for (int i = 0; i < int(std::size(groupings)); ++i)
        m_grouping->setItemText(i, logbookText(groupings[i], language));
    QStringList headers{QString()};
    for (const LogbookText column : columns)
        headers << logbookText(column, language);
    m_table->setHorizontalHeaderLabels(headers);
}

void LogbookTotalsView::showTotals(const std::vector<LogbookEntry>& entries) {
    const auto grouping = TotalsGrouping(m_grouping->currentData().toInt());
    std::vector<std::pair<LogbookTotals, QString>> rows;
    for (const LogbookTotals& t : totalsOf(entries, grouping))
        rows.emplace_back(t, grouping == TotalsGrouping::Model && t.key.isEmpty()
                                 ? logbookText(LogbookText::WithoutModel, m_language)
                                 : t.key);
    rows.emplace_back(totalsOf(entries, TotalsGrouping::All).front(),
                      logbookText(LogbookText::Sum, m_language));

    m_table->setRowCount(int(rows.size()));
    for (int row = 0; row < int(rows.size()); ++row) {
        const QStringList texts = rowTexts(rows[size_t(row)].first, rows[size_t(row)].second);
        for (int col = 0; col < texts.size(); ++col) {
            auto* item = new QTableWidgetItem(texts[col]);
            item->setTextAlignment(col == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                            : Qt::AlignRight | Qt::AlignVCenter);
            if (row == int(rows.size()) - 1) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            m_table->setItem(row, col, item);
        }
    }
}
