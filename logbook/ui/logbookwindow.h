#pragma once

#include "core/programstate.h"
#include "core/result.h"

#include <QStringList>
#include <QWidget>
#include <memory>

class Logbook;
class LogbookFilterBar;
class LogbookImportBar;
class LogbookTableModel;
class LogbookTotalsView;
class QLabel;
class QMimeData;
class QPushButton;
class QSplitter;
class QTableView;

// The pilot's logbook in a window of its own: the entries in a sortable
// table with a filter bar, the totals of what the filter shows, the import
// of logs (buttons, or dropping a card's folder or logs onto the window),
// editing of model, site and note, removal, and the opening of entries in
// the flight view, which it leaves to whoever opened it (openRequested).
class LogbookWindow : public QWidget {
    Q_OBJECT

  public:
    // Opens the logbook of the folder in a window over the parent; a logbook
    // that cannot be opened is reported through the dialog seam (nullptr).
    static LogbookWindow* openOn(QWidget* parent, const QString& folder);
    ~LogbookWindow() override;

    Logbook& logbook() const { return *m_logbook; }
    LogbookTableModel* model() const { return m_model; }
    QTableView* table() const { return m_table; }
    LogbookFilterBar* filterBar() const { return m_filter; }
    LogbookTotalsView* totals() const { return m_totals; }
    LogbookImportBar* importBar() const { return m_import; }
    QPushButton* openButton() const { return m_open; }
    QPushButton* setModelButton() const { return m_setModel; }
    QPushButton* removeButton() const { return m_remove; }

    // Reads the entries again from the logbook.
    void reload();
    // The entries of the selected rows.
    QList<qint64> selectedIds() const;
    void openSelected();
    void setModelOfSelected();
    void removeSelected();

  signals:
    // Copies of logs to show overlaid in one flight view, read as `firmware`.
    // The copies' paths and, one each, the names the entries were imported under.
    void openRequested(const QStringList& logs, const FirmwareVariant& firmware,
                       const QStringList& names);

  protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    LogbookWindow(QWidget* parent, std::unique_ptr<Logbook> logbook);
    void buildWindow();
    void openRows(const QList<int>& rows);
    void filterChanged();
    void showTotals();
    void retranslate();
    void showFailure(const Failure& failure);
    void updateButtons();

    std::unique_ptr<Logbook> m_logbook;
    LogbookTableModel* m_model = nullptr;
    QTableView* m_table = nullptr;
    LogbookFilterBar* m_filter = nullptr;
    LogbookTotalsView* m_totals = nullptr;
    LogbookImportBar* m_import = nullptr;
    QSplitter* m_split = nullptr;
    QLabel* m_count = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_setModel = nullptr;
    QPushButton* m_remove = nullptr;
    bool m_fitted = false;
    qint64 m_othersChanges = 0; // as at the last reload
};

// The local files and folders among dropped items.
QStringList droppedPaths(const QMimeData* data);
