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
    // Every other byte must stay as it was.
    void expectOnlyChanged(const std::array<quint8, 20>& before, int byte, int value) {
        for (int k = 0; k < 20; ++k)
            QCOMPARE(int(image()[k]), k == byte ? value : int(before[k]));
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

    void valuesOutsideTheControls() {
        TForm1& f = *form;
        auto bytes = DefaultBytes;
        bytes[0] = 255;
        bytes[2] = 200;
        bytes[7] = 255;
        bytes[4] = 7;
        bytes[14] = 0;
        bytes[15] = 2;
        bytes[17] = 128;
        bytes[18] = 255;
        show(bytes);
        QCOMPARE(f.UpDown1->position(), 69);
        QCOMPARE(f.Memo1->text(), QStringLiteral("439.425"));
        QCOMPARE(f.Memo2->text(), QStringLiteral("255"));
        QCOMPARE(f.UpDown3->position(), 60);
        QCOMPARE(f.Memo4->text(), QStringLiteral("200"));
        QCOMPARE(f.UpDown6->position(), 20);
        QCOMPARE(f.Memo7->text(), QStringLiteral("-25.5"));
        QVERIFY(f.RadioButton1->isChecked()); // no button for 7: selection stays
        QVERIFY(f.RadioButton24->isChecked());
        QVERIFY(f.RadioButton26->isChecked());
        QCOMPARE(f.UpDown11->position(), 5);
        QCOMPARE(f.Memo14->text(), QStringLiteral("0"));
        QVERIFY(f.CheckBox6->isChecked());
        QCOMPARE(f.UpDown12->position(), 100);
        QCOMPARE(f.Memo15->text(), QStringLiteral("255"));
        QVERIFY(!f.CheckBox5->isChecked());

        bytes[17] = 35;
        show(bytes);
        QCOMPARE(f.Memo14->text(), QStringLiteral("3.5"));
        QVERIFY(!f.CheckBox6->isChecked());
        bytes[17] = 0;
        show(bytes);
        QCOMPARE(f.Memo14->text(), QString());
    }

    // 60 is what "keine Ansage" stores; 0 never comes from the tool.
    void noIntervalAnnouncementShows_data() {
        QTest::addColumn<int>("byte3");
        QTest::newRow("60") << 60;
        QTest::newRow("0") << 0;
    }
    void noIntervalAnnouncementShows() {
        QFETCH(int, byte3);
        TForm1& f = *form;
        up(f.UpDown4); // 25
        auto bytes = DefaultBytes;
        bytes[3] = quint8(byte3);
        show(bytes);
        QVERIFY(f.CheckBox1->isChecked());
        QCOMPARE(f.Memo5->text(), QString());
        QCOMPARE(f.UpDown4->position(), 25);
        QCOMPARE(int(image()[3]), byte3);
    }

    void setup13Shown() {
        TForm1& f = *form;
        click(f.RadioButton22);
        auto bytes = DefaultBytes;
        bytes[13] = 0;
        show(bytes);
        QCOMPARE(image().valueMode, 0);
        QCOMPARE(image().announcementStep, 0);
        QVERIFY(f.RadioButton22->isChecked());
        QVERIFY(!f.CheckBox4->isChecked());
        QCOMPARE(f.Memo10->text(), QString());
        QCOMPARE(f.UpDown9->position(), 1);

        bytes[13] = 7;
        show(bytes);
        QCOMPARE(f.Memo10->text(), QStringLiteral("10"));
        bytes[13] = 9;
        show(bytes);
        QCOMPARE(image().valueMode, 1);
        QCOMPARE(image().announcementStep, 4);
        QVERIFY(f.RadioButton21->isChecked());
        QCOMPARE(f.UpDown9->position(), 3);
        QVERIFY(f.CheckBox4->isChecked());
        QCOMPARE(f.Memo10->text(), QStringLiteral("10")); // no text for step 4
    }

    void spinnersAtTheirEnds() {
        TForm1& f = *form;
        // Reversed range: up heads for 0, down for 20.
        image()[7] = 99;
        up(f.UpDown6);
        QCOMPARE(f.UpDown6->position(), 0);
        QCOMPARE(int(image()[7]), 99); // no change, no handler
        down(f.UpDown6, 5);
        QCOMPARE(int(image()[7]), 5);
        QCOMPARE(f.Memo7->text(), QStringLiteral("-0.5"));
        up(f.UpDown6);
        QCOMPARE(int(image()[7]), 4);
        QCOMPARE(f.Memo7->text(), QStringLiteral("-0.4"));
        down(f.UpDown6, 30);
        QCOMPARE(int(image()[7]), 20);
        QCOMPARE(f.Memo7->text(), QStringLiteral("-2"));

        up(f.UpDown2, 10);
        QCOMPARE(f.UpDown2->position(), 120);
        QCOMPARE(int(image()[1]), 120);
        QCOMPARE(f.Memo3->text(), QStringLiteral("120"));

        up(f.UpDown1, 25);
        QCOMPARE(int(image()[0]), 26);
        QCOMPARE(f.Memo1->text(), QStringLiteral("433.700"));
        QCOMPARE(f.Memo2->text(), QStringLiteral("26"));
        up(f.UpDown1, 50);
        QCOMPARE(f.Memo1->text(), QStringLiteral("434.775"));

        up(f.UpDown5);
        QCOMPARE(int(image()[6]), 48);
        QCOMPARE(f.Memo6->text(), QStringLiteral("4.8"));
        down(f.UpDown10);
        QCOMPARE(int(image()[16]), 3);
        up(f.UpDown10, 20);
        QCOMPARE(int(image()[16]), 20);
        QCOMPARE(f.Memo13->text(), QStringLiteral("20"));
        up(f.UpDown3);
        QCOMPARE(int(image()[2]), 30);
        QCOMPARE(f.Memo4->text(), QStringLiteral("30"));
    }

    void integralIntervalBox() {
        TForm1& f = *form;
        down(f.UpDown4, 2);
        QCOMPARE(int(image()[3]), 10);
        QCOMPARE(f.Memo5->text(), QStringLiteral("10"));
        click(f.CheckBox1);
        QCOMPARE(int(image()[3]), 60);
        QCOMPARE(f.Memo5->text(), QString());
        up(f.UpDown4);
        QCOMPARE(f.UpDown4->position(), 15);
        QCOMPARE(int(image()[3]), 60);
        QCOMPARE(f.Memo5->text(), QString());
        click(f.CheckBox1);
        QCOMPARE(int(image()[3]), 20);
        QCOMPARE(f.UpDown4->position(), 20);
        QCOMPARE(f.Memo5->text(), QStringLiteral("20"));
    }

    void thresholdsWithOffBox() {
        TForm1& f = *form;
        // Setup 11: clearing shows the byte (0) and parks the spinner at 5.
        up(f.UpDown7, 3);
        QCOMPARE(int(image()[11]), 0);
        click(f.CheckBox2);
        QCOMPARE(f.Memo8->text(), QStringLiteral("0"));
        QCOMPARE(f.UpDown7->position(), 5);
        QCOMPARE(int(image()[11]), 0);
        const auto before = image().bytes;
        down(f.UpDown7);
        QCOMPARE(hex(image().bytes), hex(before));
        up(f.UpDown7);
        QCOMPARE(int(image()[11]), 10);
        QCOMPARE(f.Memo8->text(), QStringLiteral("10"));
        click(f.CheckBox2);
        QCOMPARE(int(image()[11]), 0);
        QCOMPARE(f.Memo8->text(), QString());

        // Setup 12 in half volts.
        click(f.CheckBox3);
        QCOMPARE(f.Memo9->text(), QStringLiteral("0"));
        QCOMPARE(f.UpDown8->position(), 10);
        QCOMPARE(int(image()[12]), 0);
        up(f.UpDown8);
        QCOMPARE(int(image()[12]), 11);
        QCOMPARE(f.Memo9->text(), QStringLiteral("5.5"));
        up(f.UpDown8, 200);
        QCOMPARE(int(image()[12]), 100);
        QCOMPARE(f.Memo9->text(), QStringLiteral("50"));

        // Setup 18: clearing stores the spinner's value at once.
        click(f.CheckBox5);
        QCOMPARE(int(image()[18]), 20);
        QCOMPARE(f.Memo15->text(), QStringLiteral("20"));
        up(f.UpDown12, 20);
        QCOMPARE(int(image()[18]), 100);
        click(f.CheckBox5);
        QCOMPARE(int(image()[18]), 0);
        QCOMPARE(f.Memo15->text(), QString());
        QCOMPARE(f.UpDown12->position(), 100);
        down(f.UpDown12);
        QCOMPARE(int(image()[18]), 0);
        QCOMPARE(f.Memo15->text(), QString());
    }

    void plainRadioButtons() {
        TForm1& f = *form;
        const QList<std::tuple<QRadioButton*, int, int>> choices = {
            {f.RadioButton2, 4, 2},   {f.RadioButton30, 4, 3},  {f.RadioButton31, 4, 4},
            {f.RadioButton32, 4, 5},  {f.RadioButton33, 4, 6},  {f.RadioButton1, 4, 1},
            {f.RadioButton4, 5, 2},   {f.RadioButton5, 5, 3},   {f.RadioButton29, 5, 4},
            {f.RadioButton3, 5, 1},   {f.RadioButton6, 8, 0},   {f.RadioButton8, 8, 2},
            {f.RadioButton9, 8, 3},   {f.RadioButton10, 8, 4},  {f.RadioButton7, 8, 1},
            {f.RadioButton12, 9, 1},  {f.RadioButton13, 9, 2},  {f.RadioButton14, 9, 3},
            {f.RadioButton15, 9, 4},  {f.RadioButton16, 9, 5},  {f.RadioButton18, 10, 1},
            {f.RadioButton19, 10, 2}, {f.RadioButton17, 10, 0}, {f.RadioButton23, 14, 1},
            {f.RadioButton25, 14, 3}, {f.RadioButton24, 14, 2}, {f.RadioButton27, 15, 0},
            {f.RadioButton26, 15, 1}};
        for (const auto& [button, byte, value] : choices) {
            image()[byte] = 77;
            const auto before = image().bytes;
            click(button);
            QVERIFY2(button->isChecked(), qPrintable(button->objectName()));
            expectOnlyChanged(before, byte, value);
        }
        // Setup 4's buttons on their own line share the set with the others.
        click(f.RadioButton31);
        QVERIFY(!f.RadioButton1->isChecked());
        click(f.RadioButton2);
        QVERIFY(!f.RadioButton31->isChecked());
        QVERIFY(f.RadioButton3->isChecked()); // other groups stay
    }

    void withoutCurrentSensorMotorAlarmOff() {
        TForm1& f = *form;
        auto bytes = DefaultBytes;
        bytes[9] = 1;
        bytes[12] = 20;
        show(bytes);
        QVERIFY(f.RadioButton12->isChecked());
        QVERIFY(!f.CheckBox3->isChecked());
        click(f.RadioButton11);
        QCOMPARE(int(image()[9]), 0);
        QCOMPARE(int(image()[12]), 0);
        QVERIFY(f.CheckBox3->isChecked());
        QCOMPARE(f.Memo9->text(), QString());
        QCOMPARE(f.UpDown8->position(), 10);
        click(f.RadioButton12);
        QCOMPARE(int(image()[9]), 1);
        QCOMPARE(int(image()[12]), 0);
    }

    void pitotSensorTemperatureAlarmOff_data() {
        QTest::addColumn<int>("buttonNumber");
        QTest::addColumn<int>("value");
        QTest::newRow("250 km/h") << 20 << 3;
        QTest::newRow("450 km/h") << 28 << 4;
    }
    void pitotSensorTemperatureAlarmOff() {
        QFETCH(int, buttonNumber);
        QFETCH(int, value);
        TForm1& f = *form;
        auto bytes = DefaultBytes;
        bytes[11] = 45;
        show(bytes);
        QCOMPARE(f.UpDown7->position(), 45);
        click(buttonNumber == 20 ? f.RadioButton20 : f.RadioButton28);
        QCOMPARE(int(image()[10]), value);
        QCOMPARE(int(image()[11]), 0);
        QVERIFY(f.CheckBox2->isChecked());
        QCOMPARE(f.Memo8->text(), QString());
        QCOMPARE(f.UpDown7->position(), 5);
        // The box was ticked already: the alarm stays off, nothing else moves.
        click(f.RadioButton17);
        const auto before = image().bytes;
        click(buttonNumber == 20 ? f.RadioButton20 : f.RadioButton28);
        expectOnlyChanged(before, 10, value);
    }

    void setup13Byte() {
        TForm1& f = *form;
        click(f.RadioButton22);
        QCOMPARE(int(image()[13]), 2);
        click(f.CheckBox4);
        QCOMPARE(int(image()[13]), 4);
        QCOMPARE(f.Memo10->text(), QStringLiteral("2"));
        up(f.UpDown9);
        QCOMPARE(f.Memo10->text(), QStringLiteral("5"));
        up(f.UpDown9, 3);
        QCOMPARE(int(image()[13]), 8);
        QCOMPARE(f.Memo10->text(), QStringLiteral("10"));
        click(f.RadioButton21);
        QCOMPARE(int(image()[13]), 7);
        click(f.RadioButton22);
        click(f.CheckBox4);
        QCOMPARE(int(image()[13]), 2);
        QCOMPARE(f.Memo10->text(), QString());
        down(f.UpDown9);
        QCOMPARE(int(image()[13]), 2);
        QCOMPARE(f.Memo10->text(), QString());
        QCOMPARE(image().announcementStep, 0);

        // After a byte 13 of 0 the value mode is 0 until a button is chosen.
        auto bytes = DefaultBytes;
        bytes[13] = 0;
        show(bytes);
        QCOMPARE(f.UpDown9->position(), 1);
        click(f.CheckBox4);
        QCOMPARE(int(image()[13]), 2);
        QCOMPARE(image().valueMode, 0);
        click(f.RadioButton21);
        QCOMPARE(int(image()[13]), 3);
    }

    void capacityPercentBit() {
        TForm1& f = *form;
        up(f.UpDown11, 30);
        QCOMPARE(int(image()[17]), 35);
        QCOMPARE(f.Memo14->text(), QStringLiteral("3.5"));
        click(f.CheckBox6);
        QCOMPARE(int(image()[17]), 163);
        QCOMPARE(f.Memo14->text(), QStringLiteral("3.5"));
        up(f.UpDown11);
        QCOMPARE(int(image()[17]), 164);
        QCOMPARE(f.Memo14->text(), QStringLiteral("3.6"));
        up(f.UpDown11, 100);
        QCOMPARE(int(image()[17]), 99 + 128);
        down(f.UpDown11, 63);
        click(f.CheckBox6);
        QCOMPARE(int(image()[17]), 36);
        QCOMPARE(f.Memo14->text(), QStringLiteral("3.6"));
    }
};

QTEST_MAIN(TestSetupEditor)
#include "tst_setup_editor.moc"
