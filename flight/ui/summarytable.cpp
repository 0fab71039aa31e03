#include "flight/ui/summarytable.h"

#include "flight/readingtext.h"
#include "i18n/viewcaptions.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QStyle>
#include <algorithm>
#include <string_view>

namespace {

// Room above and below a line of text in a row (px).
constexpr int RowPadding = 6;

// The log's own name: the one text that may give way, in its middle.
bool isFileName(const SummaryField& field) {
    return std::string_view(field.key) == "file";
}

// A log's name in `width`: whole, else without its extension (the logs of a
// card differ in their numbers, which a shortened middle would hide), else
// shortened in its middle.
QString shortName(const QString& name, const QFontMetrics& metrics, int width) {
    const QFileInfo file(name);
    if (metrics.horizontalAdvance(file.fileName()) <= width)
        return file.fileName();
    return metrics.elidedText(file.completeBaseName(), Qt::ElideMiddle, width);
}

} // namespace

SummaryTable::SummaryTable(const std::vector<FlightSummary>& summaries,
                           const std::vector<FlightLog>& logs, QWidget* parent)
    : QTableWidget(parent) {
    for (const FlightLog& log : logs)
        m_names.push_back(log.name);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setWordWrap(true);
    setTextElideMode(Qt::ElideMiddle);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // Sideways scrolling only where not even one figure per log fits.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this,
            [this](int column) { emit logClicked(size_t(column)); });
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &SummaryTable::fitToWidth);

    const auto fields = summaryFields();
    m_cells.resize(fields.size());
    int widestWord = 0;
    for (size_t f = 0; f < fields.size(); ++f) {
        for (const FlightSummary& summary : summaries) {
            const QString text = summaryReading(fields[f], summary, QLocale());
            m_cells[f].push_back({text, summaryNumber(fields[f], summary).has_value()});
            if (isFileName(fields[f]))
                continue;
            for (const QString& word : text.split(QLatin1Char(' ')))
                widestWord = std::max(widestWord, fontMetrics().horizontalAdvance(word));
        }
    }
    horizontalHeader()->setMinimumSectionSize(widestWord + 2 * textMargin() + 2);
    setColumnCount(int(summaries.size()));
    setHorizontalHeaderLabels(QStringList(m_names.begin(), m_names.end()));
    // The whole path where it is the pilot's own file; a kept copy's path
    // would only show its hash.
    for (size_t log = 0; log < logs.size(); ++log)
        horizontalHeaderItem(int(log))->setToolTip(logs[log].isRenamedCopy() ? logs[log].name
                                                                             : logs[log].path);
}

void SummaryTable::setLanguage(qint32 language) {
    m_captions.clear();
    for (const SummaryField& field : summaryFields()) {
        const QString caption = summaryCaption(field.key, language);
        const QString unit = summaryReadingUnit(field);
        m_captions << (unit.isEmpty() ? caption : QStringLiteral("%1 (%2)").arg(caption, unit));
    }
    m_stacked = !fitsSideBySide();
    fill();
}

// The captions at their whole width beside every log's widest figure, with
// room for the vertical scroll bar the many rows usually need.
bool SummaryTable::fitsSideBySide() const {
    const QFontMetrics captionMetrics = verticalHeader()->fontMetrics();
    int captions = 0;
    for (const QString& caption : m_captions)
        captions = std::max(captions, captionMetrics.horizontalAdvance(caption));
    captions += 2 * style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this) + 4;
    int figures = 0;
    for (size_t f = 0; f < m_cells.size(); ++f)
        if (!isFileName(summaryFields()[f]))
            for (const Cell& cell : m_cells[f])
                figures = std::max(figures, fontMetrics().horizontalAdvance(cell.text));
    figures += 2 * textMargin() + 2;
    const int room = width() - 2 * frameWidth() -
                     style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    return captions + columnCount() * figures <= room;
}

