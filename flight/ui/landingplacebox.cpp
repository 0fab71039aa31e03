#include "flight/ui/landingplacebox.h"

#include "flight/landingplace.h"
#include "i18n/viewcaptions.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QToolButton>

LandingPlaceBox::LandingPlaceBox(QWidget* parent)
    : QWidget(parent), m_caption(new QLabel(this)), m_place(new QLabel(this)),
      m_copy(new QToolButton(this)), m_link(new QLabel(this)) {
    m_place->setObjectName(QStringLiteral("landingPlace"));
    m_copy->setObjectName(QStringLiteral("copyLandingButton"));
    m_link->setObjectName(QStringLiteral("landingLink"));
    m_place->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_link->setOpenExternalLinks(true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    for (QWidget* part : {static_cast<QWidget*>(m_caption), static_cast<QWidget*>(m_place),
                          static_cast<QWidget*>(m_copy), static_cast<QWidget*>(m_link)})
        row->addWidget(part);
    row->addStretch(1);
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
}
