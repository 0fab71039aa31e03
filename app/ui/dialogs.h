#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QFileDialog;
class QWidget;

// Every modal box and file dialog of the window goes through this seam, so
// that tests can answer them. Texts use a single CR as line break.
class DialogSeam {
  public:
    virtual ~DialogSeam() = default;
    // A modal box titled "Information" with the single button "OK".
    virtual void information(QWidget* parent, const QString& text) = 0;
    // The top-level error handler's box.
    virtual void error(QWidget* parent, const QString& text) = 0;
    // A box asking yes or no (no is the default); true for yes.
    virtual bool question(QWidget* parent, const QString& text) = 0;
    // Asks for a line of text, offering `suggestions` to choose from; nothing
    // when cancelled.
    virtual std::optional<QString> askText(QWidget* parent, const QString& label,
                                           const QStringList& suggestions) = 0;
    // Runs the dialog; the chosen path, or an empty text when cancelled.
    virtual QString runFileDialog(QFileDialog* dialog) = 0;
    // Runs a dialog that may return several files; empty when cancelled.
    virtual QStringList runFilesDialog(QFileDialog* dialog) {
        const QString path = runFileDialog(dialog);
        return path.isEmpty() ? QStringList() : QStringList{path};
    }
};

// The seam in use; the real message boxes and dialogs unless a test installed
// one. Every file dialog run through it opens in the folder of the file
// chosen last in this run, else in the user's home folder (not the process's
// working folder).
DialogSeam& dialogs();
// Installs a seam (not owned); nullptr restores the real one.
void setDialogs(DialogSeam* seam);
// Forgets the folder chosen last (tests start each case from the home folder).
void forgetDialogFolder();
