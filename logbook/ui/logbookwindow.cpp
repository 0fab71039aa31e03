#include "logbook/ui/logbookwindow.h"

#include "app/ui/dialogs.h"
#include "app/ui/screenfit.h"
#include "i18n/logbookcaptions.h"
#include "logbook/logbook.h"
#include "logbook/ui/logbookfilterbar.h"
#include "logbook/ui/logbookimportbar.h"
#include "logbook/ui/logbooktablemodel.h"
#include "logbook/ui/logbooktotalsview.h"

#include <QCompleter>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The model column's editor offers the models in use.
class ModelDelegate final : public QStyledItemDelegate {
  public:
    ModelDelegate(const LogbookTableModel* entries, QObject* parent)
        : QStyledItemDelegate(parent), m_entries(entries) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            auto* completer = new QCompleter(m_entries->models(), line);
            completer->setCaseSensitivity(Qt::CaseInsensitive);
            line->setCompleter(completer);
            // Enter on an offered model stores it at once, as Enter does on
            // typed text; the popup would otherwise take that Enter for itself.
            auto* self = const_cast<ModelDelegate*>(this);
            connect(
                completer, qOverload<const QString&>(&QCompleter::activated), line,
                [self, line](const QString& chosen) {
                    line->setText(chosen);
                    emit self->commitData(line);
                    emit self->closeEditor(line);
                },
                Qt::QueuedConnection);
        }
        return editor;
    }

  private:
    const LogbookTableModel* m_entries;
};

QPushButton* button(QWidget* parent, const char* name) {
    auto* b = new QPushButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

} // namespace

QStringList droppedPaths(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    return paths;
}

LogbookWindow* LogbookWindow::openOn(QWidget* parent, const QString& folder) {
    auto logbook = Logbook::open(folder);
    if (!logbook) {
        dialogs().error(parent, logbook.failure().message);
        return nullptr;
    }
    auto* window = new LogbookWindow(parent, std::move(*logbook));
    window->reload();
    window->show();
    return window;
}

