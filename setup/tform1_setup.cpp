#include "core/programstate.h"
#include "app/tform1.h"
#include "app/ui/dialogs.h"
#include "app/ui/tupdown.h"
#include "setup/setupfile.h"
#include "setup/setupmodel.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopedValueRollback>

// What each control does is the setup model's (setup/setupmodel.h): a handler
// reads the controls into an editor state, lets the model act on it, and puts
// the result back on the controls.

namespace {

template <typename T> T* control(const TForm1& form, const char* name) {
    return name ? form.findChild<T*>(QLatin1String(name)) : nullptr;
}

// Only what changed is set again, so a display keeps its cursor and no
// radio button is toggled needlessly.
void setText(QLineEdit* display, const QString& text) {
    if (display && display->text() != text)
        display->setText(text);
}

} // namespace

void TForm1::bindSetupControls() {
    for (const SetupDefinition& s : setupDefinitions()) {
        SetupControls& c = m_setupControls[s.number];
        c.spinner = control<TUpDown>(*this, s.spinner);
        c.box = control<QCheckBox>(*this, s.box);
        // Setup 13's display is ShowAnnouncementStep's.
        if (s.kind != SetupKind::Announcement)
            c.display = control<QLineEdit>(*this, s.display);
        c.frequency = control<QLineEdit>(*this, s.frequencyDisplay);
        for (const SetupOption& option : s.options)
            c.options << control<QRadioButton>(*this, option.button);
    }
}

EditorState TForm1::readEditor() const {
    EditorState state;
    state.image = programState().image;
    for (int setup = 0; setup < SetupCount; ++setup) {
        const SetupControls& c = m_setupControls[setup];
        GroupState& group = state.groups[setup];
        if (c.spinner)
            group.position = c.spinner->position();
        if (c.box)
            group.ticked = c.box->isChecked();
        if (c.display)
            group.shown = c.display->text();
        if (c.frequency)
            group.frequency = c.frequency->text();
        for (int k = 0; k < c.options.size(); ++k)
            if (c.options[k]->isChecked())
                group.option = k;
    }
    return state;
}

void TForm1::showEditor(const EditorState& state) {
    // Putting the state on the controls runs no handler: the model has done
    // what the handlers of changed boxes would do.
    const QScopedValueRollback guard(m_settingControls, true);
    programState().image = state.image;
    for (int setup = 0; setup < SetupCount; ++setup) {
        const SetupControls& c = m_setupControls[setup];
        const GroupState& group = state.groups[setup];
        if (c.spinner && c.spinner->position() != group.position)
            c.spinner->setPosition(group.position);
        if (c.box && c.box->isChecked() != group.ticked)
            c.box->setChecked(group.ticked);
        setText(c.display, group.shown);
        setText(c.frequency, group.frequency);
        if (!c.options.isEmpty() && !c.options[group.option]->isChecked())
            c.options[group.option]->setChecked(true);
    }
}

void TForm1::spinnerClick(const TUpDown* spinner) {
    for (int setup = 0; setup < SetupCount; ++setup)
        if (m_setupControls[setup].spinner == spinner) {
            EditorState state = readEditor();
            spinnerClicked(state, setup);
            showEditor(state);
        }
}

void TForm1::boxClick(const QCheckBox* box) {
    for (int setup = 0; setup < SetupCount; ++setup)
        if (m_setupControls[setup].box == box) {
            EditorState state = readEditor();
            boxChanged(state, setup);
            showEditor(state);
        }
}

void TForm1::optionClick(QRadioButton* button) {
    for (int setup = 0; setup < SetupCount; ++setup) {
        const int option = m_setupControls[setup].options.indexOf(button);
        if (option >= 0) {
            EditorState state = readEditor();
            optionSelected(state, setup, option);
            showEditor(state);
        }
    }
}

void TForm1::ShowSetupImage() {
    EditorState state = readEditor();
    showImage(state);
    showEditor(state);
    ShowAnnouncementStep(programState().image.announcementStep);
}

void TForm1::ShowAnnouncementStep(qint32 step) {
    if (const auto text = announcementStepText(step))
        setText(Memo10, *text);
}

