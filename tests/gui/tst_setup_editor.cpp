#include "common/fakedialogs.h"

#include "app/tform1.h"
#include "app/ui/tupdown.h"
#include "core/programstate.h"
#include "setup/setupimage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QRadioButton>
#include <QSet>
#include <QTest>
#include <QToolButton>
#include <memory>

namespace {

SetupImage& image() {
    return programState().image;
}

void up(TUpDown* s, int times = 1) {
    for (int i = 0; i < times; ++i)
        QTest::mouseClick(s->upButton(), Qt::LeftButton);
}
void down(TUpDown* s, int times = 1) {
    for (int i = 0; i < times; ++i)
        QTest::mouseClick(s->downButton(), Qt::LeftButton);
}
// On the indicator: a wide button's centre may lie beyond its caption.
void click(QAbstractButton* b) {
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
}

// Compared as QByteArray, so that a failure prints the bytes.
QByteArray hex(const std::array<quint8, 20>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), 20).toHex(' ');
}

const std::array<quint8, 20> DefaultBytes = {1, 60, 20, 20, 1, 1, 47, 0, 1, 0,
                                             0, 0,  0,  1,  2, 1, 3,  0, 0, 0};

} // namespace

class TestSetupEditor : public QObject {
    Q_OBJECT

    FakeDialogs fake;
    std::unique_ptr<TForm1> form;

    // Shows a whole image, as loading a file does.
    void show(const std::array<quint8, 20>& bytes) {
        image().bytes = bytes;
        form->ShowSetupImage();
    }
  private slots:
    void init() {
        QLocale::setDefault(QLocale::c());
        resetProgramState();
        form = std::make_unique<TForm1>();
        // Setups of later firmware take part here whatever variant the window starts with.
        for (QWidget* w : std::initializer_list<QWidget*>{
                 form->RadioButton29, form->CheckBox4, form->UpDown9, form->Memo10,
                 form->GroupBox19, form->GroupBox20, form->GroupBox21})
            w->setVisible(true);
        LoadDefaultSetup(image());
        form->ShowSetupImage();
    }
    void cleanup() {
        form.reset();
        fake.infos.clear();
        fake.errors.clear();
    }

    void defaultSetupOnControls() {
        TForm1& f = *form;
        QCOMPARE(hex(image().bytes), hex(DefaultBytes));
        const QList<QPair<QLineEdit*, const char*>> memos = {
            {f.Memo1, "433.075"}, {f.Memo2, "1"}, {f.Memo3, "60"}, {f.Memo4, "20"}, {f.Memo5, "20"},
            {f.Memo6, "4.7"},     {f.Memo7, "0"}, {f.Memo13, "3"}, {f.Memo8, ""},   {f.Memo9, ""},
            {f.Memo10, ""},       {f.Memo14, ""}, {f.Memo15, ""}};
        for (const auto& [memo, text] : memos)
            QCOMPARE(memo->text(), QString::fromLatin1(text));
        QCOMPARE(f.CheckBox1->isChecked(), false);
        QCOMPARE(f.CheckBox2->isChecked(), true);
        QCOMPARE(f.CheckBox3->isChecked(), true);
        QCOMPARE(f.CheckBox4->isChecked(), false);
        QCOMPARE(f.CheckBox5->isChecked(), true);
        QCOMPARE(f.CheckBox6->isChecked(), false);
        for (QRadioButton* r : {f.RadioButton1, f.RadioButton3, f.RadioButton7, f.RadioButton11,
                                f.RadioButton17, f.RadioButton21, f.RadioButton24, f.RadioButton26})
            QVERIFY2(r->isChecked(), qPrintable(r->objectName()));
        QCOMPARE(image().valueMode, 1);
        QCOMPARE(image().announcementStep, 0);

        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        f.ShowSetupImage();
        QCOMPARE(f.Memo1->text(), QStringLiteral("433,075"));
        QCOMPARE(f.Memo6->text(), QStringLiteral("4,7"));
        up(f.UpDown8);
        QCOMPARE(f.Memo9->text(), QString()); // box still ticked
        click(f.CheckBox3);
        up(f.UpDown8);
        QCOMPARE(f.Memo9->text(), QStringLiteral("5,5"));
        down(f.UpDown6, 3);
        QCOMPARE(f.Memo7->text(), QStringLiteral("-0,3"));
    }

    // Showing never runs a handler, so it never changes the image, whatever
    // the controls showed before and whatever the bytes hold.
    void showingLeavesEveryByte() {
        for (int v = 0; v < 256; ++v) {
            std::array<quint8, 20> bytes;
            for (int k = 0; k < 20; ++k)
                bytes[k] = quint8(v + 7 * k);
            show(bytes);
            QCOMPARE(hex(image().bytes), hex(bytes));
        }
        QCOMPARE(fake.errors, QStringList());
    }

