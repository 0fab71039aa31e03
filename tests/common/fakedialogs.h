#pragma once

#include "app/ui/dialogs.h"

#include <QFileDialog>
#include <QStringList>

// Answers the window's dialogs from a script and records every box shown.
// Installs itself for its lifetime.
class FakeDialogs final : public DialogSeam {
  public:
    FakeDialogs() { setDialogs(this); }
    ~FakeDialogs() override { setDialogs(nullptr); }

    QStringList infos;         // texts of "Information" boxes, in order
    QStringList errors;        // texts of error boxes, in order
    QStringList questions;     // texts of yes/no boxes, in order
    QList<bool> answers;       // next answers of yes/no boxes; none left = no
    QStringList textAnswers;   // next answers of text questions; none left = cancel
    QStringList textLabels;    // what each text question asked
    QStringList fileAnswers;   // next answers of file dialogs; empty text = cancel
    QStringList dialogsRun;    // object names of the file dialogs run
    QStringList selectedNames; // file name preset in each dialog when it ran
    QStringList startFolders;  // folder each dialog opened in

    QList<QWidget*> boxParents; // the window each box stood over, in order

    void information(QWidget* parent, const QString& text) override {
        infos << text;
        boxParents << parent;
    }
    void error(QWidget* parent, const QString& text) override {
        errors << text;
        boxParents << parent;
    }
    bool question(QWidget* parent, const QString& text) override {
        questions << text;
        boxParents << parent;
        return !answers.isEmpty() && answers.takeFirst();
    }
    std::optional<QString> askText(QWidget* parent, const QString& label,
                                   const QStringList&) override {
        textLabels << label;
        boxParents << parent;
        if (textAnswers.isEmpty())
            return std::nullopt;
        return textAnswers.takeFirst();
    }
    QString runFileDialog(QFileDialog* dialog) override {
        dialogsRun << dialog->objectName();
        selectedNames << dialog->property("fileName").toString();
        startFolders << dialog->directory().absolutePath();
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
    // One answer holds the chosen paths one per line.
    QStringList runFilesDialog(QFileDialog* dialog) override {
        const QString answer = runFileDialog(dialog);
        return answer.isEmpty() ? QStringList() : answer.split(QLatin1Char('\n'));
    }
};