void SummaryTable::fill() {
    const auto fields = summaryFields();
    const int perField = m_stacked ? 2 : 1;
    clearSpans();
    setRowCount(0);
    setRowCount(int(fields.size()) * perField);
    verticalHeader()->setVisible(!m_stacked);
    for (size_t f = 0; f < fields.size(); ++f) {
        const int row = int(f) * perField + perField - 1;
        if (m_stacked) {
            // Shaded as the headings are, so a caption is not read as a figure.
            auto* caption = new QTableWidgetItem(m_captions.value(int(f)));
            caption->setBackground(palette().button());
            caption->setForeground(palette().buttonText());
            setItem(row - 1, 0, caption);
            if (columnCount() > 1) // one column needs no span, and Qt warns of it
                setSpan(row - 1, 0, 1, columnCount());
        } else {
            auto* caption = new QTableWidgetItem(m_captions.value(int(f)));
            setVerticalHeaderItem(row, caption);
        }
        // The headings above name the logs already.
        if (m_stacked && isFileName(fields[f])) {
            setRowHidden(row - 1, true);
            setRowHidden(row, true);
        }
        for (size_t log = 0; log < m_cells[f].size(); ++log) {
            const Cell& cell = m_cells[f][log];
            auto* item = new QTableWidgetItem(cell.text);
            item->setToolTip(cell.text);
            if (cell.number)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            setItem(row, int(log), item);
        }
    }
    fitToWidth();
}

// A log's name shortened in its middle to its column, on one line; every row
// as tall as its wrapped text needs.
void SummaryTable::fitToWidth() {
    if (m_captions.isEmpty()) // not filled yet
        return;
    const auto fields = summaryFields();
    const int perField = m_stacked ? 2 : 1;
    const int headerMargin = style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, this);
    for (int column = 0; column < columnCount(); ++column) {
        horizontalHeaderItem(column)->setText(
            shortName(m_names[size_t(column)], horizontalHeader()->fontMetrics(),
                      columnWidth(column) - 2 * headerMargin - 2));
    }
    const int line = fontMetrics().height() + RowPadding;
    for (int row = 0; row < rowCount(); ++row) {
        const size_t field = size_t(row / perField);
        const bool names = row % perField == perField - 1 && isFileName(fields[field]);
        int height = line;
        for (int column = 0; column < columnCount(); ++column) {
            QTableWidgetItem* cell = item(row, column);
            if (!cell)
                continue;
            int width = -int(showGrid());
            for (int c = column; c < column + columnSpan(row, column); ++c)
                width += columnWidth(c);
            width = std::max(1, width - 2 * textMargin());
            if (names) {
                // A pixel spare, so the style does not shorten it once more.
                width -= 2;
                cell->setText(fontMetrics().elidedText(m_cells[field][size_t(column)].text,
                                                       Qt::ElideMiddle, width));
                continue;
            }
            const QRect wrapped = fontMetrics().boundingRect(QRect(0, 0, width, 1 << 20),
                                                             Qt::TextWordWrap, cell->text());
            height = std::max(height, wrapped.height() + RowPadding);
        }
        verticalHeader()->resizeSection(row, height);
    }
}

// The names of the logs and a few figures, however short the pane; a dozen
// rows where there is room.
QSize SummaryTable::minimumSizeHint() const {
    return {QTableWidget::minimumSizeHint().width(), heightFor(4)};
}

QSize SummaryTable::sizeHint() const {
    return {QTableWidget::sizeHint().width(), heightFor(12)};
}

int SummaryTable::figuresWidth() const {
    return columnCount() * horizontalHeader()->minimumSectionSize() + 2 * frameWidth() +
           style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this) + 2;
}

int SummaryTable::heightFor(int rows) const {
    return horizontalHeader()->sizeHint().height() + rows * (fontMetrics().height() + RowPadding) +
           2 * frameWidth();
}

int SummaryTable::textMargin() const {
    // As the item views' style leaves on either side of a cell's text.
    return style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
}

void SummaryTable::resizeEvent(QResizeEvent* event) {
    QTableWidget::resizeEvent(event);
    if (m_captions.isEmpty())
        return;
    const bool stacked = !fitsSideBySide();
    if (stacked != m_stacked) {
        m_stacked = stacked;
        fill();
    } else {
        fitToWidth();
    }
}
