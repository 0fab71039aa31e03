#include "setup/setupmodel.h"
#include "setup/setuptext.h"

#include <QLocale>
#include <QTest>

namespace {

// The values the window's controls can put into each byte.
bool toolWrites(int setup, int v) {
    const auto steps = [v](int from, int to, int step) {
        return v >= from && v <= to && (v - from) % step == 0;
    };
    switch (setup) {
    case 0:
        return steps(1, 69, 1);
    case 1:
        return steps(10, 120, 10);
    case 2:
        return steps(10, 60, 10);
    case 3:
        return steps(5, 30, 5) || v == 60;
    case 4:
        return steps(1, 6, 1);
    case 5:
        return steps(1, 4, 1);
    case 6:
        return steps(44, 99, 1);
    case 7:
        return steps(0, 20, 1);
    case 8:
    case 10:
        return steps(0, 4, 1);
    case 9:
        return steps(0, 5, 1);
    case 11:
        return v == 0 || steps(5, 125, 5);
    case 12:
        return v == 0 || steps(10, 100, 1);
    case 13:
        return steps(1, 8, 1);
    case 14:
        return steps(1, 3, 1);
    case 15:
        return steps(0, 1, 1);
    case 16:
        return steps(3, 20, 1);
    case 17:
        return steps(5, 99, 1) || steps(133, 227, 1);
    case 18:
        return v == 0 || steps(20, 100, 10);
    }
    return false;
}

const FirmwareVariant Late{500, 0};
const FirmwareVariant Early{407, 0};

EditorState shown(int setup, int value) {
    EditorState state = startState();
    state.image[setup] = static_cast<quint8>(value);
    showImage(state);
    return state;
}

} // namespace

class TestSetupModel : public QObject {
    Q_OBJECT

  private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    // Every value of every byte: showing it changes no byte (so saving again
    // writes it unchanged), and each value the controls can write reads back
    // as a value that, set on the default setup, writes that byte again.
    void everyByteShownAndWrittenAgain() {
        for (int setup = 0; setup < SetupCount; ++setup) {
            for (int v = 0; v < 256; ++v) {
                const EditorState state = shown(setup, v);
                SetupImage expected = startState().image;
                expected[setup] = static_cast<quint8>(v);
                QCOMPARE(state.image.bytes, expected.bytes);
                if (!toolWrites(setup, v))
                    continue;
                const QString form = valueForm(state, setup, Late);
                const QString assignment = QStringLiteral("%1=%2").arg(setup).arg(form);
                EditorState edited = startState();
                QVERIFY2(!applyAssignment(edited, assignment, Late), qPrintable(assignment));
                QVERIFY2(edited.image.bytes == expected.bytes, qPrintable(assignment));
            }
        }
    }

    // What show prints as SETUP=VALUE, typed back on the file it was read
    // from, writes it unchanged; only the bytes the controls cannot write
    // have no such form. Firmware 407 keeps setup 13's hidden step.
    void everyPrintedFormWritesItsByteAgain() {
        for (const FirmwareVariant& firmware : {Late, Early}) {
            for (const SetupDefinition& s : setupDefinitions()) {
                if (!isOffered(s.offered, firmware))
                    continue;
                for (int v = 0; v < 256; ++v) {
                    const EditorState state = shown(s.number, v);
                    const QString form = valueForm(state, s.number, firmware);
                    const QString assignment = QStringLiteral("%1=%2").arg(s.number).arg(form);
                    if (firmware.version == Late.version)
                        QCOMPARE(!form.isEmpty(), toolWrites(s.number, v));
                    if (form.isEmpty())
                        continue;
                    EditorState edited = state;
                    QVERIFY2(!applyAssignment(edited, assignment, firmware),
                             qPrintable(assignment));
                    QVERIFY2(edited.image.bytes == state.image.bytes, qPrintable(assignment));
                }
            }
        }
        // 407 chooses the value mode alone, as its window with the step hidden.
        EditorState hiddenStep = shown(13, 5);
        QCOMPARE(valueForm(hiddenStep, 13, Early), QStringLiteral("1"));
        QVERIFY(!applyAssignment(hiddenStep, QStringLiteral("13=2"), Early));
        QCOMPARE(int(hiddenStep.image[13]), 6);
        QCOMPARE(valueForm(shown(5, 4), 5, Early), QString()); // its option 4 is hidden
    }

