#include "logbook/ui/logbookimportbar.h"

#include "app/ui/dialogs.h"
#include "core/programstate.h"
#include "i18n/logbookcaptions.h"
#include "logbook/logbookimporter.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

QFileDialog* openDialog(QWidget* parent, const char* name, QFileDialog::FileMode mode) {
    auto* dialog = new QFileDialog(parent);
    dialog->setObjectName(QString::fromLatin1(name));
    dialog->setAcceptMode(QFileDialog::AcceptOpen);
    dialog->setFileMode(mode);
    if (mode == QFileDialog::Directory)
        dialog->setOption(QFileDialog::ShowDirsOnly);
    else
        dialog->setNameFilters(
            {QStringLiteral("Altorin-Logs (*.csv *.CSV)"), QStringLiteral("Alle Dateien (*)")});
    return dialog;
}

} // namespace

QString importCountsText(const ImportReport& report) {
    return QStringLiteral("%1 %2, %3 %4, %5 %6, %7 %8")
        .arg(report.added)
        .arg(importOutcomeText(ImportOutcome::Added))
        .arg(report.alreadyThere)
        .arg(importOutcomeText(ImportOutcome::AlreadyThere))
        .arg(report.skipped)
        .arg(importOutcomeText(ImportOutcome::Skipped))
        .arg(report.failed)
        .arg(importOutcomeText(ImportOutcome::Failed));
}

LogbookImportBar::LogbookImportBar(const QString& folder, QWidget* parent)
    : QWidget(parent), m_importer(new LogbookImporter(folder, this)) {
    m_files = new QPushButton(this);
    m_files->setObjectName(QStringLiteral("importFilesButton"));
    m_folder = new QPushButton(this);
    m_folder->setObjectName(QStringLiteral("importFolderButton"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("importProgress"));
    m_progress->setTextVisible(true);
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_progress->hide();
    m_stop = new QPushButton(this);
    m_stop->setObjectName(QStringLiteral("stopButton"));
    m_stop->setEnabled(false);
    m_result = new QLabel(this);
    m_result->setObjectName(QStringLiteral("importResult"));
    m_result->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_filesDialog = openDialog(this, "ImportFilesDialog", QFileDialog::ExistingFiles);
    m_folderDialog = openDialog(this, "ImportFolderDialog", QFileDialog::Directory);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_files);
    row->addWidget(m_folder);
    row->addWidget(m_progress, 1);
    row->addWidget(m_stop);
    row->addWidget(m_result, 2);

    connect(m_files, &QPushButton::clicked, this, &LogbookImportBar::chooseFiles);
    connect(m_folder, &QPushButton::clicked, this, &LogbookImportBar::chooseFolder);
    connect(m_stop, &QPushButton::clicked, m_importer, &LogbookImporter::stop);
    connect(m_importer, &LogbookImporter::progress, this, &LogbookImportBar::showProgress);
    connect(m_importer, &LogbookImporter::finished, this, &LogbookImportBar::showReport);
    retranslate(0);
}

void LogbookImportBar::retranslate(qint32 language) {
    m_files->setText(logbookText(LogbookText::ImportFiles, language));
    m_folder->setText(logbookText(LogbookText::ImportFolder, language));
    m_stop->setText(logbookText(LogbookText::Stop, language));
    m_progress->setFormat(logbookText(LogbookText::Progress, language));
}

bool LogbookImportBar::importPaths(const QStringList& paths) {
    if (paths.isEmpty())
        return false;
    ImportOptions options;
    options.firmware = importChoiceFor(programState().firmware);
    if (!m_importer->start(paths, options)) {
        dialogs().information(window(), QStringLiteral("Es läuft schon ein Import."));
        return false;
    }
    m_result->setText(QStringLiteral("Import läuft …"));
    m_progress->setRange(0, 0); // the number of logs is known with the first
    setRunning(true);
    return true;
}

void LogbookImportBar::chooseFiles() {
    importPaths(dialogs().runFilesDialog(m_filesDialog));
}

void LogbookImportBar::chooseFolder() {
    const QString folder = dialogs().runFileDialog(m_folderDialog);
    if (!folder.isEmpty())
        importPaths({folder});
}

void LogbookImportBar::showProgress(const ImportedLog& log, int done, int total) {
    m_progress->setRange(0, total);
    m_progress->setValue(done);
    m_result->setText(QStringLiteral("%1: %2").arg(QFileInfo(log.path).fileName(),
                                                   importOutcomeText(log.outcome)));
}

void LogbookImportBar::showReport(const ImportReport& report) {
    setRunning(false);
    QString line = importCountsText(report);
    if (report.stopped)
        line = QStringLiteral("Gestoppt: ") + line;
    m_result->setText(line);
    QStringList failures;
    for (const ImportedLog& log : report.logs)
        if (log.outcome == ImportOutcome::Failed)
            failures << QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(log.path),
                                                     log.reason);
    m_result->setToolTip(failures.join(QLatin1Char('\n')));
    emit imported(report);
    if (!failures.isEmpty())
        dialogs().error(window(), line + QStringLiteral("\r\r") + failures.join(QLatin1Char('\r')));
}

void LogbookImportBar::setRunning(bool running) {
    m_files->setEnabled(!running);
    m_folder->setEnabled(!running);
    m_stop->setEnabled(running);
    m_progress->setVisible(running);
}
