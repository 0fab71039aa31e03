#include "app/ui/dialogs.h"

#include <QFileDialog>
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
    QStringList runFilesDialog(QFileDialog* dialog) override {
        return dialog->exec() == QDialog::Accepted ? dialog->selectedFiles() : QStringList();
    }
};

PlatformDialogs platform;
DialogSeam* current = &platform;

} // namespace

DialogSeam& dialogs() {
    return *current;
}

void setDialogs(DialogSeam* seam) {
    current = seam ? seam : &platform;
}
