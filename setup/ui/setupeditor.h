#pragma once

#include <QList>
#include <QObject>
#include <array>

struct EditorState;
class QCheckBox;
class QFileDialog;
class QLineEdit;
class QRadioButton;
class QWidget;
class TUpDown;

// The setup editor of the main window: finds the controls the setup table
// names among the window's children and runs their handlers. Each handler
// reads the controls into an editor state, lets the setup model act on it and
// puts the result back, so what a control does is the model's alone.
class SetupEditor : public QObject {
    Q_OBJECT

  public:
    // The window must already hold every control of the setup table.
    explicit SetupEditor(QWidget* window);

    // True while the editor puts its state on the controls: the window runs
    // no click handler then.
    bool settingControls() const { return m_settingControls; }

    // Every byte of the image on the controls; runs no handler.
    void showSetupImage();
    // Setup 13's "n" display for an announcement step.
    void showAnnouncementStep(qint32 step);

    void spinnerClicked(const TUpDown* spinner);
    void boxClicked(const QCheckBox* box);
    void optionClicked(const QRadioButton* button);

    // The menu's setup commands; failures show over the window.
    void loadSetup(QFileDialog* openDialog);
    void saveSetup(QFileDialog* saveDialog);
    void loadDefaultSetup();

  private:
    struct Controls {
        TUpDown* spinner = nullptr;
        QCheckBox* box = nullptr;
        QLineEdit* display = nullptr;
        QLineEdit* frequency = nullptr;
        QList<QRadioButton*> options;
    };

    EditorState readEditor() const;
    void showEditor(const EditorState& state);
    // Setup 13's step display follows its spinner and box.
    void showStepAfter(int setup);

    QWidget* m_window;
    std::array<Controls, 19> m_controls;
    QLineEdit* m_stepDisplay = nullptr;
    bool m_settingControls = false;
};
