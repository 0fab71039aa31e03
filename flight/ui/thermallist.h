#pragma once

#include <QWidget>
#include <cstddef>

struct FlightSummary;
class QLabel;
class QTableWidget;

// The thermals of a flight: a note saying what they were found from, and one
// row per thermal (start, duration, height gained, average climb, drift), the
// best one in bold. A click on a row asks for that thermal.
class ThermalList : public QWidget {
    Q_OBJECT

  public:
    explicit ThermalList(QWidget* parent = nullptr);

    // The flight's summary (not owned; nullptr: none).
    void setFlight(const FlightSummary* summary);
    void setLanguage(qint32 language);

    QTableWidget* table() const { return m_table; }
    QString note() const;
    QSize sizeHint() const override;

  signals:
    void thermalChosen(size_t thermal);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void fill();
    void fitColumns();

    const FlightSummary* m_summary = nullptr;
    qint32 m_language = 0;
    QLabel* m_note;
    QTableWidget* m_table;
};
