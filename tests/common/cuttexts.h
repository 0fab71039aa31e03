#pragma once

// What of a table does not show whole, for the window tests.
#include <QHeaderView>
#include <QStyle>
#include <QTableWidget>

// The texts of a table that do not show whole: a caption cut short, a
// figure wider than its cell or taller than its row once wrapped at its
// spaces. A log's name may give way in its middle, so it is left out.
inline QStringList cutTexts(QTableWidget* table) {
    QStringList cut;
    QStringList paths;
    for (int column = 0; column < table->columnCount(); ++column)
        paths << table->horizontalHeaderItem(column)->toolTip();
    const int margin =
        table->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, table) + 1;
    const QFontMetrics metrics = table->fontMetrics();
    for (int row = 0; row < table->rowCount(); ++row) {
        if (table->isRowHidden(row))
            continue;
        if (table->verticalHeader()->isVisible()) {
            const QString caption = table->verticalHeaderItem(row)->text();
            const int header = table->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, table);
            if (table->verticalHeader()->fontMetrics().horizontalAdvance(caption) + 2 * header >
                table->verticalHeader()->width())
                cut << caption;
        }
        for (int column = 0; column < table->columnCount(); ++column) {
            const QTableWidgetItem* item = table->item(row, column);
            if (!item || paths.contains(item->toolTip()))
                continue;
            const QRect cell = table->visualRect(table->indexFromItem(item));
            const int width = cell.width() - 2 * margin;
            const QRect needed =
                metrics.boundingRect(QRect(0, 0, width, 1 << 20), Qt::TextWordWrap, item->text());
            if (needed.width() > width || needed.height() > cell.height())
                cut << item->text();
        }
    }
    return cut;
}
