// The window without the mouse, and where its file dialogs open: spinners in
// the tab order with Up, Down and the wheel acting as their arrows, F10 for
// the menu bar, and the folder chosen last.
#include "common/fakedialogs.h"

#include "core/programstate.h"
#include "app/tform1.h"
#include "app/ui/tupdown.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <memory>

namespace {

void turnWheel(QWidget* widget, int angle) {
    const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
    QWheelEvent event(at, widget->mapToGlobal(at), QPoint(), QPoint(0, angle), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class TestWindowKeyboard : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeDialogs> fake;
    std::unique_ptr<TForm1> form;

    // The widgets the tab key stops at, from the window's first one on.
    QList<QWidget*> tabStops() const {
        QList<QWidget*> stops;
        QWidget* w = form.get();
        do {
            w = w->nextInFocusChain();
            if ((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(form.get()))
                stops << w;
        } while (w != form.get());
        return stops;
    }

  private slots:
    void init() {
        QLocale::setDefault(QLocale::c());
        resetProgramState();
        forgetDialogFolder();
        fake = std::make_unique<FakeDialogs>();
        form = std::make_unique<TForm1>();
        for (QWidget* w : std::initializer_list<QWidget*>{form->UpDown9, form->GroupBox19,
                                                          form->GroupBox20, form->GroupBox21})
            w->setVisible(true);
        form->show();
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    void cleanup() {
        form.reset();
        fake.reset();
    }

    // Each spinner stops the tab key before the rest of its group; UpDown1,
    // on the window itself, comes between setup 5 and setup 16.
    void spinnersInTheTabOrder() {
        const QList<QWidget*> stops = tabStops();
        const auto at = [&](QWidget* w) { return stops.indexOf(w); };
        for (TUpDown* spinner : form->findChildren<TUpDown*>())
            QVERIFY2(at(spinner) >= 0, qPrintable(spinner->objectName()));
        QVERIFY(at(form->UpDown2) + 1 == at(form->Memo3));
        QVERIFY(at(form->UpDown10) == at(form->UpDown1) + 1);
        const QWidget* beforeUpDown1 = stops.value(at(form->UpDown1) - 1);
        QCOMPARE(beforeUpDown1->parentWidget(), form->GroupBox6);

        QWidget* before = stops.value(at(form->UpDown6) - 1);
        before->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), form->UpDown6);
    }

    // Up and Down act as the arrow buttons: the handler runs on a change
    // only, and UpDown6's up arrow lowers its reversed position.
    void arrowKeys() {
        TUpDown* spinner = form->UpDown2; // 10 to 120 by 10, at 60
        spinner->setFocus();
        QSignalSpy clicks(spinner, &TUpDown::clicked);
        QTest::keyClick(spinner, Qt::Key_Up);
        QCOMPARE(programState().image[1], 70);
        QCOMPARE(form->Memo3->text(), QStringLiteral("70"));
        QTest::keyClick(spinner, Qt::Key_Down);
        QTest::keyClick(spinner, Qt::Key_Down);
        QCOMPARE(programState().image[1], 50);
        spinner->setPosition(120);
        QTest::keyClick(spinner, Qt::Key_Up);
        QCOMPARE(clicks.count(), 3);
        QCOMPARE(clicks.first().first().value<TUpDown::TUDBtnType>(), TUpDown::btNext);

        TUpDown* reversed = form->UpDown6; // Min 20, Max 0
        reversed->setPosition(5);
        reversed->setFocus();
        QTest::keyClick(reversed, Qt::Key_Up);
        QCOMPARE(reversed->position(), 4);
        QCOMPARE(programState().image[7], 4);
        QCOMPARE(form->Memo7->text(), QStringLiteral("-0.4"));
        QTest::keyClick(reversed, Qt::Key_Down);
        QTest::keyClick(reversed, Qt::Key_Down);
        QCOMPARE(programState().image[7], 6);
    }

    // A notch of the wheel is one click; finer wheels add up to a notch.
    // UpDown6's wheel up lowers its reversed position, and at the end of its
    // range runs no handler.
    void wheel() {
        TUpDown* spinner = form->UpDown5; // 44 to 99, at 47
        turnWheel(spinner, 120);
        QCOMPARE(programState().image[6], 48);
        turnWheel(spinner, 60);
        QCOMPARE(spinner->position(), 48);
        turnWheel(spinner, 60);
        QCOMPARE(spinner->position(), 49);
        turnWheel(spinner, -240);
        QCOMPARE(programState().image[6], 47);
        QCOMPARE(form->Memo6->text(), QStringLiteral("4.7"));

        TUpDown* reversed = form->UpDown6; // Min 20, Max 0
        reversed->setPosition(5);
        QSignalSpy clicks(reversed, &TUpDown::clicked);
        turnWheel(reversed, 240);
        QCOMPARE(clicks.count(), 2);
        QCOMPARE(programState().image[7], 3);
        QCOMPARE(form->Memo7->text(), QStringLiteral("-0.3"));
        turnWheel(reversed, -120);
        QCOMPARE(clicks.count(), 3);
        QCOMPARE(clicks.last().first().value<TUpDown::TUDBtnType>(), TUpDown::btPrev);
        QCOMPARE(programState().image[7], 4);
        reversed->setPosition(0);
        turnWheel(reversed, 120); // the up arrow's end
        QCOMPARE(reversed->position(), 0);
        QCOMPARE(clicks.count(), 3);
        QCOMPARE(programState().image[7], 4);
    }

    // The focus frame shows while focused and leaves no trace after.
    void focusFrame() {
        TUpDown* spinner = form->UpDown3;
        const QImage before = spinner->grab().toImage();
        spinner->setFocus();
        QVERIFY(spinner->hasFocus());
        QVERIFY(spinner->grab().toImage() != before);
        form->CheckBox1->setFocus();
        QCOMPARE(spinner->grab().toImage(), before);
    }

    // F10 opens the first menu; the arrow keys walk the bar and the items.
    void f10OpensTheMenuBar() {
        QTest::keyClick(form.get(), Qt::Key_F10);
        QCOMPARE(form->menuBar()->activeAction(), form->Datei1->menuAction());
        QTRY_VERIFY(form->Datei1->isVisible());
        QTest::keyClick(form->Datei1, Qt::Key_Down);
        QCOMPARE(form->Datei1->activeAction(), form->Setupladen1);
        QTest::keyClick(form->Datei1, Qt::Key_Right);
        QCOMPARE(form->menuBar()->activeAction(), form->Einstellungen1->menuAction());
        QTRY_VERIFY(form->Einstellungen1->isVisible());
        QTest::keyClick(form->Einstellungen1, Qt::Key_Escape);
        QTRY_VERIFY(!form->Einstellungen1->isVisible());
        QCOMPARE(form->menuBar()->actions().first()->text(), QStringLiteral("Datei"));
    }

    // The dialogs (the flight view's for several logs too) open in the home
    // folder, then in the folder of the file chosen last by any of them; a
    // cancelled dialog changes nothing.
    void dialogsOpenInTheFolderUsedLast() {
        QTemporaryDir card;
        const QString home = QDir::homePath();
        fake->fileAnswers << "";
        form->Setupladen1->trigger();
        fake->fileAnswers << card.filePath("LOG00001.CSV");
        form->nachKML2D1->trigger();
        fake->fileAnswers << "";
        form->Setupspeichern1->trigger();
        fake->fileAnswers << "";
        form->nachGMX1->trigger();
        fake->fileAnswers << ""; // the flight view's dialog for several logs
        form->Flugansehen1->trigger();
        QCOMPARE(fake->dialogsRun, (QStringList{"OpenDialog2", "OpenDialog1", "SaveDialog2",
                                                "OpenDialog1", "OpenDialog1"}));
        QCOMPARE(fake->startFolders,
                 (QStringList{home, home, card.path(), card.path(), card.path()}));
        QCOMPARE(fake->selectedNames.value(2), QStringLiteral("SETUPUPL.HEX"));

        // Gone since (a card taken out): the home folder again.
        const QString gone = card.path();
        card.remove();
        fake->fileAnswers << "";
        form->Setupladen1->trigger();
        QCOMPARE(fake->startFolders.last(), home);
        QVERIFY(!QDir(gone).exists());
    }
};

QTEST_MAIN(TestWindowKeyboard)
#include "tst_window_keyboard.moc"
