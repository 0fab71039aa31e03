#pragma once

#include "flight/flightlog.h"
#include "flight/flightsummary.h"

#include <QTableWidget>
#include <vector>

// The summaries of the shown logs, one column per log. Where the row captions
// and the figures fit side by side, the captions head the rows; in a narrower
// pane each caption stands in a row of its own above the figures it names, so
// the logs get the whole width. A figure is never shortened: a date wraps at
// its spaces, and only a log's name gives way, in its middle (whole in the
// tooltip). A click on a log's heading asks for that log.
class SummaryTable : public QTableWidget {
    Q_OBJECT

  public:
    // One column per log, headed by the log's name.
    SummaryTable(const std::vector<FlightSummary>& summaries, const std::vector<FlightLog>& logs,
                 QWidget* parent);

    void setLanguage(qint32 language);
    // Captions in rows of their own above the figures.
    bool stacked() const { return m_stacked; }
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;
    // The width at which every log's column shows its widest figure whole,
    // the captions above the figures: less and it scrolls sideways.
    int figuresWidth() const;

  signals:
    void logClicked(size_t log);

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    struct Cell {
        QString text;
        bool number;
    };
    void fill();
    bool fitsSideBySide() const;
    void fitToWidth();
    int textMargin() const;
    int heightFor(int rows) const;

    std::vector<QString> m_names;
    std::vector<std::vector<Cell>> m_cells; // [field][log]
    QStringList m_captions;
    bool m_stacked = false;
};
