#include "logbook/ui/logbooktotalsview.h"

#include "flight/readingtext.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const char* const columns[] = {
    "", "Flüge", "Starts", "Flugzeit h:mm:ss", "Logzeit h:mm:ss", "Größte Höhe m", "Strecke km"};

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
    m_grouping->addItem(QStringLiteral("je Modell"), int(TotalsGrouping::Model));
    m_grouping->addItem(QStringLiteral("je Monat"), int(TotalsGrouping::Month));
    m_grouping->addItem(QStringLiteral("je Jahr"), int(TotalsGrouping::Year));

    m_table = new QTableWidget(0, int(std::size(columns)), this);
    m_table->setObjectName(QStringLiteral("totalsTable"));
    QStringList headers;
    for (const char* column : columns)
        headers << QString::fromUtf8(column);
    m_table->setHorizontalHeaderLabels(headers);
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    m_table->setAlternatingRowColors(true);

    auto* head = new QHBoxLayout;
    head->addWidget(new QLabel(QStringLiteral("Summen der gezeigten Flüge"), this));
    head->addWidget(m_grouping);
    head->addStretch(1);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->addLayout(head);
    column->addWidget(m_table, 1);

    connect(m_grouping, &QComboBox::currentIndexChanged, this, &LogbookTotalsView::groupingChanged);
}

void LogbookTotalsView::showTotals(const std::vector<LogbookEntry>& entries) {
    const auto grouping = TotalsGrouping(m_grouping->currentData().toInt());
    std::vector<std::pair<LogbookTotals, QString>> rows;
    for (const LogbookTotals& t : totalsOf(entries, grouping))
        rows.emplace_back(t, grouping == TotalsGrouping::Model && t.key.isEmpty()
                                 ? QStringLiteral("ohne Modell")
                                 : t.key);
    rows.emplace_back(totalsOf(entries, TotalsGrouping::All).front(), QStringLiteral("Summe"));

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
