#include "setup/ui/setupeditor.h"
#include "app/ui/dialogs.h"
#include "app/ui/tupdown.h"
#include "core/programstate.h"
#include "setup/setupfile.h"
#include "setup/setupmodel.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QScopedValueRollback>

static_assert(SetupCount == 19);

namespace {

template <typename T> T* control(const QWidget* window, const char* name) {
    return name ? window->findChild<T*>(QLatin1String(name)) : nullptr;
}

// Only what changed is set again, so a display keeps its cursor and no
// radio button is toggled needlessly.
void setText(QLineEdit* display, const QString& text) {
    if (display && display->text() != text)
        display->setText(text);
}

bool isAnnouncement(int setup) {
    return setupDefinition(setup).kind == SetupKind::Announcement;
}

} // namespace

SetupEditor::SetupEditor(QWidget* window) : QObject(window), m_window(window) {
    setObjectName(QStringLiteral("setupEditor"));
    for (const SetupDefinition& s : setupDefinitions()) {
        Controls& c = m_controls[s.number];
        c.spinner = control<TUpDown>(window, s.spinner);
        c.box = control<QCheckBox>(window, s.box);
        // Setup 13's display shows the step, not the byte.
        if (s.kind == SetupKind::Announcement)
            m_stepDisplay = control<QLineEdit>(window, s.display);
        else
            c.display = control<QLineEdit>(window, s.display);
        c.frequency = control<QLineEdit>(window, s.frequencyDisplay);
        for (const SetupOption& option : s.options)
            c.options << control<QRadioButton>(window, option.button);
    }
}

EditorState SetupEditor::readEditor() const {
    EditorState state;
    state.image = programState().image;
    for (int setup = 0; setup < SetupCount; ++setup) {
        const Controls& c = m_controls[setup];
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

void SetupEditor::showEditor(const EditorState& state) {
    // Putting the state on the controls runs no handler: the model has done
    // what the handlers of changed boxes would do.
    const QScopedValueRollback guard(m_settingControls, true);
    programState().image = state.image;
    for (int setup = 0; setup < SetupCount; ++setup) {
        const Controls& c = m_controls[setup];
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

void SetupEditor::showStepAfter(int setup) {
    if (isAnnouncement(setup))
        showAnnouncementStep(programState().image.announcementStep);
}

void SetupEditor::spinnerClicked(const TUpDown* spinner) {
    for (int setup = 0; setup < SetupCount; ++setup)
        if (m_controls[setup].spinner == spinner) {
            EditorState state = readEditor();
            ::spinnerClicked(state, setup);
            showEditor(state);
            showStepAfter(setup);
        }
}

void SetupEditor::boxClicked(const QCheckBox* box) {
    for (int setup = 0; setup < SetupCount; ++setup)
        if (m_controls[setup].box == box) {
            EditorState state = readEditor();
            boxChanged(state, setup);
            showEditor(state);
            showStepAfter(setup);
        }
}

void SetupEditor::optionClicked(const QRadioButton* button) {
    for (int setup = 0; setup < SetupCount; ++setup) {
        const int option = m_controls[setup].options.indexOf(button);
        if (option >= 0) {
            EditorState state = readEditor();
            optionSelected(state, setup, option);
            showEditor(state);
        }
    }
}

void SetupEditor::showSetupImage() {
    EditorState state = readEditor();
    showImage(state);
    showEditor(state);
    showAnnouncementStep(programState().image.announcementStep);
}

void SetupEditor::showAnnouncementStep(qint32 step) {
    if (const auto text = announcementStepText(step))
        setText(m_stepDisplay, *text);
}

void SetupEditor::loadSetup(QFileDialog* openDialog) {
    const QString path = dialogs().runFileDialog(openDialog);
    if (path.isEmpty())
        return;
    const auto loaded = loadSetupFile(programState().image, path);
    if (!loaded) {
        dialogs().error(m_window, loaded.failure().message);
        return;
    }
    if (!isValidSetupLength(*loaded)) {
        dialogs().information(m_window, QString::fromUtf8(NotASetupFileText));
        LoadDefaultSetup(programState().image);
    }
    showSetupImage();
}

void SetupEditor::saveSetup(QFileDialog* saveDialog) {
    // Proposed before every run; only the folder of the answer counts.
    const QString name = QLatin1String(SetupFileName);
    saveDialog->selectFile(name);
    saveDialog->setProperty("fileName", name);
    const QString path = dialogs().runFileDialog(saveDialog);
    if (path.isEmpty())
        return;
    if (const auto failure = saveSetupFile(programState().image, QFileInfo(path).absolutePath()))
        dialogs().error(m_window, failure->message);
}

void SetupEditor::loadDefaultSetup() {
    LoadDefaultSetup(programState().image);
    showSetupImage();
}
