#include "app/ui/dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

namespace {

// Message texts break lines with a lone CR; the toolkit's label wants LF.
QString forDisplay(QString text) {
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

class PlatformDialogs final : public DialogSeam {
  public:
    void information(QWidget* parent, const QString& text) override {
        QMessageBox::information(parent, QStringLiteral("Information"), forDisplay(text));
    }
    void error(QWidget* parent, const QString& text) override {
        QMessageBox::critical(parent, QStringLiteral("AltorinTool"), forDisplay(text));
    }
    QString runFileDialog(QFileDialog* dialog) override {
        if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
            return {};
        return dialog->selectedFiles().constFirst();
    }
};

PlatformDialogs platform;
DialogSeam* current = &platform;

// Runs the file dialogs of the seam in use from the folder chosen last.
class StartFolders final : public DialogSeam {
  public:
    void information(QWidget* parent, const QString& text) override {
        current->information(parent, text);
    }
    void error(QWidget* parent, const QString& text) override { current->error(parent, text); }
    QString runFileDialog(QFileDialog* dialog) override {
        // A card taken out since then leaves its folder behind.
        const bool known = !m_folder.isEmpty() && QFileInfo(m_folder).isDir();
        dialog->setDirectory(known ? m_folder : QDir::homePath());
        const QString path = current->runFileDialog(dialog);
        if (!path.isEmpty())
            m_folder = QFileInfo(path).absolutePath();
        return path;
    }
    void forget() { m_folder.clear(); }

  private:
    QString m_folder;
};

StartFolders startFolders;

} // namespace

DialogSeam& dialogs() {
    return startFolders;
}

void forgetDialogFolder() {
    startFolders.forget();
}

void setDialogs(DialogSeam* seam) {
    current = seam ? seam : &platform;
}