    void displaysOfOddBytes() {
        QCOMPARE(shown(0, 255).groups[0].frequency, QStringLiteral("439.425"));
        QCOMPARE(shown(0, 255).groups[0].position, 69);
        QCOMPARE(shown(7, 255).groups[7].shown, QStringLiteral("-25.5"));
        QCOMPARE(shown(7, 0).groups[7].shown, QStringLiteral("0"));
        QCOMPARE(shown(12, 100).groups[12].shown, QStringLiteral("50"));
        // Beyond the spinner's range: the spinner stops at its end, the
        // display shows the byte.
        QCOMPARE(shown(2, 200).groups[2].position, 60);
        QCOMPARE(shown(2, 200).groups[2].shown, QStringLiteral("200"));
        const EditorState capacityAlarm = shown(18, 255);
        QCOMPARE(capacityAlarm.groups[18].position, 100);
        QCOMPARE(capacityAlarm.groups[18].shown, QStringLiteral("255"));
        QVERIFY(!capacityAlarm.groups[18].ticked);
        // 60 and 0 both read as "keine Ansage"; the spinner keeps its place.
        for (int v : {0, 60}) {
            const EditorState s = shown(3, v);
            QVERIFY(s.groups[3].ticked);
            QCOMPARE(s.groups[3].shown, QString());
            QCOMPARE(s.groups[3].position, 20);
        }
        const EditorState capacity = shown(17, 128);
        QVERIFY(capacity.groups[17].ticked);
        QCOMPARE(capacity.groups[17].shown, QStringLiteral("0"));
        QCOMPARE(capacity.groups[17].position, 5);
        QCOMPARE(shown(17, 0).groups[17].shown, QString());
        QCOMPARE(shown(17, 35).groups[17].shown, QStringLiteral("3.5"));
        QVERIFY(!shown(17, 35).groups[17].ticked);
        // No button for the value: the selection stays, the text says so.
        const EditorState speed = shown(4, 7);
        QCOMPARE(speed.groups[4].option, 0);
        QCOMPARE(valueForm(speed, 4, Late), QString());
        QCOMPARE(shownValue(speed, 4, CaptionLanguage::English, Late),
                 QStringLiteral("unknown value"));
        const EditorState step4 = shown(13, 9);
        QCOMPARE(step4.image.announcementStep, 4);
        QCOMPARE(step4.groups[13].position, 3);
        QVERIFY(step4.groups[13].ticked);
        QCOMPARE(announcementStepText(4), std::nullopt); // "n" keeps what it showed
        QCOMPARE(announcementStepText(shown(13, 7).image.announcementStep), QStringLiteral("10"));
        // Byte 13 of 0: value mode 0, no step, box clear.
        const EditorState noMode = shown(13, 0);
        QCOMPARE(noMode.image.valueMode, 0);
        QCOMPARE(noMode.image.announcementStep, 0);
        QVERIFY(!noMode.groups[13].ticked);
    }

    void choicesSwitchOffAlarms() {
        EditorState s = shown(12, 20);
        s.groups[12].position = 20;
        optionSelected(s, 9, 0); // without current sensor
        QCOMPARE(int(s.image[9]), 0);
        QCOMPARE(int(s.image[12]), 0);
        QVERIFY(s.groups[12].ticked);
        QCOMPARE(s.groups[12].shown, QString());
        QCOMPARE(s.groups[12].position, 10);
        optionSelected(s, 9, 1);
        QCOMPARE(int(s.image[12]), 0); // the 20 does not come back

        for (int option : {3, 4}) { // Pitot sensor of 250 or 450 km/h
            EditorState t = shown(11, 45);
            optionSelected(t, 10, option);
            QCOMPARE(int(t.image[10]), option);
            QCOMPARE(int(t.image[11]), 0);
            QVERIFY(t.groups[11].ticked);
            QCOMPARE(t.groups[11].position, 5);
            // The alarm was off already: choosing again moves nothing else.
            optionSelected(t, 10, 0);
            const SetupImage before = t.image;
            optionSelected(t, 10, option);
            for (int k = 0; k < 20; ++k)
                QCOMPARE(int(t.image[k]), k == 10 ? option : int(before[k]));
        }
    }

    void offBoxes() {
        EditorState s = startState();
        // Setup 3: ticking stores 60 and keeps it under spinner clicks; clearing gives 20.
        setBox(s, 3, true);
        QCOMPARE(int(s.image[3]), 60);
        s.groups[3].position = 10;
        spinnerClicked(s, 3);
        QCOMPARE(int(s.image[3]), 60);
        QCOMPARE(s.groups[3].shown, QString());
        setBox(s, 3, false);
        QCOMPARE(int(s.image[3]), 20);
        QCOMPARE(s.groups[3].position, 20);
        QCOMPARE(s.groups[3].shown, QStringLiteral("20"));

        // Setups 11 and 12: clearing shows the byte, still 0, and parks the spinner.
        setBox(s, 12, false);
        QCOMPARE(int(s.image[12]), 0);
        QCOMPARE(s.groups[12].shown, QStringLiteral("0"));
        QCOMPARE(s.groups[12].position, 10);
        s.groups[12].position = 11;
        spinnerClicked(s, 12);
        QCOMPARE(s.groups[12].shown, QStringLiteral("5.5"));
        // Setup 18: clearing stores the spinner's value at once.
        setBox(s, 18, false);
        QCOMPARE(int(s.image[18]), 20);
        // Ticked again: 0, the spinner stays, and its clicks store nothing.
        s.groups[18].position = 100;
        spinnerClicked(s, 18);
        QCOMPARE(int(s.image[18]), 100);
        setBox(s, 18, true);
        QCOMPARE(int(s.image[18]), 0);
        QCOMPARE(s.groups[18].shown, QString());
        QCOMPARE(s.groups[18].position, 100);
        s.groups[18].position = 90;
        spinnerClicked(s, 18);
        QCOMPARE(int(s.image[18]), 0);
        setBox(s, 18, false);
        QCOMPARE(int(s.image[18]), 90);
        // The program setting a box to what it shows runs no handler.
        s.image[18] = 77;
        setBox(s, 18, false);
        QCOMPARE(int(s.image[18]), 77);
    }

