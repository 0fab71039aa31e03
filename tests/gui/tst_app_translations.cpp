// Qt's own dialogs and buttons follow the system's language through Qt's
// translations, while the window's captions stay exactly as they are.
#include "app/tform1.h"
#include "app/ui/qttranslations.h"
#include "common/fakedialogs.h"
#include "core/programstate.h"
#include "core/settingsfile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

QString cancelText() {
    QDialogButtonBox box(QDialogButtonBox::Cancel);
    return box.button(QDialogButtonBox::Cancel)->text();
}

// Every text the window shows: group titles, labels, buttons, menus (its file
// dialogs are Qt's and speak the system's language).
QStringList windowTexts() {
    TForm1 form;
    QStringList texts;
    for (QGroupBox* group : form.centralWidget()->findChildren<QGroupBox*>())
        texts << group->objectName() + '=' + group->title();
    for (QLabel* label : form.centralWidget()->findChildren<QLabel*>())
        texts << label->objectName() + '=' + label->text();
    for (QAbstractButton* button : form.centralWidget()->findChildren<QAbstractButton*>())
        texts << button->objectName() + '=' + button->text();
    for (QMenu* menu : form.menuBar()->findChildren<QMenu*>()) {
        texts << menu->objectName() + '=' + menu->title();
        for (QAction* action : menu->actions())
            texts << action->objectName() + '=' + action->text();
    }
    texts << form.windowTitle();
    return texts;
}

} // namespace

class TestAppTranslations : public QObject {
    Q_OBJECT

    QTemporaryDir settingsDir;
    FakeDialogs fakes;
    QStringList untranslated;

  private slots:
    void initTestCase() {
        QVERIFY(settingsDir.isValid());
        setSettingsFolder(settingsDir.path());
        resetProgramState();
        untranslated = windowTexts();
        QVERIFY(untranslated.size() > 100);
    }
    void cleanupTestCase() { setSettingsFolder(QString()); }

    // An English system leaves Qt's English as it was.
    void englishSystem() {
        installQtTranslations(qApp, QLocale(QLocale::English, QLocale::UnitedStates));
        QCOMPARE(cancelText(), QStringLiteral("Cancel"));
    }

    // The system's language (LANGUAGE=de, set before the application started)
    // reaches the standard buttons and the file dialogs.
    void germanSystem() {
        QVERIFY(installQtTranslations(qApp));
        QCOMPARE(cancelText(), QStringLiteral("Abbrechen"));
        QFileDialog dialog;
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        auto* buttons = dialog.findChild<QDialogButtonBox*>();
        QVERIFY(buttons);
        QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Abbrechen"));
        auto* lookIn = dialog.findChild<QLabel*>(QStringLiteral("lookInLabel"));
        QVERIFY(lookIn);
        QCOMPARE(lookIn->text(), QStringLiteral("Suchen in:"));
    }

    // Qt's catalogue holds none of the window's own texts: they stay as given.
    void windowCaptionsUntouched() { QCOMPARE(windowTexts(), untranslated); }
};

int main(int argc, char* argv[]) {
    // The system language is read once, when the application starts.
    qputenv("LANGUAGE", "de");
    qputenv("LC_ALL", "de_DE.UTF-8");
    QApplication app(argc, argv);
    TestAppTranslations test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_app_translations.moc"
