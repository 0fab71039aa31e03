#pragma once

#include "flight/flightlog.h"

#include <QWidget>
#include <optional>

class QGridLayout;
class QHBoxLayout;
class QLabel;
class QToolButton;

// The landing place under the summary: its decimal degrees (selectable), a
// button that copies them and a geo: link a map app opens, the two below the
// place where the box is narrow. Hidden for a log without a position.
class LandingPlaceBox : public QWidget {
    Q_OBJECT

  public:
    explicit LandingPlaceBox(QWidget* parent = nullptr);

    void setPlace(std::optional<FlightLog::Place> place);
    void setLanguage(qint32 language);

    QToolButton* copyButton() const { return m_copy; }
    QLabel* link() const { return m_link; }
    QString placeShown() const;
    QSize minimumSizeHint() const override;

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    void refresh();
    void placeParts(bool twoLines);
    int oneLineWidth() const;

    std::optional<FlightLog::Place> m_placeValue;
    qint32 m_language = 0;
    QLabel* m_caption;
    QLabel* m_place;
    QToolButton* m_copy;
    QLabel* m_link;
    QGridLayout* m_grid;
    QHBoxLayout* m_buttons;
    bool m_twoLines = false;
};