LogbookWindow::LogbookWindow(QWidget* parent, std::unique_ptr<Logbook> logbook)
    : QWidget(parent, Qt::Window), m_logbook(std::move(logbook)) {
    setObjectName(QStringLiteral("LogbookWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAcceptDrops(true);
    buildWindow();
    retranslate();
}

// The table goes first: an edit still open is stored while the logbook is.
LogbookWindow::~LogbookWindow() {
    delete m_table;
}

void LogbookWindow::buildWindow() {
    m_import = new LogbookImportBar(m_logbook->folder(), this);
    m_filter = new LogbookFilterBar(this);

    m_model = new LogbookTableModel(this);
    m_model->setStore([this](const QList<qint64>& ids, const EntryChanges& changes) {
        return m_logbook->update(ids, changes);
    });
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("entryTable"));
    m_table->setModel(m_model);
    m_table->setSortingEnabled(true);
    m_table->sortByColumn(LogbookTableModel::Date, Qt::DescendingOrder);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // A double click opens the flight; a click on a selected cell or F2 edits.
    m_table->setEditTriggers(QAbstractItemView::SelectedClicked |
                             QAbstractItemView::EditKeyPressed);
    m_table->setItemDelegateForColumn(LogbookTableModel::Model, new ModelDelegate(m_model, this));
    m_table->setAlternatingRowColors(true);
    m_table->setContextMenuPolicy(Qt::CustomContextMenu);
    m_table->verticalHeader()->hide();
    // Fixed row heights and column widths: 10,000 rows show without measuring each.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    const int widths[] = {120, 120, 0, 0, 0, 110, 150};
    QHeaderView* header = m_table->horizontalHeader();
    for (int column = 0; column < int(std::size(widths)); ++column)
        m_table->setColumnWidth(column, std::max(widths[column], header->sectionSizeHint(column)));
    m_table->horizontalHeader()->setStretchLastSection(true);

    m_totals = new LogbookTotalsView(this);
    m_split = new QSplitter(Qt::Vertical, this);
    m_split->addWidget(m_table);
    m_split->addWidget(m_totals);
    m_split->setStretchFactor(0, 2);
    m_split->setStretchFactor(1, 1);

    m_open = button(this, "openButton");
    m_setModel = button(this, "setModelButton");
    m_remove = button(this, "removeButton");
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("entryCount"));
    auto* actions = new QHBoxLayout;
    actions->addWidget(m_open);
    actions->addWidget(m_setModel);
    actions->addWidget(m_remove);
    actions->addStretch(1);
    actions->addWidget(m_count);

    auto* column = new QVBoxLayout(this);
    column->addWidget(m_import);
    column->addWidget(m_filter);
    column->addWidget(m_split, 1);
    column->addLayout(actions);

    connect(m_filter, &LogbookFilterBar::changed, this, &LogbookWindow::filterChanged);
    connect(m_totals, &LogbookTotalsView::groupingChanged, this, &LogbookWindow::showTotals);
    connect(m_import, &LogbookImportBar::imported, this, &LogbookWindow::reload);
    // A change that could not be stored (the entry removed meanwhile by the
    // command line) is reported, and the table shows the logbook as it is.
    connect(m_model, &LogbookTableModel::failed, this, &LogbookWindow::showFailure);
    connect(m_model, &LogbookTableModel::failed, this, &LogbookWindow::reload,
            Qt::QueuedConnection);
    connect(m_model, &LogbookTableModel::entriesChanged, this, [this] {
        m_filter->setModels(m_model->models());
        showTotals();
    });
    connect(m_table, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { openRows({index.row()}); });
    connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &LogbookWindow::updateButtons);
    connect(m_open, &QPushButton::clicked, this, &LogbookWindow::openSelected);
    connect(m_setModel, &QPushButton::clicked, this, &LogbookWindow::setModelOfSelected);
    connect(m_remove, &QPushButton::clicked, this, &LogbookWindow::removeSelected);
    connect(m_table, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        QMenu menu(this);
        menu.addAction(m_open->text(), this, &LogbookWindow::openSelected);
        menu.addAction(m_setModel->text(), this, &LogbookWindow::setModelOfSelected);
        menu.addAction(m_remove->text(), this, &LogbookWindow::removeSelected);
        menu.setEnabled(!selectedIds().isEmpty());
        menu.exec(m_table->viewport()->mapToGlobal(at));
    });
    updateButtons();
}

void LogbookWindow::reload() {
    if (auto changes = m_logbook->othersChanges())
        m_othersChanges = *changes;
    auto entries = m_logbook->entries();
    if (!entries) {
        showFailure(entries.failure());
        return;
    }
    m_model->setEntries(std::move(*entries));
    // A model that is gone from the choice takes the filter back to all.
    const QSignalBlocker quiet(m_filter);
    m_filter->setModels(m_model->models());
    m_model->setFilter(m_filter->filter());
    showTotals();
}

void LogbookWindow::filterChanged() {
    m_model->setFilter(m_filter->filter());
    showTotals();
}

void LogbookWindow::showTotals() {
    m_totals->showTotals(m_model->shownEntries());
    m_count->setText(
        logbookText(LogbookText::Shown, programState().language).arg(m_model->rowCount()));
    updateButtons();
}

void LogbookWindow::updateButtons() {
    const bool any = m_table->selectionModel()->hasSelection();
    m_open->setEnabled(any);
    m_setModel->setEnabled(any);
    m_remove->setEnabled(any);
}

QList<qint64> LogbookWindow::selectedIds() const {
    QList<qint64> ids;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows())
        ids << m_model->entryAt(index.row()).id;
    return ids;
}