    void setup13And17Bytes() {
        EditorState s = shown(13, 0); // value mode 0 until a button is chosen
        s.groups[13].ticked = true;
        boxChanged(s, 13);
        QCOMPARE(int(s.image[13]), 2);
        QCOMPARE(announcementStepText(s.image.announcementStep), QStringLiteral("2"));
        optionSelected(s, 13, 1);
        QCOMPARE(int(s.image[13]), 4);
        s.groups[13].position = 3;
        spinnerClicked(s, 13);
        QCOMPARE(int(s.image[13]), 8);
        QCOMPARE(announcementStepText(s.image.announcementStep), QStringLiteral("10"));
        setBox(s, 13, false);
        QCOMPARE(int(s.image[13]), 2);

        s.groups[17].position = 35;
        setBox(s, 17, true);
        QCOMPARE(int(s.image[17]), 163);
        QCOMPARE(s.groups[17].shown, QStringLiteral("3.5"));
        setBox(s, 17, false);
        QCOMPARE(int(s.image[17]), 35);
    }

    void assignmentsActInOrderOrNotAtAll() {
        EditorState s = startState();
        QVERIFY(!applyAssignment(s, QStringLiteral("12=5,5"), Late));
        QVERIFY(!applyAssignment(s, QStringLiteral("9=2"), Late));
        QVERIFY(!applyAssignment(s, QStringLiteral("9=1"), Late)); // switches 12 off
        QCOMPARE(int(s.image[12]), 0);
        const EditorState before = s;
        for (const char* bad : {"6=4.4.4", "6=", "=5", "1=1e2", "13=1/5/2", "17=3.5%%", "11=on1"}) {
            const Status failure = applyAssignment(s, QLatin1String(bad), Late);
            QVERIFY2(failure && failure->kind == FailureKind::InvalidValue, bad);
            QVERIFY2(failure->message.contains(QLatin1String(bad)), bad);
            QVERIFY2(s.image.bytes == before.image.bytes, bad);
        }
        QVERIFY(applyAssignment(s, QStringLiteral("17=3.5"), FirmwareVariant{407, 0}));

        // A box set to what it shows runs no handler, as in the window.
        EditorState boxes = shown(3, 25);
        QVERIFY(!applyAssignment(boxes, QStringLiteral("3=on"), Late));
        QCOMPARE(int(boxes.image[3]), 25);
        boxes = shown(3, 0);
        QVERIFY(!applyAssignment(boxes, QStringLiteral("3=off"), Late));
        QCOMPARE(int(boxes.image[3]), 0);

        // "on" is taken only where clearing the box stores a value: setups 11
        // and 12 would stay off, so they name the threshold to give instead.
        boxes = shown(3, 60);
        QVERIFY(!applyAssignment(boxes, QStringLiteral("3=on"), Late));
        QCOMPARE(int(boxes.image[3]), 20);
        boxes = shown(18, 0);
        QVERIFY(!applyAssignment(boxes, QStringLiteral("18=on"), Late));
        QCOMPARE(int(boxes.image[18]), 20);
        for (int setup : {11, 12}) {
            boxes = shown(setup, 0);
            const QString on = QStringLiteral("%1=on").arg(setup);
            const Status failure = applyAssignment(boxes, on, Late);
            QVERIFY2(failure && failure->kind == FailureKind::InvalidValue, qPrintable(on));
            QVERIFY2(failure->message.contains(QStringLiteral("for example %1=").arg(setup)),
                     qPrintable(failure->message));
            QCOMPARE(int(boxes.image[setup]), 0);
        }
        QVERIFY(!applyAssignment(boxes, QStringLiteral("12=11.5"), Late));
        QCOMPARE(int(boxes.image[12]), 23);
    }
};

QTEST_GUILESS_MAIN(TestSetupModel)
#include "tst_setup_model.moc"
