#include "core/programstate.h"
#include "core/settingsfile.h"
#include "app/tform1.h"
#include "app/ui/tupdown.h"
#include "common/fakedialogs.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <memory>

namespace {

// Every caption on the window and in the menus, by object name.
QMap<QString, QString> captions(TForm1& form) {
    QMap<QString, QString> result;
    for (QGroupBox* group : form.centralWidget()->findChildren<QGroupBox*>())
        result[group->objectName()] = group->title();
    for (QLabel* label : form.centralWidget()->findChildren<QLabel*>())
        result[label->objectName()] = label->text();
    for (QAbstractButton* button : form.centralWidget()->findChildren<QAbstractButton*>())
        if (qobject_cast<QRadioButton*>(button) || qobject_cast<QCheckBox*>(button))
            result[button->objectName()] = button->text();
    for (QMenu* menu : form.menuBar()->findChildren<QMenu*>()) {
        result[menu->objectName()] = menu->title();
        for (QAction* action : menu->actions())
            if (!action->objectName().isEmpty())
                result[action->objectName()] = action->text();
    }
    return result;
}

// Everything the language must leave alone: setup image, control states, title.
QStringList nonCaptionState(TForm1& form) {
    QStringList state;
    const ProgramState& program = programState();
    for (quint8 byte : program.image.bytes)
        state << QString::number(byte);
    state << QStringLiteral("mode %1 step %2")
                 .arg(program.image.valueMode)
                 .arg(program.image.announcementStep);
    state << form.windowTitle();
    for (QWidget* widget : form.centralWidget()->findChildren<QWidget*>()) {
        if (widget->objectName().isEmpty())
            continue;
        QString line = widget->objectName() + (widget->isHidden() ? " hidden" : " shown");
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            line += button->isChecked() ? " on" : " off";
        if (auto* spinner = qobject_cast<TUpDown*>(widget))
            line += QString::number(spinner->position());
        if (auto* display = qobject_cast<QLineEdit*>(widget))
            line += " [" + display->text() + "]";
        state << line;
    }
    return state;
}

} // namespace

