#pragma once

#include "logbook/logbookentry.h"

#include <QWidget>
#include <vector>

class QComboBox;
class QLabel;
class QTableWidget;

// The totals of the entries the table shows, per model, month or year (a
// choice), and their sum in the last row.
class LogbookTotalsView : public QWidget {
    Q_OBJECT

  public:
    explicit LogbookTotalsView(QWidget* parent = nullptr);

    void showTotals(const std::vector<LogbookEntry>& entries);
    // The captions in the language (1 English, else German); the totals are
    // then to be shown again.
    void retranslate(qint32 language);

    QComboBox* groupingChoice() const { return m_grouping; }
    QTableWidget* table() const { return m_table; }

  signals:
    // Another grouping was chosen: the totals are to be shown again.
    void groupingChanged();

  private:
    QLabel* m_heading;
    qint32 m_language = 0;
    QComboBox* m_grouping;
    QTableWidget* m_table;
};
