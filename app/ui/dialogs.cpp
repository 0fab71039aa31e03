#include "app/ui/dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
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
    bool question(QWidget* parent, const QString& text) override {
        return QMessageBox::question(parent, QStringLiteral("AltorinTool"), forDisplay(text),
                                     QMessageBox::Yes | QMessageBox::No,
                                     QMessageBox::No) == QMessageBox::Yes;
    }
    std::optional<QString> askText(QWidget* parent, const QString& label,
                                   const QStringList& suggestions) override {
        bool ok = false;
        const QString text = QInputDialog::getItem(parent, QStringLiteral("AltorinTool"), label,
                                                   suggestions, -1, true, &ok);
        return ok ? std::optional<QString>(text) : std::nullopt;
    }
    QString runFileDialog(QFileDialog* dialog) override {
        if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
            return {};
        return dialog->selectedFiles().constFirst();
    }
    QStringList runFilesDialog(QFileDialog* dialog) override {
        return dialog->exec() == QDialog::Accepted ? dialog->selectedFiles() : QStringList();
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
    bool question(QWidget* parent, const QString& text) override {
        return current->question(parent, text);
    }
    std::optional<QString> askText(QWidget* parent, const QString& label,
                                   const QStringList& suggestions) override {
        return current->askText(parent, label, suggestions);
    }
    QString runFileDialog(QFileDialog* dialog) override {
        startIn(dialog);
        const QString path = current->runFileDialog(dialog);
        remember(path);
        return path;
    }
    QStringList runFilesDialog(QFileDialog* dialog) override {
        startIn(dialog);
        const QStringList paths = current->runFilesDialog(dialog);
        if (!paths.isEmpty())
            remember(paths.constFirst());
        return paths;
    }
    void forget() { m_folder.clear(); }

  private:
    void startIn(QFileDialog* dialog) const {
        // A card taken out since then leaves its folder behind.
        const bool known = !m_folder.isEmpty() && QFileInfo(m_folder).isDir();
        dialog->setDirectory(known ? m_folder : QDir::homePath());
    }
    void remember(const QString& path) {
        if (!path.isEmpty())
            m_folder = QFileInfo(path).absolutePath();
    }

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