class TestI18nCaptions : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir;
    std::unique_ptr<FakeDialogs> fakes;
    std::unique_ptr<TForm1> form;

    void start() { form = std::make_unique<TForm1>(); }
    void storeLanguage(qint32 language) {
        ToolSettings settings;
        settings.language = language;
        QVERIFY(!writeToolSettings(settings));
    }

  private slots:
    void initTestCase() {
        QVERIFY(settingsDir.isValid());
        setSettingsFolder(settingsDir.path());
    }
    void init() {
        resetProgramState();
        QFile::remove(settingsFilePath());
        fakes = std::make_unique<FakeDialogs>();
    }
    void cleanup() {
        form.reset();
        fakes.reset();
    }
    void cleanupTestCase() { setSettingsFolder(QString()); }

    void englishTranslatesOnlyItsSetups() {
        start();
        form->english1->trigger();
        QCOMPARE(programState().language, 1);
        QCOMPARE(form->Label4->text(), QStringLiteral("seconds"));
        QCOMPARE(form->Sekunden->text(), QStringLiteral("Sekunden"));
        QCOMPARE(form->Label3->text(), QStringLiteral("Frequency"));
        QCOMPARE(form->Label5->text(), QStringLiteral("MHz"));
        QCOMPARE(form->GroupBox9->title(), QStringLiteral(" Setup 8  Vario tone mode"));
        QCOMPARE(form->RadioButton31->text(), QStringLiteral("over 80km/h"));
        QCOMPARE(form->RadioButton17->text(), QStringLiteral("Betrieb ohne UniLog "));
        QCOMPARE(form->RadioButton19->text(),
                 QString::fromUtf8(
                     "Betrieb mit UniLog, Höhenwert des UniLog für Höhenmessung verwenden "));
        QCOMPARE(form->GroupBox11->title(), QStringLiteral("Setup 10  Pitot-Speed-Sensor Auswahl"));
        QCOMPARE(form->Datei1->title(), QStringLiteral("Datei"));
        QCOMPARE(form->FirmwareVersiondesAltorin1->title(),
                 QStringLiteral("Pellimar Firmware Version einstellen"));
        // The submenu's entry in its parent menu reads the same.
        QCOMPARE(form->FirmwareVersiondesAltorin1->menuAction()->text(),
                 QStringLiteral("Pellimar Firmware Version einstellen"));
        QCOMPARE(form->bisV407x1->text(), QStringLiteral("Pellimar        ab V. 00x"));
        QCOMPARE(form->abV408x1->text(), QStringLiteral("Altorin        ab V. 50x"));
        QCOMPARE(form->nachKML3DmitGPSHhe1->text(), QString::fromUtf8("nach KML 3D mit GPS-Höhe"));
        QCOMPARE(form->nachGMX1->text(), QStringLiteral("nach GPX"));
        // A longer caption is not cut off.
        QVERIFY(form->Label28->width() >= form->Label28->sizeHint().width());
    }

    void germanAfterStartChangesTheElevenEntries() {
        start();
        const QMap<QString, QString> before = captions(*form);
        form->deutsch1->trigger();
        QCOMPARE(programState().language, 0);
        const QMap<QString, QString> after = captions(*form);
        QCOMPARE(after.keys(), before.keys());
        QStringList changed;
        for (auto it = before.begin(); it != before.end(); ++it)
            if (after.value(it.key()) != it.value())
                changed << it.key();
        changed.sort();
        QStringList expected = {
            "GroupBox1", "Label1",        "GroupBox2",     "GroupBox11",
            "Label14",   "RadioButton20", "RadioButton28", "FirmwareVersiondesAltorin1",
            "bisV407x1", "nachKML3D1",    "nachGMX1"};
        expected.sort();
        QCOMPARE(changed, expected);
        QCOMPARE(after.value("GroupBox1"), QStringLiteral("Setup 0 Sendekanal / Sendefrequenz"));
        QCOMPARE(after.value("Label1"), QStringLiteral("Kanal"));
        // English and back: the German table again, not the design-time captions.
        form->english1->trigger();
        form->deutsch1->trigger();
        QCOMPARE(captions(*form), after);
    }

    void storedFlagDecidesTheStartCaptions() {
        storeLanguage(1);
        start();
        QCOMPARE(form->GroupBox1->title(), QStringLiteral("Setup 0 Channel / Frequency"));
        QCOMPARE(form->GroupBox11->title(), QStringLiteral("Setup 10  Pitot-Speed-Sensor Auswahl"));
        QVERIFY(form->windowTitle().startsWith(QStringLiteral("AltorinTool V0.45 f")));
        form.reset();

        // Only 1 selects English; 2 starts with the design-time captions and stays.
        resetProgramState();
        storeLanguage(2);
        start();
        QCOMPARE(programState().language, 2);
        QCOMPARE(form->GroupBox11->title(),
                 QStringLiteral(
                     "Setup 10  Betrieb mit UniLog, bzw. Sensor-Interface m. Pitot-Speed-S."));
        QCOMPARE(form->Label1->text(), QStringLiteral("Sendekanal"));
        QCOMPARE(form->bisV407x1->text(), QStringLiteral("Altorin        bis V. 407x"));
    }

    void languageCommandWritesTheFlag() {
        start();
        form->english1->trigger();
        QCOMPARE(readToolSettings({}).language, 1);
        form->deutsch1->trigger();
        QCOMPARE(readToolSettings({}).language, 0);
        QVERIFY(fakes->errors.isEmpty());
    }

    void switchingChangesNothingButCaptions() {
        start();
        // A state away from the default setup, with some controls hidden.
        QTest::mouseClick(form->RadioButton31, Qt::LeftButton);
        form->CheckBox4->setChecked(true);
        QTest::mouseClick(form->UpDown2->upButton(), Qt::LeftButton);
        QTest::mouseClick(form->UpDown6->downButton(), Qt::LeftButton);
        form->GroupBox20->hide();
        const QStringList before = nonCaptionState(*form);
        const int infos = fakes->infos.size();
        form->english1->trigger();
        QCOMPARE(nonCaptionState(*form), before);
        form->deutsch1->trigger();
        form->deutsch1->trigger();
        QCOMPARE(nonCaptionState(*form), before);
        QCOMPARE(fakes->infos.size(), infos);
    }
};

QTEST_MAIN(TestI18nCaptions)
#include "tst_i18n_captions.moc"