    void showOverridesEditedControls() {
        TForm1& f = *form;
        click(f.CheckBox1);
        click(f.RadioButton12);
        auto bytes = DefaultBytes;
        bytes[3] = 15;
        bytes[9] = 0;
        bytes[12] = 20;
        show(bytes);
        QVERIFY(!f.CheckBox1->isChecked());
        QCOMPARE(f.Memo5->text(), QStringLiteral("15"));
        QCOMPARE(f.UpDown4->position(), 15);
        QVERIFY(f.RadioButton11->isChecked());
        QVERIFY(!f.CheckBox3->isChecked());
        QCOMPARE(f.Memo9->text(), QStringLiteral("10"));
        QCOMPARE(hex(image().bytes), hex(bytes));
    }

    // Works every control of the window once, in one run from the default
    // setup, and checks the byte each writes (and the alarm a choice switches
    // off); what the handlers do beyond that is the setup model's, tested
    // there. Boxes come before the spinners they free.
    void everyControlWritesItsByte() {
        enum Action { Up, Down, Click };
        struct Step {
            const char* control;
            Action action;
            int byte;
            int value;
            int alsoByte = -1; // a second byte the step writes
            int alsoValue = 0;
        };
        const Step steps[] = {
            {"UpDown1", Up, 0, 2},
            {"UpDown2", Up, 1, 70},
            {"UpDown3", Up, 2, 30},
            {"UpDown4", Up, 3, 25},
            {"CheckBox1", Click, 3, 60},
            {"UpDown5", Up, 6, 48},
            {"UpDown6", Down, 7, 1},
            {"CheckBox2", Click, 11, 0},
            {"UpDown7", Up, 11, 10},
            {"CheckBox3", Click, 12, 0},
            {"UpDown8", Up, 12, 11},
            {"CheckBox4", Click, 13, 3},
            {"UpDown9", Up, 13, 5},
            {"UpDown10", Up, 16, 4},
            {"UpDown11", Up, 17, 6},
            {"CheckBox6", Click, 17, 134},
            {"CheckBox5", Click, 18, 20},
            {"UpDown12", Up, 18, 30},
            {"RadioButton30", Click, 4, 3},
            {"RadioButton31", Click, 4, 4},
            {"RadioButton32", Click, 4, 5},
            {"RadioButton33", Click, 4, 6},
            {"RadioButton2", Click, 4, 2},
            {"RadioButton1", Click, 4, 1},
            {"RadioButton4", Click, 5, 2},
            {"RadioButton5", Click, 5, 3},
            {"RadioButton29", Click, 5, 4},
            {"RadioButton3", Click, 5, 1},
            {"RadioButton6", Click, 8, 0},
            {"RadioButton8", Click, 8, 2},
            {"RadioButton9", Click, 8, 3},
            {"RadioButton10", Click, 8, 4},
            {"RadioButton7", Click, 8, 1},
            {"RadioButton12", Click, 9, 1},
            {"RadioButton13", Click, 9, 2},
            {"RadioButton14", Click, 9, 3},
            {"RadioButton15", Click, 9, 4},
            {"RadioButton16", Click, 9, 5},
            {"RadioButton11", Click, 9, 0, 12, 0}, // no current sensor: motor alarm off
            {"RadioButton18", Click, 10, 1},
            {"RadioButton19", Click, 10, 2},
            {"RadioButton20", Click, 10, 3, 11, 0}, // Pitot sensor: temperature alarm off
            {"RadioButton28", Click, 10, 4},
            {"RadioButton17", Click, 10, 0},
            {"RadioButton22", Click, 13, 6},
            {"RadioButton21", Click, 13, 5},
            {"RadioButton23", Click, 14, 1},
            {"RadioButton25", Click, 14, 3},
            {"RadioButton24", Click, 14, 2},
            {"RadioButton27", Click, 15, 0},
            {"RadioButton26", Click, 15, 1},
        };
        QSet<QString> worked;
        for (const Step& step : steps) {
            const QString name = QString::fromLatin1(step.control);
            QWidget* control = form->findChild<QWidget*>(name);
            QVERIFY2(control, step.control);
            const auto before = image().bytes;
            if (auto* spinner = qobject_cast<TUpDown*>(control))
                step.action == Up ? up(spinner) : down(spinner);
            else
                click(qobject_cast<QAbstractButton*>(control));
            for (int k = 0; k < 20; ++k) {
                const int expected = k == step.byte       ? step.value
                                     : k == step.alsoByte ? step.alsoValue
                                                          : int(before[k]);
                QVERIFY2(int(image()[k]) == expected,
                         qPrintable(QStringLiteral("%1: byte %2 is %3, expected %4")
                                        .arg(name)
                                        .arg(k)
                                        .arg(int(image()[k]))
                                        .arg(expected)));
            }
            worked << name;
        }
        // The switched-off alarms show ticked boxes; setup 13 shows its step.
        QVERIFY(form->CheckBox2->isChecked());
        QVERIFY(form->CheckBox3->isChecked());
        QCOMPARE(form->Memo10->text(), QStringLiteral("5"));
        QCOMPARE(worked.size(), 12 + 33 + 6);
    }
};

QTEST_MAIN(TestSetupEditor)
#include "tst_setup_editor.moc"
