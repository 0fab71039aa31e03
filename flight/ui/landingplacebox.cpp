#include "flight/ui/landingplacebox.h"

#include "flight/landingplace.h"
#include "i18n/viewcaptions.h"

#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

LandingPlaceBox::LandingPlaceBox(QWidget* parent)
    : QWidget(parent), m_caption(new QLabel(this)), m_place(new QLabel(this)),
      m_copy(new QToolButton(this)), m_link(new QLabel(this)), m_grid(new QGridLayout(this)),
      m_buttons(new QHBoxLayout) {
    m_place->setObjectName(QStringLiteral("landingPlace"));
    m_copy->setObjectName(QStringLiteral("copyLandingButton"));
    m_link->setObjectName(QStringLiteral("landingLink"));
    m_place->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_link->setOpenExternalLinks(true);
    m_grid->setContentsMargins(0, 0, 0, 0);
    m_buttons->addWidget(m_copy);
    m_buttons->addWidget(m_link);
    m_buttons->addStretch(1);
    placeParts(false);
    connect(m_copy, &QToolButton::clicked, this, [this] {
        if (m_placeValue)
            QGuiApplication::clipboard()->setText(placeText(*m_placeValue));
    });
    refresh();
}

void LandingPlaceBox::setPlace(std::optional<FlightLog::Place> place) {
    m_placeValue = place;
    refresh();
}

void LandingPlaceBox::setLanguage(qint32 language) {
    m_language = language;
    refresh();
}

QString LandingPlaceBox::placeShown() const {
    return m_place->text();
}

void LandingPlaceBox::refresh() {
    m_caption->setText(viewText(ViewText::Landing, m_language) + QLatin1Char(':'));
    m_copy->setText(viewText(ViewText::CopyPlace, m_language));
    setVisible(m_placeValue.has_value());
    if (!m_placeValue) {
        m_place->clear();
        m_link->clear();
        return;
    }
    m_place->setText(placeText(*m_placeValue));
    m_link->setText(
        QStringLiteral("<a href=\"%1\">%2</a>")
            .arg(geoUri(*m_placeValue), viewText(ViewText::OpenPlace, m_language).toHtmlEscaped()));
    if (const bool twoLines = width() < oneLineWidth(); twoLines != m_twoLines)
        placeParts(twoLines);
}

// The place and its two buttons on one line where the box is wide enough,
// else the buttons on a line of their own below the place.
void LandingPlaceBox::placeParts(bool twoLines) {
    m_twoLines = twoLines;
    for (QWidget* part : {static_cast<QWidget*>(m_caption), static_cast<QWidget*>(m_place),
                          static_cast<QWidget*>(m_copy), static_cast<QWidget*>(m_link)})
        m_grid->removeWidget(part);
    m_grid->removeItem(m_buttons);
    m_buttons->setParent(nullptr);
    m_grid->addWidget(m_caption, 0, 0);
    m_grid->addWidget(m_place, 0, 1);
    m_grid->addLayout(m_buttons, twoLines ? 1 : 0, twoLines ? 0 : 2, 1, twoLines ? 3 : 1);
    m_grid->setColumnStretch(2, 1);
}

int LandingPlaceBox::oneLineWidth() const {
    const int spacing = m_grid->horizontalSpacing();
    return m_caption->sizeHint().width() + m_place->sizeHint().width() +
           m_copy->sizeHint().width() + m_link->sizeHint().width() + 3 * spacing;
}

// As narrow as the two lines allow, so the box never widens the column.
QSize LandingPlaceBox::minimumSizeHint() const {
    const int spacing = m_grid->horizontalSpacing();
    const int place = m_caption->sizeHint().width() + spacing + m_place->sizeHint().width();
    const int buttons = m_copy->sizeHint().width() + spacing + m_link->sizeHint().width();
    return {std::max(place, buttons), QWidget::minimumSizeHint().height()};
}

void LandingPlaceBox::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const bool twoLines = width() < oneLineWidth();
    if (twoLines != m_twoLines)
        placeParts(twoLines);
}
