#include "core/programstate.h"
#include "core/settingsfile.h"
#include "app/tform1.h"
#include "app/ui/tupdown.h"
#include "common/fakedialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

class TestWindowLayout : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir; // no settings file: the design-time layout
    std::unique_ptr<FakeDialogs> fakes;
    std::unique_ptr<TForm1> form;

    template <typename T> T* find(const QString& name) {
        return form->findChild<T*>(name, Qt::FindChildrenRecursively);
    }
    static void clickTimes(QToolButton* button, int times) {
        for (int i = 0; i < times; ++i)
            QTest::mouseClick(button, Qt::LeftButton);
    }

  private slots:
    void initTestCase() { setSettingsFolder(settingsDir.path()); }
    void cleanupTestCase() { setSettingsFolder(QString()); }
    void init() {
        resetProgramState();
        fakes = std::make_unique<FakeDialogs>();
        form = std::make_unique<TForm1>();
    }
    void cleanup() {
        form.reset();
        fakes.reset();
    }

    void everyControlHasItsNameAndKind() {
        auto expect = [&](const char* kind, const QString& name) {
            QObject* object = form->findChild<QObject*>(name);
            QVERIFY2(object, qPrintable(name));
            QVERIFY2(object->inherits(kind), qPrintable(name + QStringLiteral(" is no ") + kind));
        };
        for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 19, 20, 21})
            expect("QGroupBox", QStringLiteral("GroupBox%1").arg(n));
        for (int n = 1; n <= 28; ++n)
            expect("QLabel", QStringLiteral("Label%1").arg(n));
        expect("QLabel", QStringLiteral("Sekunden"));
        for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 13, 14, 15})
            expect("QLineEdit", QStringLiteral("Memo%1").arg(n));
        for (int n = 1; n <= 12; ++n)
            expect("TUpDown", QStringLiteral("UpDown%1").arg(n));
        for (int n = 1; n <= 33; ++n)
            expect("QRadioButton", QStringLiteral("RadioButton%1").arg(n));
        for (int n = 1; n <= 6; ++n)
            expect("QCheckBox", QStringLiteral("CheckBox%1").arg(n));
        for (const char* name : {"Datei1", "Einstellungen1", "FirmwareVersiondesAltorin1",
                                 "SpracheLanguage1", "DatenKonvertierung1", "Hilfe1"})
            expect("QMenu", QString::fromLatin1(name));
        for (const char* name :
             {"Setupladen1", "Setupspeichern1", "Proframmbeenden1", "SetupGrundeinstellung1",
              "bisV407x1", "abV408x1", "Duo_ab50x", "deutsch1", "english1", "nachKML2D1",
              "nachKML3DmitGPSHhe1", "nachKML3D1", "nachGMX1", "frTrakmond1", "Info1"})
            expect("QAction", QString::fromLatin1(name));
        for (const char* name : {"OpenDialog1", "OpenDialog2", "SaveDialog2"})
            expect("QFileDialog", QString::fromLatin1(name));
        QCOMPARE(form->menuBar()->objectName(), QStringLiteral("MainMenu1"));
        // The members point at the named objects.
        QCOMPARE(form->Sekunden, find<QLabel>(QStringLiteral("Sekunden")));
        QCOMPARE(form->RadioButton33, find<QRadioButton>(QStringLiteral("RadioButton33")));
        QCOMPARE(form->nachGMX1, find<QAction>(QStringLiteral("nachGMX1")));
        QCOMPARE(form->SaveDialog2, find<QFileDialog>(QStringLiteral("SaveDialog2")));
    }

    void captionsKeepBlanksAndUmlauts() {
        QCOMPARE(form->GroupBox1->title(), QStringLiteral("Setup 0  Sendekanal / Sendefrequenz"));
        QCOMPARE(form->GroupBox2->title(),
                 QString::fromUtf8("Setup 1 Höhenansage-Intervall bei positiver Höhe"));
        QCOMPARE(form->GroupBox9->title(), QStringLiteral(" Setup 8  Varioton-Mode"));
        QCOMPARE(form->GroupBox16->title(), QStringLiteral("Setup 15  Einheit:  Meter oder Feet"));
        QCOMPARE(form->Label28->text(), QString::fromUtf8("zusätzlich automatische Ansage  ab :"));
        QCOMPARE(form->Label15->text(), QStringLiteral("Alarmschwelle "));
        QCOMPARE(form->Label16->text(), QString::fromUtf8("°C"));
        QCOMPARE(form->RadioButton17->text(), QStringLiteral("Betrieb ohne UniLog "));
        QCOMPARE(form->RadioButton19->text(),
                 QString::fromUtf8(
                     "Betrieb mit UniLog, Höhenwert des UniLog für Höhenmessung verwenden "));
        QCOMPARE(form->CheckBox6->text(), QString::fromUtf8("alle Kapazitäts-Ansagen rel. in %"));
        QCOMPARE(form->Sekunden->text(), QStringLiteral("Sekunden"));
    }

    void menuOrderAndCaptions() {
        QStringList bar;
        for (QAction* action : form->menuBar()->actions())
            bar << action->text();
        QCOMPARE(bar, (QStringList{"Datei", "Einstellungen / Settings", "Daten-Konvertierung",
                                   "Hilfe"}));
        QStringList settings;
        for (QAction* action : form->Einstellungen1->actions())
            settings << action->text();
        QCOMPARE(settings,
                 (QStringList{"Setup-Grundeinstellung laden", "Altorin Firmware Version einstellen",
                              "Sprache / Language"}));
        QStringList firmware;
        for (QAction* action : form->FirmwareVersiondesAltorin1->actions())
            firmware << action->text();
        QCOMPARE(firmware, (QStringList{"Altorin        bis V. 407x", "Altorin        ab V. 50x",
                                        "Altorin Duo ab V. 50x"}));
        QStringList conversions;
        for (QAction* action : form->DatenKonvertierung1->actions())
            conversions << action->text();
        QCOMPARE(
            conversions,
            (QStringList{"nach KML 2D", QString::fromUtf8("nach KML 3D mit GPS-Höhe"),
                         QString::fromUtf8("nach KML 3D mit barom. Höhe"),
                         QString::fromUtf8("nach GPX mit GPS-Höhe"),
                         QString::fromUtf8("für Trakmond"), QString::fromUtf8("Flug ansehen …"),
                         QString::fromUtf8("Flugbuch …")}));
    }

    void fontsFollowTheGroups() {
        QCOMPARE(form->font().pixelSize(), 10);
        QCOMPARE(form->font().styleHint(), QFont::SansSerif);
        QCOMPARE(form->GroupBox1->font().pixelSize(), 12);
        QVERIFY(form->GroupBox1->font().bold());
        QCOMPARE(form->GroupBox14->font().pixelSize(), 10);
        QCOMPARE(form->GroupBox3->font().pixelSize(), 11);
        QCOMPARE(form->Label1->font().pixelSize(), 12);
        QVERIFY(!form->Label1->font().bold());
        QCOMPARE(form->RadioButton21->font().pixelSize(), 11);
        QVERIFY(!form->RadioButton21->font().bold());
        QVERIFY(form->Memo10->font().bold());
        QVERIFY(form->Memo3->isReadOnly());
        QCOMPARE(form->Memo3->height(), 17);
    }

    // Whatever face stands in for the form's, no caption is cut off unseen:
    // it fits inside its frame (narrowed if need be) or shows whole as tooltip.
    void everyCaptionFitsOrShowsAsTooltip() {
        for (bool english : {false, true}) {
            if (english)
                form->english1->trigger();
            for (QWidget* control : form->findChildren<QWidget*>()) {
                if (!qobject_cast<QLabel*>(control) && !qobject_cast<QAbstractButton*>(control))
                    continue;
                const QString text = control->property("text").toString();
                QWidget* frame = control->parentWidget();
                if (text.isEmpty() || !qobject_cast<QGroupBox*>(frame))
                    continue;
                const bool fits = control->width() >= control->sizeHint().width() &&
                                  control->x() + control->width() <= frame->width();
                QVERIFY2(fits || control->toolTip() == text,
                         qPrintable(control->objectName() + ": " + text));
            }
        }
    }

    // The tab key walks the groups in the form's order, which puts setups 3
    // and 5 after setup 15, not in the order the groups were built.
    void tabKeyWalksTheGroupsInFormOrder() {
        QStringList groups;
        QWidget* w = form->GroupBox1;
        do {
            w = w->nextInFocusChain();
            auto* group = qobject_cast<QGroupBox*>(w->parentWidget());
            if (group && (w->focusPolicy() & Qt::TabFocus) &&
                groups.value(groups.size() - 1) != group->objectName())
                groups << group->objectName();
        } while (w != form->GroupBox1);
        QCOMPARE(groups,
                 (QStringList{"GroupBox1", "GroupBox2", "GroupBox4", "GroupBox5", "GroupBox7",
                              "GroupBox8", "GroupBox9", "GroupBox10", "GroupBox11", "GroupBox12",
                              "GroupBox13", "GroupBox14", "GroupBox15", "GroupBox16", "GroupBox3",
                              "GroupBox6", "GroupBox19", "GroupBox20", "GroupBox21"}));
    }

    // Min 20 above Max 0: the up arrow heads for 0, the down arrow for 20.
    void reversedSpinnerStopsAtBothEnds() {
        TUpDown* spinner = form->UpDown6;
        spinner->setPosition(0);
        QSignalSpy spy(spinner, &TUpDown::clicked);
        QTest::mouseClick(spinner->upButton(), Qt::LeftButton);
        QCOMPARE(spinner->position(), 0);
        QCOMPARE(spy.count(), 0);
        QTest::mouseClick(spinner->downButton(), Qt::LeftButton);
        QCOMPARE(spinner->position(), 1);
        clickTimes(spinner->downButton(), 25);
        QCOMPARE(spinner->position(), 20);
        QCOMPARE(spy.count(), 20);
        QTest::mouseClick(spinner->upButton(), Qt::LeftButton);
        QCOMPARE(spinner->position(), 19);
    }

    void spinnersStopWithoutWrapping() {
        form->UpDown2->setPosition(100);
        clickTimes(form->UpDown2->upButton(), 3);
        QCOMPARE(form->UpDown2->position(), 120);

        // Max 100 comes from the spinner's default.
        form->UpDown8->setPosition(98);
        clickTimes(form->UpDown8->upButton(), 4);
        QCOMPARE(form->UpDown8->position(), 100);

        QSignalSpy spy(form->UpDown12, &TUpDown::clicked);
        form->UpDown12->setPosition(20);
        clickTimes(form->UpDown12->upButton(), 12);
        QCOMPARE(form->UpDown12->position(), 100);
        QCOMPARE(spy.count(), 8); // 30, 40, ... 100
        clickTimes(form->UpDown12->downButton(), 10);
        QCOMPARE(form->UpDown12->position(), 20);
    }

    void programSetPositionClampsSilently() {
        QSignalSpy spy5(form->UpDown5, &TUpDown::clicked);
        QSignalSpy spy6(form->UpDown6, &TUpDown::clicked);
        form->UpDown5->setPosition(200);
        QCOMPARE(form->UpDown5->position(), 99);
        form->UpDown5->setPosition(3);
        QCOMPARE(form->UpDown5->position(), 44);
        form->UpDown6->setPosition(25);
        QCOMPARE(form->UpDown6->position(), 20);
        QCOMPARE(spy5.count() + spy6.count(), 0);
    }

    void setup4RadioButtonsAreOneSet() {
        form->RadioButton1->setChecked(true);
        const bool setup5 = form->RadioButton3->isChecked();
        const bool setup8 = form->RadioButton7->isChecked();
        QTest::mouseClick(form->RadioButton31, Qt::LeftButton);
        QVERIFY(form->RadioButton31->isChecked());
        QVERIFY(!form->RadioButton1->isChecked());
        QTest::mouseClick(form->RadioButton2, Qt::LeftButton);
        QVERIFY(!form->RadioButton31->isChecked());
        form->RadioButton33->setChecked(true);
        QVERIFY(!form->RadioButton2->isChecked());
        int selected = 0;
        for (QRadioButton* button : {form->RadioButton1, form->RadioButton2, form->RadioButton30,
                                     form->RadioButton31, form->RadioButton32, form->RadioButton33})
            selected += button->isChecked();
        QCOMPARE(selected, 1);
        // Other groups are untouched.
        QCOMPARE(form->RadioButton3->isChecked(), setup5);
        QCOMPARE(form->RadioButton7->isChecked(), setup8);
        form->RadioButton4->setChecked(true);
        QVERIFY(form->RadioButton33->isChecked());
    }

    // Selecting runs the handler, by click or by program; a click on the
    // selected button does not. Every tick change runs the check box handler.
    void buttonsRunTheirHandlers() {
        SetupImage& image = programState().image;
        QVERIFY(form->RadioButton1->isChecked());
        image[4] = 77;
        QTest::mouseClick(form->RadioButton1, Qt::LeftButton);
        QCOMPARE(int(image[4]), 77);
        form->RadioButton31->setChecked(true);
        QCOMPARE(int(image[4]), 4);
        image[4] = 77;
        form->RadioButton31->setChecked(true); // already selected: no change, no handler
        QCOMPARE(int(image[4]), 77);

        QVERIFY(!form->CheckBox1->isChecked());
        image[3] = 77;
        form->CheckBox1->setChecked(true);
        QVERIFY(image[3] != 77);
        image[3] = 77;
        form->CheckBox1->setChecked(false);
        QVERIFY(image[3] != 77);

        // A program-set position runs no handler: the byte stays.
        image[1] = 77;
        form->UpDown2->setPosition(30);
        QCOMPARE(int(image[1]), 77);
        QTest::mouseClick(form->UpDown2->upButton(), Qt::LeftButton);
        QCOMPARE(int(image[1]), 40);
    }

    void menuItemsRunTheirCommands() {
        form->Setupladen1->trigger();
        form->Setupspeichern1->trigger();
        // Cancelled conversions: each item opens the log dialog, nachGMX1 included.
        for (QAction* item : {form->nachKML2D1, form->nachKML3DmitGPSHhe1, form->nachKML3D1,
                              form->nachGMX1, form->frTrakmond1})
            item->trigger();
        QCOMPARE(fakes->dialogsRun,
                 (QStringList{"OpenDialog2", "SaveDialog2", "OpenDialog1", "OpenDialog1",
                              "OpenDialog1", "OpenDialog1", "OpenDialog1"}));
        const int infos = fakes->infos.size();
        form->Info1->trigger();
        QCOMPARE(fakes->infos.size(), infos + 1);
        QVERIFY(fakes->infos.last().startsWith(QString::fromUtf8("AltorinTool für")));
    }

    void updown1StandsOnTheWindowAboveSetup0() {
        QWidget* canvas = form->UpDown1->parentWidget();
        QVERIFY(canvas != form->GroupBox1);
        QCOMPARE(form->GroupBox1->parentWidget(), canvas);
        QCOMPARE(form->UpDown1->geometry(), QRect(15, 19, 17, 25));
        QVERIFY(form->GroupBox1->geometry().contains(form->UpDown1->geometry()));
        // Drawn above the group box: the spinner is what the point hits.
        QWidget* hit = canvas->childAt(QPoint(22, 25));
        QVERIFY(hit == form->UpDown1 || hit->parentWidget() == form->UpDown1);
        QCOMPARE(form->UpDown1->min(), 1);
        QCOMPARE(form->UpDown1->max(), 69);
    }

    void smallWindowScrolls() {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form.get()));
        auto* scroll = qobject_cast<QScrollArea*>(form->centralWidget());
        QVERIFY(scroll);
        form->resize(1000, 900);
        QTRY_VERIFY(!scroll->verticalScrollBar()->isVisible());
        QVERIFY(!scroll->horizontalScrollBar()->isVisible());
        form->resize(400, 300);
        QTRY_VERIFY(scroll->verticalScrollBar()->isVisible());
        QVERIFY(scroll->horizontalScrollBar()->isVisible());
        // The last group stays reachable.
        scroll->ensureWidgetVisible(form->GroupBox21);
        QVERIFY(scroll->verticalScrollBar()->value() > 0);
    }

    void dialogsCarryTheirFilters() {
        QCOMPARE(form->OpenDialog1->property("filter").toString(),
                 QStringLiteral("Altorin Log-Datei (*.CSV)|LOG?????.CSV|Alle CSV-Dateien "
                                "(*.CSV)|*.CSV|Alle Dateien (*.*)|*.*"));
        QCOMPARE(form->OpenDialog1->nameFilters(),
                 (QStringList{"Altorin Log-Datei (*.CSV) (LOG?????.CSV)",
                              "Alle CSV-Dateien (*.CSV) (*.CSV)", "Alle Dateien (*.*) (*.*)"}));
        QCOMPARE(form->OpenDialog1->selectedNameFilter(),
                 QStringLiteral("Altorin Log-Datei (*.CSV)"));
        QCOMPARE(form->OpenDialog2->property("filter").toString(),
                 QStringLiteral("Altorin Setup-Datei (SETUPUPL.HEX)|SETUPUPL.HEX|Alle "
                                "HEX-Dateien|*.HEX|Alle Dateien (*.*)|*.*"));
        QCOMPARE(form->OpenDialog2->nameFilters(),
                 (QStringList{"Altorin Setup-Datei (SETUPUPL.HEX) (SETUPUPL.HEX)",
                              "Alle HEX-Dateien (*.HEX)", "Alle Dateien (*.*) (*.*)"}));
        QCOMPARE(form->OpenDialog2->selectedNameFilter(),
                 QStringLiteral("Altorin Setup-Datei (SETUPUPL.HEX)"));
        for (QFileDialog* dialog : {form->OpenDialog1, form->OpenDialog2}) {
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
            QCOMPARE(dialog->fileMode(), QFileDialog::AnyFile);
            QCOMPARE(dialog->parent(), form.get());
        }
        // The dialog lists the descriptions alone, as the filter text gives them,
        // not "Alle Dateien (*.*) (*.*)".
        const auto shownFilters = [](QFileDialog* dialog) {
            QStringList shown;
            if (auto* combo = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
                for (int i = 0; i < combo->count(); ++i)
                    shown << combo->itemText(i);
            return shown;
        };
        QCOMPARE(shownFilters(form->OpenDialog1),
                 (QStringList{"Altorin Log-Datei (*.CSV)", "Alle CSV-Dateien (*.CSV)",
                              "Alle Dateien (*.*)"}));
        QCOMPARE(shownFilters(form->OpenDialog2),
                 (QStringList{"Altorin Setup-Datei (SETUPUPL.HEX)", "Alle HEX-Dateien",
                              "Alle Dateien (*.*)"}));
        QCOMPARE(form->SaveDialog2->acceptMode(), QFileDialog::AcceptSave);
        QVERIFY(form->SaveDialog2->testOption(QFileDialog::DontConfirmOverwrite));
        QVERIFY(form->SaveDialog2->property("filter").toString().isEmpty());
    }
};

QTEST_MAIN(TestWindowLayout)
#include "tst_window_layout.moc"