void TForm1::UpDown1Click() {
    spinnerClick(UpDown1);
}
void TForm1::UpDown2Click() {
    spinnerClick(UpDown2);
}
void TForm1::UpDown3Click() {
    spinnerClick(UpDown3);
}
void TForm1::UpDown4Click() {
    spinnerClick(UpDown4);
}
void TForm1::UpDown5Click() {
    spinnerClick(UpDown5);
}
void TForm1::UpDown6Click() {
    spinnerClick(UpDown6);
}
void TForm1::UpDown7Click() {
    spinnerClick(UpDown7);
}
void TForm1::UpDown8Click() {
    spinnerClick(UpDown8);
}
void TForm1::UpDown9Click() {
    spinnerClick(UpDown9);
    ShowAnnouncementStep(programState().image.announcementStep);
}
void TForm1::UpDown10Click() {
    spinnerClick(UpDown10);
}
void TForm1::UpDown11Click() {
    spinnerClick(UpDown11);
}
void TForm1::UpDown12Click() {
    spinnerClick(UpDown12);
}
void TForm1::RadioButton1Click() {
    optionClick(RadioButton1);
}
void TForm1::RadioButton2Click() {
    optionClick(RadioButton2);
}
void TForm1::RadioButton3Click() {
    optionClick(RadioButton3);
}
void TForm1::RadioButton4Click() {
    optionClick(RadioButton4);
}
void TForm1::RadioButton5Click() {
    optionClick(RadioButton5);
}
void TForm1::RadioButton6Click() {
    optionClick(RadioButton6);
}
void TForm1::RadioButton7Click() {
    optionClick(RadioButton7);
}
void TForm1::RadioButton8Click() {
    optionClick(RadioButton8);
}
void TForm1::RadioButton9Click() {
    optionClick(RadioButton9);
}
void TForm1::RadioButton10Click() {
    optionClick(RadioButton10);
}
void TForm1::RadioButton11Click() {
    optionClick(RadioButton11);
}
void TForm1::RadioButton12Click() {
    optionClick(RadioButton12);
}
void TForm1::RadioButton13Click() {
    optionClick(RadioButton13);
}
void TForm1::RadioButton14Click() {
    optionClick(RadioButton14);
}
void TForm1::RadioButton15Click() {
    optionClick(RadioButton15);
}
void TForm1::RadioButton16Click() {
    optionClick(RadioButton16);
}
void TForm1::RadioButton17Click() {
    optionClick(RadioButton17);
}
void TForm1::RadioButton18Click() {
    optionClick(RadioButton18);
}
void TForm1::RadioButton19Click() {
    optionClick(RadioButton19);
}
void TForm1::RadioButton20Click() {
    optionClick(RadioButton20);
}
void TForm1::RadioButton21Click() {
    optionClick(RadioButton21);
}
void TForm1::RadioButton22Click() {
    optionClick(RadioButton22);
}
void TForm1::RadioButton23Click() {
    optionClick(RadioButton23);
}
void TForm1::RadioButton24Click() {
    optionClick(RadioButton24);
}
void TForm1::RadioButton25Click() {
    optionClick(RadioButton25);
}
void TForm1::RadioButton26Click() {
    optionClick(RadioButton26);
}
void TForm1::RadioButton27Click() {
    optionClick(RadioButton27);
}
void TForm1::RadioButton28Click() {
    optionClick(RadioButton28);
}
void TForm1::RadioButton29Click() {
    optionClick(RadioButton29);
}
void TForm1::RadioButton30Click() {
    optionClick(RadioButton30);
}
void TForm1::RadioButton31Click() {
    optionClick(RadioButton31);
}
void TForm1::RadioButton32Click() {
    optionClick(RadioButton32);
}
void TForm1::RadioButton33Click() {
    optionClick(RadioButton33);
}
void TForm1::CheckBox1Click() {
    boxClick(CheckBox1);
}
void TForm1::CheckBox2Click() {
    boxClick(CheckBox2);
}
void TForm1::CheckBox3Click() {
    boxClick(CheckBox3);
}
void TForm1::CheckBox4Click() {
    boxClick(CheckBox4);
    ShowAnnouncementStep(programState().image.announcementStep);
}
void TForm1::CheckBox5Click() {
    boxClick(CheckBox5);
}
void TForm1::CheckBox6Click() {
    boxClick(CheckBox6);
}

void TForm1::Setupladen1Click() {
    const QString path = dialogs().runFileDialog(OpenDialog2);
    if (path.isEmpty())
        return;
    const auto loaded = loadSetupFile(programState().image, path);
    if (!loaded) {
        showFailure(loaded.failure());
        return;
    }
    if (!isValidSetupLength(*loaded)) {
        dialogs().information(this, QString::fromUtf8(NotASetupFileText));
        LoadDefaultSetup(programState().image);
    }
    ShowSetupImage();
}

void TForm1::Setupspeichern1Click() {
    // Proposed before every run; only the folder of the answer counts.
    const QString name = QLatin1String(SetupFileName);
    SaveDialog2->selectFile(name);
    SaveDialog2->setProperty("fileName", name);
    const QString path = dialogs().runFileDialog(SaveDialog2);
    if (path.isEmpty())
        return;
    if (const auto failure = saveSetupFile(programState().image, QFileInfo(path).absolutePath()))
        showFailure(*failure);
}

void TForm1::SetupGrundeinstellung1Click() {
    LoadDefaultSetup(programState().image);
    ShowSetupImage();
}
