#pragma once

#include <QWidget>

class LandingPlaceBox;
class QTabWidget;
class QVBoxLayout;

// The flight view's side column: the track on top, below it the summaries,
// the thermal list and the landing place, and the note on skipped lines at
// the foot. Where the column is too short for the three one below the other
// at their least, they share one place as tabs, so each shows whole; where
// it is tall enough they stand one below the other again.
class SideColumn : public QWidget {
    Q_OBJECT

  public:
    SideColumn(QWidget* track, QWidget* summary, QWidget* thermals, LandingPlaceBox* landing,
               QWidget* note, QWidget* parent = nullptr);

    bool tabbed() const { return m_tabbed; }
    QTabWidget* tabs() const { return m_tabs; }
    void setLanguage(qint32 language);
    // The shown log changed: the parts' heights and the landing place with it.
    void partsChanged();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    int stackedHeight() const;
    void arrange(bool tabbed);

    QWidget* m_track;
    QWidget* m_summary;
    QWidget* m_thermals;
    LandingPlaceBox* m_landing;
    QWidget* m_note;
    QWidget* m_landingPage;
    QTabWidget* m_tabs;
    QVBoxLayout* m_column;
    qint32 m_language = 0;
    bool m_tabbed = false;
    int m_chosenTab = 0; // kept while the parts stand one below the other
};
