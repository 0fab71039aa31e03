#pragma once

#include "logbook/logbookentry.h"

#include <QWidget>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;

// The logbook window's filter: a model (all, one, or those without one), a
// date range (each end optional, both included) and a text in the site or
// the note.
class LogbookFilterBar : public QWidget {
    Q_OBJECT

  public:
    explicit LogbookFilterBar(QWidget* parent = nullptr);

    LogbookFilter filter() const;
    // The models to choose from; the chosen one stays chosen while it is in use.
    void setModels(const QStringList& models);
    // The captions in the language (1 English, else German).
    void retranslate(qint32 language);

    QComboBox* modelChoice() const { return m_model; }
    QCheckBox* fromCheck() const { return m_fromCheck; }
    QDateEdit* fromDate() const { return m_from; }
    QCheckBox* toCheck() const { return m_toCheck; }
    QDateEdit* toDate() const { return m_to; }
    QLineEdit* textEdit() const { return m_text; }

  signals:
    void changed();

  private:
    QLabel* m_modelLabel;
    QLabel* m_textLabel;
    qint32 m_language = 0;
    QComboBox* m_model;
    QCheckBox* m_fromCheck;
    QDateEdit* m_from;
    QCheckBox* m_toCheck;
    QDateEdit* m_to;
    QLineEdit* m_text;
};
