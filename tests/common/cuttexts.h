#pragma once

// What of a table does not show whole, for the window tests.
#include <QAbstractButton>
#include <QHeaderView>
#include <QLabel>
#include <QStyle>
#include <QTableWidget>

// The texts of a table that do not show whole: a caption cut short, a
// figure wider than its cell or taller than its row once wrapped at its
// spaces. A log's name may give way in its middle, so it is left out.
inline QStringList cutTexts(QTableWidget* table) {
    QStringList cut;
    QStringList paths;
    for (int column = 0; column < table->columnCount(); ++column) {
        const QTableWidgetItem* heading = table->horizontalHeaderItem(column);
        if (!heading)
            continue;
        if (!heading->toolTip().isEmpty()) {
            paths << heading->toolTip();
            continue;
        }
        // A heading of its own: each of its lines within the column.
        const QHeaderView* header = table->horizontalHeader();
        const int room = header->sectionSize(column) -
                         2 * table->style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, header);
        const QStringList lines = heading->text().split(QLatin1Char('\n'));
        for (const QString& line : lines)
            if (header->fontMetrics().horizontalAdvance(line) > room ||
                header->height() < lines.size() * header->fontMetrics().height())
                cut << line;
    }
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
            if (!item || (!item->toolTip().isEmpty() && paths.contains(item->toolTip())))
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

// The labels and buttons in `root` that do not show whole: narrower than
// their text, a wrapped text taller than the label, or reaching past the
// edge of a widget they stand in.
inline QStringList cutWidgets(QWidget* root) {
    QStringList cut;
    QList<QWidget*> parts = root->findChildren<QWidget*>();
    for (QWidget* part : parts) {
        auto* label = qobject_cast<QLabel*>(part);
        auto* button = qobject_cast<QAbstractButton*>(part);
        if ((!label && !button) || !part->isVisible())
            continue;
        const QString text = label ? label->text() : button->text();
        const bool wraps = label && label->wordWrap();
        if ((!wraps && part->width() < part->sizeHint().width()) ||
            (wraps && part->height() < label->heightForWidth(part->width())))
            cut << text;
        for (QWidget* outer = part->parentWidget(); outer; outer = outer->parentWidget()) {
            if (!outer->rect().contains(QRect(part->mapTo(outer, QPoint(0, 0)), part->size())))
                cut << text;
            if (outer->isWindow())
                break;
        }
    }
    return cut;
}
