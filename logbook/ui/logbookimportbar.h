#pragma once

#include <QStringList>
#include <QWidget>

class LogbookImporter;
class QFileDialog;
class QLabel;
class QProgressBar;
class QPushButton;
struct ImportReport;
struct ImportedLog;

// Imports logs into the logbook without holding up the window: buttons for
// files and for a card's folder, a progress bar and "Stopp" while it runs,
// and the counts when it is done.
class LogbookImportBar : public QWidget {
    Q_OBJECT

  public:
    LogbookImportBar(const QString& folder, QWidget* parent = nullptr);

    // Imports the logs the paths name (files, folders) with the firmware
    // chosen in the main window; false when an import runs already.
    bool importPaths(const QStringList& paths);
    // The captions in the language (1 English, else German).
    void retranslate(qint32 language);

    LogbookImporter* importer() const { return m_importer; }
    QPushButton* filesButton() const { return m_files; }
    QPushButton* folderButton() const { return m_folder; }
    QPushButton* stopButton() const { return m_stop; }
    QProgressBar* progressBar() const { return m_progress; }
    QLabel* resultLine() const { return m_result; }
    QFileDialog* filesDialog() const { return m_filesDialog; }
    QFileDialog* folderDialog() const { return m_folderDialog; }

  signals:
    // An import ended (done or stopped): the entries are to be read again.
    void imported(const ImportReport& report);

  private:
    void chooseFiles();
    void chooseFolder();
    void showProgress(const ImportedLog& log, int done, int total);
    void showReport(const ImportReport& report);
    void setRunning(bool running);

    LogbookImporter* m_importer;
    QPushButton* m_files;
    QPushButton* m_folder;
    QPushButton* m_stop;
    QProgressBar* m_progress;
    QLabel* m_result;
    QFileDialog* m_filesDialog;
    QFileDialog* m_folderDialog;
};

// "3 hinzugefügt, 1 schon im Flugbuch, 0 übersprungen, 0 fehlgeschlagen".
QString importCountsText(const ImportReport& report);
