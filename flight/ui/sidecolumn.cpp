#include "flight/ui/sidecolumn.h"

#include "flight/ui/landingplacebox.h"
#include "i18n/viewcaptions.h"

#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// The least height the track keeps above the parts standing one below the
// other, in lines of text: less, and it is too small to read a thermal in.
constexpr int TrackLines = 14;

// The share of the column the tabs take (%), unless they need more.
constexpr int TabsPercent = 45;

enum Tab { SummaryTab, ThermalTab, LandingTab };

} // namespace

SideColumn::SideColumn(QWidget* track, QWidget* summary, QWidget* thermals,
                       LandingPlaceBox* landing, QWidget* note, QWidget* parent)
    : QWidget(parent), m_track(track), m_summary(summary), m_thermals(thermals), m_landing(landing),
      m_note(note), m_landingPage(new QWidget(this)), m_tabs(new QTabWidget(this)),
      m_column(new QVBoxLayout(this)) {
    m_tabs->setObjectName(QStringLiteral("sideTabs"));
    m_tabs->setDocumentMode(true);
    m_landingPage->setObjectName(QStringLiteral("landingPage"));
    auto* page = new QVBoxLayout(m_landingPage);
    page->addStretch(1);
    m_column->setContentsMargins(0, 0, 0, 0);
    m_column->addWidget(m_track, 3);
    m_column->addWidget(m_summary, 2);
    m_column->addWidget(m_landing);
    m_column->addWidget(m_thermals, 1);
    m_column->addWidget(m_tabs, 1);
    m_column->addWidget(m_note);
    m_tabs->hide();
}

void SideColumn::setLanguage(qint32 language) {
    m_language = language;
    if (!m_tabbed)
        return;
    m_tabs->setTabText(SummaryTab, viewText(ViewText::SummaryTab, language));
    m_tabs->setTabText(ThermalTab, viewText(ViewText::ThermalTab, language));
    m_tabs->setTabText(LandingTab, viewText(ViewText::Landing, language));
}

void SideColumn::partsChanged() {
    if (m_tabbed)
        m_tabs->setTabVisible(LandingTab, !m_landing->isHidden());
    // Before the window shows, the column has no height of its own yet.
    if (isVisible())
        arrange(height() < stackedHeight());
}

// The track at its least, the summaries at theirs, the whole thermal list,
// the landing place and the note.
int SideColumn::stackedHeight() const {
    const int spacing = m_column->spacing();
    int height = fontMetrics().height() * TrackLines + m_summary->minimumSizeHint().height() +
                 m_thermals->sizeHint().height() + 2 * spacing;
    for (QWidget* part : {static_cast<QWidget*>(m_landing), m_note})
        if (!part->isHidden())
            height += part->sizeHint().height() + spacing;
    return height;
}

void SideColumn::arrange(bool tabbed) {
    if (tabbed == m_tabbed)
        return;
    m_tabbed = tabbed;
    // A widget taken to another parent is hidden: the box keeps its own choice.
    const bool landingShown = !m_landing->isHidden();
    if (tabbed) {
        for (QWidget* part : {m_summary, m_thermals, static_cast<QWidget*>(m_landing)})
            m_column->removeWidget(part);
        static_cast<QVBoxLayout*>(m_landingPage->layout())->insertWidget(0, m_landing);
        m_tabs->addTab(m_summary, QString());
        m_tabs->addTab(m_thermals, QString());
        m_tabs->addTab(m_landingPage, QString());
        m_tabs->setTabVisible(LandingTab, landingShown);
        m_tabs->setCurrentIndex(m_tabs->isTabVisible(m_chosenTab) ? m_chosenTab : SummaryTab);
        setLanguage(m_language);
        m_tabs->show();
    } else {
        m_chosenTab = m_tabs->currentIndex();
        m_tabs->hide();
        m_tabs->clear();
        m_landingPage->setParent(this);
        m_landingPage->hide();
        const int at = m_column->indexOf(m_track) + 1;
        m_column->insertWidget(at, m_summary, 2);
        m_column->insertWidget(at + 1, m_landing);
        m_column->insertWidget(at + 2, m_thermals, 1);
        m_summary->show();
        m_thermals->show();
    }
    m_landing->setVisible(landingShown);
}

void SideColumn::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    arrange(height() < stackedHeight());
    // The tabs' share stays put whichever tab is chosen, so the track does
    // not jump; the track gets the rest.
    m_tabs->setFixedHeight(
        std::max(m_tabs->minimumSizeHint().height(), height() * TabsPercent / 100));
}
