#include "logbook/ui/logbookfilterbar.h"

#include "i18n/logbookcaptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

// The model choice's items besides the models: their data tells them apart
// from a model of the same name.
enum ModelItem { AnyModel = 1, WithoutModel, OneModel };

QDateEdit* dateEdit(QWidget* parent, const char* name, const QDate& date) {
    auto* edit = new QDateEdit(date, parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setCalendarPopup(true);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    edit->setEnabled(false);
    return edit;
}

} // namespace

LogbookFilterBar::LogbookFilterBar(QWidget* parent) : QWidget(parent) {
    m_model = new QComboBox(this);
    m_model->setObjectName(QStringLiteral("modelFilter"));
    m_model->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_model->setMinimumContentsLength(14);
    setModels({});

    const QDate today = QDate::currentDate();
    m_fromCheck = new QCheckBox(this);
    m_fromCheck->setObjectName(QStringLiteral("fromCheck"));
    m_from = dateEdit(this, "fromDate", QDate(today.year(), 1, 1));
    m_toCheck = new QCheckBox(this);
    m_toCheck->setObjectName(QStringLiteral("toCheck"));
    m_to = dateEdit(this, "toDate", today);

    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("textFilter"));
    m_text->setClearButtonEnabled(true);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    m_modelLabel = new QLabel(this);
    row->addWidget(m_modelLabel);
    row->addWidget(m_model);
    row->addSpacing(12);
    row->addWidget(m_fromCheck);
    row->addWidget(m_from);
    row->addWidget(m_toCheck);
    row->addWidget(m_to);
    row->addSpacing(12);
    m_textLabel = new QLabel(this);
    row->addWidget(m_textLabel);
    row->addWidget(m_text, 1);

    connect(m_model, &QComboBox::currentIndexChanged, this, &LogbookFilterBar::changed);
    connect(m_fromCheck, &QCheckBox::toggled, m_from, &QWidget::setEnabled);
    connect(m_toCheck, &QCheckBox::toggled, m_to, &QWidget::setEnabled);
    connect(m_fromCheck, &QCheckBox::toggled, this, &LogbookFilterBar::changed);
    connect(m_toCheck, &QCheckBox::toggled, this, &LogbookFilterBar::changed);
    connect(m_from, &QDateEdit::dateChanged, this, [this] {
        if (m_fromCheck->isChecked())
            emit changed();
    });
    connect(m_to, &QDateEdit::dateChanged, this, [this] {
        if (m_toCheck->isChecked())
            emit changed();
    });
    connect(m_text, &QLineEdit::textChanged, this, &LogbookFilterBar::changed);
    retranslate(0);
}

void LogbookFilterBar::retranslate(qint32 language) {
    m_language = language;
    m_modelLabel->setText(logbookText(LogbookText::Model, language));
    m_fromCheck->setText(logbookText(LogbookText::From, language));
    m_toCheck->setText(logbookText(LogbookText::To, language));
    m_textLabel->setText(logbookText(LogbookText::Text, language));
    m_text->setPlaceholderText(logbookText(LogbookText::TextHint, language));
    m_model->setItemText(0, logbookText(LogbookText::AllModels, language));
    m_model->setItemText(m_model->count() - 1, logbookText(LogbookText::WithoutModel, language));
}

void LogbookFilterBar::setModels(const QStringList& models) {
    const int kind = m_model->currentData(Qt::UserRole + 1).toInt();
    const QString chosen = m_model->currentText();
    const QSignalBlocker quiet(m_model);
    m_model->clear();
    m_model->addItem(logbookText(LogbookText::AllModels, m_language));
    m_model->setItemData(0, AnyModel, Qt::UserRole + 1);
    for (const QString& model : models) {
        m_model->addItem(model);
        m_model->setItemData(m_model->count() - 1, OneModel, Qt::UserRole + 1);
    }
    m_model->addItem(logbookText(LogbookText::WithoutModel, m_language));
    m_model->setItemData(m_model->count() - 1, WithoutModel, Qt::UserRole + 1);
    int again = 0;
    for (int i = 0; i < m_model->count(); ++i)
        if (m_model->itemData(i, Qt::UserRole + 1).toInt() == kind &&
            (kind != OneModel || m_model->itemText(i) == chosen))
            again = i;
    m_model->setCurrentIndex(again);
    // A chosen model no longer in use: the table shows all again.
    if (kind == OneModel && again == 0)
        emit changed();
}

LogbookFilter LogbookFilterBar::filter() const {
    LogbookFilter filter;
    switch (m_model->currentData(Qt::UserRole + 1).toInt()) {
    case OneModel:
        filter.model = m_model->currentText();
        break;
    case WithoutModel:
        filter.model = QString();
        break;
    default:
        break;
    }
    if (m_fromCheck->isChecked())
        filter.from = m_from->date();
    if (m_toCheck->isChecked())
        filter.to = m_to->date();
    filter.text = m_text->text().trimmed();
    return filter;
}
