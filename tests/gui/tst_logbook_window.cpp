// The logbook window driven as a pilot does: opened from the menu, a card
// dropped onto it, entries opened in the flight view, edited, filtered and
// removed, on a logbook in a temporary folder.
#include "app/tform1.h"
#include "common/fakedialogs.h"
#include "core/programstate.h"
#include "core/settingsfile.h"
#include "flight/ui/flightexports.h"
#include "flight/ui/flightview.h"
#include "logbook/logbook.h"
#include "logbook/logbook_support.h"
#include "logbook/logbookimporter.h"
#include "logbook/ui/logbookfilterbar.h"
#include "logbook/ui/logbookimportbar.h"
#include "logbook/ui/logbooktablemodel.h"
#include "logbook/ui/logbooktotalsview.h"
#include "logbook/ui/logbookwindow.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <memory>

using namespace logbook_support;

namespace {

const QDateTime FlyingDay(QDate(2026, 6, 14), QTime(11, 5, 0));

QString copyName(const QString& path) {
    return QFileInfo(path).fileName();
}

} // namespace

class TestLogbookWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<FakeDialogs> fake;
    std::unique_ptr<TForm1> form;

    QString path(const QString& name) const { return dir->filePath(name); }

    // A card: LOG00001 and LOG00002 loose, LOG00003 and LOG00004 in a folder.
    QStringList writeCard() {
        const QStringList logs{path("card/LOG00001.CSV"), path("card/LOG00002.CSV"),
                               path("card/day2/LOG00003.CSV"), path("card/day2/LOG00004.CSV")};
        for (int i = 0; i < logs.size(); ++i)
            if (!writeLog(logs[i], typicalFlight(V500, i), FlyingDay.addDays(i)))
                return {};
        return logs;
    }

    // Three flights in the logbook before the window opens: two days in June
    // of two models, one in July without a model, of 95, 120 and 60 m.
    std::unique_ptr<Logbook> fillBook() {
        auto book = Logbook::open(Logbook::defaultFolder());
        if (!book)
            return nullptr;
        const double heights[] = {95, 120, 60};
        const QDateTime dates[] = {FlyingDay, FlyingDay.addDays(1), FlyingDay.addMonths(1)};
        const char* models[] = {"ASW 28", "Ventus", ""};
        const char* sites[] = {"Wasserkuppe", "Teck", "Teck"};
        for (int i = 0; i < 3; ++i) {
            Flight flight{{{60.0, 60.0 + 300 + 100 * i}}, 600.0 + 100 * i, heights[i]};
            const QString log = path(QStringLiteral("old/LOG0000%1.CSV").arg(i + 1));
            if (!writeLog(log, flight.log(V500), dates[i]))
                return nullptr;
            const ImportOptions options{FirmwareChoice::Auto, QString::fromUtf8(models[i])};
            const ImportedLog added = (*book)->importLog(log, options);
            EntryChanges site;
            site.site = QString::fromUtf8(sites[i]);
            if (added.outcome != ImportOutcome::Added || (*book)->update({added.entryId}, site))
                return nullptr;
        }
        return std::move(*book);
    }

    LogbookWindow* openWindow() {
        form->Flugbuch1->trigger();
        auto* window = form->findChild<LogbookWindow*>();
        if (window && !QTest::qWaitForWindowExposed(window))
            return nullptr;
        return window;
    }

    void drop(QWidget* target, const QStringList& paths) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& p : paths)
            urls << QUrl::fromLocalFile(p);
        data.setUrls(urls);
        const QPointF at(target->width() / 2.0, target->height() / 2.0);
        QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &dropped);
        QVERIFY(dropped.isAccepted());
    }

    QList<FlightView*> views() const { return form->findChildren<FlightView*>(); }

    void selectRows(LogbookWindow* window, std::initializer_list<int> rows) {
        window->table()->clearSelection();
        for (const int row : rows)
            window->table()->selectionModel()->select(window->model()->index(row, 0),
                                                      QItemSelectionModel::Select |
                                                          QItemSelectionModel::Rows);
    }

  private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        qputenv("XDG_DATA_HOME", dir->filePath(QStringLiteral("data")).toUtf8());
        setSettingsFolder(dir->path());
        resetProgramState();
        fake = std::make_unique<FakeDialogs>();
        form = std::make_unique<TForm1>();
        fake->infos.clear(); // the firmware reminder
        fake->boxParents.clear();
        programState().firmware = FirmwareVariant{500, 0};
    }
    void cleanup() {
        form.reset();
        fake.reset();
        setSettingsFolder(QString());
        dir.reset();
    }

    // The item after "Flug ansehen …" opens one window on the default
    // logbook; a second click raises it; the item follows the language.
    void openedOnceFromTheMenu() {
        const QList<QAction*> items = form->DatenKonvertierung1->actions();
        QCOMPARE(items.indexOf(form->Flugbuch1), items.indexOf(form->Flugansehen1) + 1);
        QCOMPARE(form->Flugbuch1->text(), QString::fromUtf8("Flugbuch …"));
        LogbookWindow* window = openWindow();
        QVERIFY(window);
        QCOMPARE(window->logbook().folder(), Logbook::defaultFolder());
        QCOMPARE(window->model()->rowCount(), 0);
        QVERIFY(window->screen()->availableGeometry().contains(window->frameGeometry()));
        form->Flugbuch1->trigger();
        QCOMPARE(form->findChildren<LogbookWindow*>().size(), 1);
        QVERIFY(fake->errors.isEmpty());

        // The window follows the language; its messages stay German.
        form->english1->trigger();
        QCOMPARE(form->Flugbuch1->text(), QString::fromUtf8("Logbook …"));
        QCOMPARE(window->openButton()->text(), QStringLiteral("View flight"));
        QCOMPARE(window->importBar()->stopButton()->text(), QStringLiteral("Stop"));
        QCOMPARE(window->model()->headerData(LogbookTableModel::Site, Qt::Horizontal).toString(),
                 QStringLiteral("Site"));
        QCOMPARE(window->filterBar()->modelChoice()->itemText(0), QStringLiteral("all"));
        QTableWidget* totals = window->totals()->table();
        QCOMPARE(totals->item(totals->rowCount() - 1, 0)->text(), QStringLiteral("Total"));
        QCOMPARE(totals->horizontalHeaderItem(1)->text(), QStringLiteral("Flights"));
        form->deutsch1->trigger();
        QCOMPARE(window->openButton()->text(), QStringLiteral("Im Flug ansehen"));
        QCOMPARE(totals->item(totals->rowCount() - 1, 0)->text(), QStringLiteral("Summe"));
        QCOMPARE(window->filterBar()->modelChoice()->itemText(0), QStringLiteral("alle"));
    }

    // A damaged logbook is reported and left as it is; no window opens.
    void damagedLogbookReported() {
        QDir().mkpath(Logbook::defaultFolder());
        const QString database = Logbook::defaultFolder() + QStringLiteral("/logbook.sqlite");
        const QByteArray junk(8192, 'x');
        QVERIFY(writeBytes(database, junk));
        form->Flugbuch1->trigger();
        QVERIFY(!form->findChild<LogbookWindow*>());
        QCOMPARE(fake->errors.size(), 1);
        QVERIFY2(fake->errors[0].startsWith(QString::fromUtf8("Flugbuch beschädigt: ")),
                 qPrintable(fake->errors[0]));
        QCOMPARE(readBytes(database), junk);
    }

    // Two logs and a card's folder dropped: imported without holding up the
    // window, counted, shown; the same drop again adds nothing.
    void importByDrop() {
        const QStringList logs = writeCard();
        QCOMPARE(logs.size(), 4);
        LogbookWindow* window = openWindow();
        QVERIFY(window);
        LogbookImportBar* bar = window->importBar();
        const QStringList dropped{logs[0], logs[1], path("card/day2")};

        drop(window, dropped);
        QTRY_VERIFY(!bar->importer()->busy());
        QCOMPARE(bar->resultLine()->text(),
                 QString::fromUtf8("4 hinzugefügt, 0 schon im Flugbuch, 0 übersprungen, 0 "
                                   "fehlgeschlagen"));
        QCOMPARE(window->model()->rowCount(), 4);
        QVERIFY(bar->filesButton()->isEnabled());
        QVERIFY(!bar->stopButton()->isEnabled());
        // Newest first.
        QCOMPARE(window->model()->entryAt(0).fileName, QStringLiteral("LOG00004.CSV"));

        drop(window->table()->viewport(), dropped);
        QVERIFY(bar->stopButton()->isEnabled());
        QTRY_VERIFY(!bar->importer()->busy());
        QCOMPARE(bar->resultLine()->text(),
                 QString::fromUtf8("0 hinzugefügt, 4 schon im Flugbuch, 0 übersprungen, 0 "
                                   "fehlgeschlagen"));
        QCOMPARE(window->model()->rowCount(), 4);
        QVERIFY(fake->errors.isEmpty());

        // A log that cannot be read (gone from the card) is named with its reason.
        const QString broken = path("LOG00009.CSV");
        fake->fileAnswers << broken;
        bar->filesButton()->click();
        QTRY_VERIFY(!bar->importer()->busy());
        QVERIFY(bar->resultLine()->text().endsWith(QString::fromUtf8("1 fehlgeschlagen")));
        QCOMPARE(fake->errors.size(), 1);
        QVERIFY(fake->errors[0].contains(QStringLiteral("LOG00009.CSV: ")));
    }

    // "Stopp" at once: at most the log at hand is kept, the window says it
    // stopped and shows what was kept; the card dropped again adds the rest.
    void stoppedImport() {
        for (int i = 1; i <= 6; ++i)
            QVERIFY(writeLog(path(QStringLiteral("card/LOG0000%1.CSV").arg(i)),
                             typicalFlight(V500, i), FlyingDay.addSecs(3600 * i)));
        LogbookWindow* window = openWindow();
        QVERIFY(window);
        LogbookImportBar* bar = window->importBar();
        drop(window, {path("card")});
        QVERIFY(bar->stopButton()->isEnabled());
        bar->stopButton()->click();
        QTRY_VERIFY(!bar->importer()->busy());
        const QString line = bar->resultLine()->text();
        QVERIFY2(line.startsWith(QStringLiteral("Gestoppt: ")), qPrintable(line));
        const int kept = window->model()->rowCount();
        QVERIFY(kept <= 1);
        QVERIFY2(line.contains(QString::fromUtf8("%1 hinzugefügt").arg(kept)), qPrintable(line));
        QVERIFY(!bar->stopButton()->isEnabled());

        drop(window, {path("card")});
        QTRY_VERIFY(!bar->importer()->busy());
        QCOMPARE(bar->resultLine()->text(),
                 QString::fromUtf8("%1 hinzugefügt, %2 schon im Flugbuch, 0 übersprungen, 0 "
                                   "fehlgeschlagen")
                     .arg(6 - kept)
                     .arg(kept));
        QCOMPARE(window->model()->rowCount(), 6);
    }

    // A double click opens the entry's copy in the flight view; two selected
    // entries open overlaid in one.
    void openedInTheFlightView() {
        QVERIFY(fillBook());
        LogbookWindow* window = openWindow();
        QVERIFY(window);
        QCOMPARE(window->model()->rowCount(), 3);
        const LogbookEntry& newest = window->model()->entryAt(0);
        const QRect cell = window->table()->visualRect(window->model()->index(0, 2));
        // A press and a release, then the second press as the double click.
        QTest::mouseClick(window->table()->viewport(), Qt::LeftButton, {}, cell.center());
        QTest::mouseDClick(window->table()->viewport(), Qt::LeftButton, {}, cell.center());
        QTRY_COMPARE(views().size(), 1);
        QCOMPARE(views()[0]->logs().size(), size_t(1));
        QCOMPARE(copyName(views()[0]->logs()[0].path), newest.sha256 + QStringLiteral(".CSV"));
        QCOMPARE(views()[0]->logs()[0].firmware, (FirmwareVariant{500, 0}));

        selectRows(window, {1, 2});
        QVERIFY(window->openButton()->isEnabled());
        window->openButton()->click();
        QTRY_COMPARE(views().size(), 2);
        FlightView* overlaid = views()[0]->logs().size() == 2 ? views()[0] : views()[1];
        QCOMPARE(overlaid->logs().size(), size_t(2));
        QVERIFY(fake->errors.isEmpty());
    }

    // Opened from the logbook, the copies go by the names they were imported
    // under wherever the view names a log, never by their hash. Converting a
    // copy would write a hash-named file into the logbook's folder, so the
    // view leaves it out and says why; its pictures are proposed elsewhere.
    void openedUnderTheImportedName() {
        auto book = fillBook();
        QVERIFY(book);
        const QString folder = book->folder();
        book.reset();
        LogbookWindow* window = openWindow();
        QVERIFY(window);
        selectRows(window, {1, 2});
        window->openButton()->click();
        QTRY_COMPARE(views().size(), 1);
        FlightView* view = views()[0];
        QCOMPARE(view->logs().size(), size_t(2));
        QStringList names;
        for (const int row : {1, 2})
            names << window->model()->entryAt(row).fileName;
        QVERIFY(names[0].startsWith(QStringLiteral("LOG0000")));
        QVERIFY(names[0] != names[1]);

        auto* choice = view->findChild<QComboBox*>(QStringLiteral("flightChoice"));
        QVERIFY(choice);
        QCOMPARE((QStringList{choice->itemText(0), choice->itemText(1)}), names);
        QCOMPARE(view->series(0, FlightViewState::BaroAltitude)->name(), names[0]);
        QCOMPARE(view->series(1, FlightViewState::BaroAltitude)->name(), names[1]);
        const QString title = pictureTitle(view->logs());
        QVERIFY2(title.startsWith(names[0] + QStringLiteral(", ")), qPrintable(title));
        QVERIFY(title.contains(QStringLiteral("; ") + names[1] + QStringLiteral(", ")));
        QVERIFY(view->windowTitle().endsWith(names.join(QStringLiteral(", "))));
        auto* summary = view->findChild<QTableWidget*>(QStringLiteral("summaryTable"));
        QCOMPARE(summary->horizontalHeaderItem(1)->text(), names[1]);
        QCOMPARE(view->summaries()[0].logFile, names[0]);
        view->setCursorTime(view->from());
        const QString readout = view->findChild<QLabel*>(QStringLiteral("readout"))->text();
        QVERIFY2(readout.startsWith(names[0]), qPrintable(readout));
        for (const QString& text : {title, readout, view->windowTitle()})
            QVERIFY(!text.contains(window->model()->entryAt(1).sha256));

        const QStringList kept = QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot);
        auto* convert = view->findChild<QToolButton*>(QStringLiteral("convertButton"));
        QVERIFY(!convert->isEnabled());
        QVERIFY(convert->toolTip().contains(QStringLiteral("Flugbuch")));
        for (QAction* action : convert->menu()->actions())
            action->trigger();
        for (const int log : {0, 1}) {
            view->setCurrentLog(size_t(log));
            QVERIFY(!convert->isEnabled());
        }
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot), kept);
        QVERIFY(fake->infos.isEmpty());

        fake->fileAnswers << QString(); // cancelled
        QTest::mouseClick(view->findChild<QPushButton*>(QStringLiteral("savePngButton")),
                          Qt::LeftButton);
        QCOMPARE(fake->dialogsRun, QStringList{QStringLiteral("SavePngDialog")});
        QVERIFY(fake->startFolders[0] != QDir(folder).absolutePath());
        auto* png = view->findChild<QFileDialog*>(QStringLiteral("SavePngDialog"));
        QCOMPARE(QFileInfo(png->selectedFiles().value(0)).fileName(),
                 QFileInfo(names[0]).completeBaseName() + QStringLiteral(".png"));
        QVERIFY(fake->errors.isEmpty());
    }

    // Site edited in place and stored; the model set for two entries at once.
    void editedInPlace() {
        auto book = fillBook();
        QVERIFY(book);
        LogbookWindow* window = openWindow();
        QVERIFY(window);
        const qint64 id = window->model()->entryAt(0).id;
        const QModelIndex site = window->model()->index(0, LogbookTableModel::Site);
        window->table()->edit(site);
        auto* editor = window->table()->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->selectAll();
        QTest::keyClicks(editor, QStringLiteral("Hahnweide"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(site.data().toString(), QStringLiteral("Hahnweide"));
        QCOMPARE((*book->entry(id))->site, QStringLiteral("Hahnweide"));

        selectRows(window, {0, 1});
        fake->textAnswers << QStringLiteral(" Ka 8 ");
        window->setModelButton()->click();
        QCOMPARE(fake->textLabels.size(), 1);
        for (const qint64 changed : window->selectedIds())
            QCOMPARE((*book->entry(changed))->model, QStringLiteral("Ka 8"));
        QVERIFY(window->filterBar()->modelChoice()->findText(QStringLiteral("Ka 8")) > 0);
        QCOMPARE((*book->models()), (QStringList{"ASW 28", "Ka 8"}));

        // Cancelled: nothing changes.
        window->setModelButton()->click();
        QCOMPARE((*book->models()), (QStringList{"ASW 28", "Ka 8"}));
        QVERIFY(fake->errors.isEmpty());

        // An offered model taken with Enter is stored by that Enter.
        const QModelIndex model = window->model()->index(2, LogbookTableModel::Model);
        const qint64 third = window->model()->entryAt(2).id;
        window->table()->setCurrentIndex(model);
        window->table()->edit(model);
        editor = window->table()->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        editor->clear();
        QTest::keyClicks(editor, QStringLiteral("ka"));
        QTRY_VERIFY(editor->completer()->popup()->isVisible());
        QTest::keyClick(editor->completer()->popup(), Qt::Key_Down);
        QTest::keyClick(editor->completer()->popup(), Qt::Key_Return);
        QTRY_COMPARE((*book->entry(third))->model, QStringLiteral("Ka 8"));
        QTRY_VERIFY(!window->table()->viewport()->findChild<QLineEdit*>());

        // Removed meanwhile by the command line: the edit fails, is reported,
        // and the table shows the logbook as it is.
        const QModelIndex note = window->model()->index(2, LogbookTableModel::Note);
        QVERIFY(!book->remove({window->model()->entryAt(2).id}));
        window->table()->edit(note);
        editor = window->table()->viewport()->findChild<QLineEdit*>();
        QVERIFY(editor);
        QTest::keyClicks(editor, QStringLiteral("Servos checken"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(fake->errors.size(), 1);
        QVERIFY(fake->errors[0].contains(QStringLiteral("kein Eintrag")));
        QTRY_COMPARE(window->model()->rowCount(), 2);

        // Changed by another program while the window was in the back: on
        // its return it shows the change.
        EntryChanges elsewhere;
        elsewhere.site = QStringLiteral("Wasserkuppe");
        QVERIFY(!book->update({window->model()->entryAt(0).id}, elsewhere));
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(window, &activate);
        QCOMPARE(window->model()->index(0, LogbookTableModel::Site).data().toString(),
                 QStringLiteral("Wasserkuppe"));
    }

    // The filter's parts narrow the table; the totals add up what it shows.
    void filterAndTotals() {
        QVERIFY(fillBook());
        LogbookWindow* window = openWindow();
        QVERIFY(window);
        LogbookFilterBar* filter = window->filterBar();
        QTableWidget* totals = window->totals()->table();
        // Per model: ASW 28, Ventus, without, and the sum.
        QCOMPARE(totals->rowCount(), 4);
        QCOMPARE(totals->item(3, 0)->text(), QStringLiteral("Summe"));
        QCOMPARE(totals->item(3, 1)->text(), QStringLiteral("3"));
        // 300 + 400 + 500 s in the air.
        QCOMPARE(totals->item(3, 3)->text(), QStringLiteral("0:20:00"));

        filter->modelChoice()->setCurrentText(QStringLiteral("Ventus"));
        QCOMPARE(window->model()->rowCount(), 1);
        QCOMPARE(totals->rowCount(), 2);
        QCOMPARE(totals->item(0, 0)->text(), QStringLiteral("Ventus"));
        QCOMPARE(totals->item(0, 3)->text(), QStringLiteral("0:06:40"));
        // 120 m and the barometer's wobble of a metre.
        QCOMPARE(totals->item(0, 5)->text(), QStringLiteral("121.0"));
        filter->modelChoice()->setCurrentText(QStringLiteral("ohne Modell"));
        QCOMPARE(window->model()->rowCount(), 1);
        QCOMPARE(window->model()->entryAt(0).model, QString());
        filter->modelChoice()->setCurrentIndex(0);
        QCOMPARE(window->model()->rowCount(), 3);

        // June only, both ends included; then by month.
        filter->fromDate()->setDate(QDate(2026, 6, 14));
        filter->toDate()->setDate(QDate(2026, 6, 15));
        QCOMPARE(window->model()->rowCount(), 3); // not yet in force
        filter->fromCheck()->setChecked(true);
        filter->toCheck()->setChecked(true);
        QCOMPARE(window->model()->rowCount(), 2);
        window->totals()->groupingChoice()->setCurrentIndex(1);
        QCOMPARE(totals->rowCount(), 2);
        QCOMPARE(totals->item(0, 0)->text(), QStringLiteral("2026-06"));
        QCOMPARE(totals->item(0, 1)->text(), QStringLiteral("2"));

        // Text in the site, any letter case.
        filter->textEdit()->setText(QStringLiteral("teck"));
        QCOMPARE(window->model()->rowCount(), 1);
        QCOMPARE(window->model()->entryAt(0).site, QStringLiteral("Teck"));
        filter->toCheck()->setChecked(false);
        QCOMPARE(window->model()->rowCount(), 2);
    }

    // Columns sort by value: 95 m below 120 m, though "120.0" < "95.0" as text.
    void sortedByValue() {
        QVERIFY(fillBook());
        LogbookWindow* window = openWindow();
        QVERIFY(window);
        selectRows(window, {0});
        const qint64 selected = window->selectedIds().front();
        window->table()->sortByColumn(LogbookTableModel::MaxAltitude, Qt::AscendingOrder);
        QStringList heights;
        for (int row = 0; row < 3; ++row)
            heights
                << window->model()->index(row, LogbookTableModel::MaxAltitude).data().toString();
        QCOMPARE(heights.last(), QStringLiteral("121.0"));
        QVERIFY(window->model()->entryAt(0).maxAltitude < window->model()->entryAt(1).maxAltitude);
        QCOMPARE(window->selectedIds(), QList<qint64>{selected}); // the selection follows
    }

    // Removal asks first: no keeps everything, yes removes the entry and its copy.
    void removalAsksFirst() {
        auto book = fillBook();
        QVERIFY(book);
        LogbookWindow* window = openWindow();
        QVERIFY(window);
        selectRows(window, {0, 2});
        const LogbookEntry kept = window->model()->entryAt(1);
        const QString copy = book->copyPath(window->model()->entryAt(0));
        window->removeButton()->click();
        QCOMPARE(fake->questions,
                 QStringList{QString::fromUtf8("2 Einträge und ihre Kopien entfernen?")});
        QCOMPARE(book->entries()->size(), size_t(3));
        QVERIFY(QFile::exists(copy));

        fake->answers << true;
        window->removeButton()->click();
        QCOMPARE(book->entries()->size(), size_t(1));
        QCOMPARE(book->entries()->front().id, kept.id);
        QVERIFY(!QFile::exists(copy));
        QCOMPARE(window->model()->rowCount(), 1);
        QVERIFY(fake->errors.isEmpty());
    }
};

QTEST_MAIN(TestLogbookWindow)
#include "tst_logbook_window.moc"
