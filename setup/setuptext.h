#pragma once

#include "core/result.h"
#include "i18n/captiontables.h"
#include "setup/setupmodel.h"

#include <QList>
#include <QString>

// The setups as text, for altorin-setup: captions and values as the window
// shows them, and assignments "SETUP=VALUE" that act as the window's controls
// do. Numbers are printed with the default locale's separator, as the window
// does (altorin-setup sets the C locale: a '.'), and read with '.' or ','.

// A setup file read as the window reads it: 16 to 19 bytes replace the first
// bytes of the default setup, then the image is shown on the controls.
Result<EditorState> readSetupEditor(const QString& path);

// The caption of the setup's group, without blanks at the ends.
QString setupCaption(int setup, CaptionLanguage language);

// The value in the form an assignment takes: "60", "4.7", "off", an option
// number, "1/5" for setup 13 (value mode / every n-th announcement; the mode
// alone where the firmware lacks the step's controls), "3.5%" for setup 17
// with percent announcements. Empty when the firmware's controls cannot set
// the byte (off a spinner's range or steps, a choice without a button, no
// capacity, setup 3's 0), so that no form writes another byte than it shows.
QString valueForm(const EditorState& state, int setup, const FirmwareVariant& firmware);

// The value as the window of that firmware shows it, with its unit, or the
// chosen option's caption, or the box's "keine Ansage".
QString shownValue(const EditorState& state, int setup, CaptionLanguage language,
                   const FirmwareVariant& firmware);

// The N that setup 13's MODE/N takes, for messages and help: "2, 5 or 10".
QString announcementStepChoices();

// The options of a choice that the firmware offers, numbered from 1 in the
// window's order; `chosen` is the one the byte stands for.
struct OptionText {
    int number;
    QString caption;
    bool chosen;
};
QList<OptionText> optionTexts(const EditorState& state, int setup, CaptionLanguage language,
                              const FirmwareVariant& firmware);

// Applies "SETUP=VALUE" with the effect of the window's controls, side effects
// included. A value the controls cannot reach, a setup the firmware does not
// offer, or malformed text is refused (FailureKind::InvalidValue) with a
// message naming the assignment, and the state is left unchanged.
Status applyAssignment(EditorState& state, const QString& assignment,
                       const FirmwareVariant& firmware);