void LogbookWindow::openSelected() {
    QList<int> rows;
    for (const QModelIndex& index : m_table->selectionModel()->selectedRows())
        rows << index.row();
    std::sort(rows.begin(), rows.end());
    openRows(rows);
}

void LogbookWindow::openRows(const QList<int>& rows) {
    // Entries are shown overlaid in one view per firmware variant: the 500's
    // and the Duo's logs share a layout, so a view reads all its logs as one.
    struct View {
        FirmwareVariant firmware;
        QStringList logs, names;
    };
    std::vector<View> views;
    for (const int row : rows) {
        const LogbookEntry& entry = m_model->entryAt(row);
        auto view = std::find_if(views.begin(), views.end(),
                                 [&](const View& v) { return v.firmware == entry.firmware; });
        if (view == views.end())
            view = views.insert(views.end(), {entry.firmware, {}, {}});
        view->logs << m_logbook->copyPath(entry);
        view->names << entry.fileName;
    }
    for (const View& view : views)
        emit openRequested(view.logs, view.firmware, view.names);
}

void LogbookWindow::setModelOfSelected() {
    const QList<qint64> ids = selectedIds();
    if (ids.isEmpty())
        return;
    const auto model =
        dialogs().askText(this, QStringLiteral("Modell der %1 gewählten Einträge:").arg(ids.size()),
                          m_model->models());
    if (!model)
        return;
    EntryChanges changes;
    changes.model = model->trimmed();
    if (auto failure = m_model->change(ids, changes)) {
        showFailure(*failure);
        reload();
    }
}

void LogbookWindow::removeSelected() {
    const QList<qint64> ids = selectedIds();
    if (ids.isEmpty())
        return;
    const QString question =
        ids.size() == 1 ? QStringLiteral("1 Eintrag und seine Kopie entfernen?")
                        : QStringLiteral("%1 Einträge und ihre Kopien entfernen?").arg(ids.size());
    if (!dialogs().question(this, question))
        return;
    if (auto failure = m_logbook->remove(ids))
        showFailure(*failure);
    reload();
}

void LogbookWindow::showFailure(const Failure& failure) {
    dialogs().error(this, failure.message);
}

void LogbookWindow::retranslate() {
    const qint32 language = programState().language;
    setWindowTitle(logbookText(LogbookText::Title, language)
                       .arg(QDir::toNativeSeparators(m_logbook->folder())));
    m_import->retranslate(language);
    m_filter->retranslate(language);
    m_model->setLanguage(language);
    m_totals->retranslate(language);
    m_open->setText(logbookText(LogbookText::Open, language));
    m_setModel->setText(logbookText(LogbookText::SetModel, language));
    m_remove->setText(logbookText(LogbookText::Remove, language));
    showTotals();
}

// Back from the command line (or another window): what it changed is shown.
bool LogbookWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        // Not under an open editor: its row would go; the next return reloads.
        const bool editing = m_table->viewport()->findChild<QWidget*>(
                                 QString(), Qt::FindDirectChildrenOnly) != nullptr;
        const auto changes = m_logbook->othersChanges();
        if (changes && *changes != m_othersChanges && !editing)
            reload();
    }
    return QWidget::event(event);
}

// The main window tells its own windows when the language changes.
void LogbookWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslate();
}

void LogbookWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (m_fitted)
        return;
    m_fitted = true;
    const QRect area = screen()->availableGeometry();
    resize(QSize(1150, 720).boundedTo(area.size() - QSize(16, 40)));
    fitIntoScreen(this);
    // The entries take two thirds, the totals the rest.
    const int height = m_split->height();
    m_split->setSizes({height * 2 / 3, height - height * 2 / 3});
}

void LogbookWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedPaths(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void LogbookWindow::dropEvent(QDropEvent* event) {
    const QStringList paths = droppedPaths(event->mimeData());
    if (paths.isEmpty())
        return;
    event->acceptProposedAction();
    m_import->importPaths(paths);
}
