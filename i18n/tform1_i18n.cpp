#include "app/tform1.h"
#include "app/ui/fitcaption.h"
#include "core/programstate.h"
#include "i18n/captiontables.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>

namespace {

void applyCaptions(QObject* window, std::span<const CaptionEntry> table) {
    for (const CaptionEntry& entry : table) {
        QObject* target = window->findChild<QObject*>(QString::fromLatin1(entry.name));
        const QString text = QString::fromUtf8(entry.text);
        if (auto* group = qobject_cast<QGroupBox*>(target)) {
            group->setTitle(text);
        } else if (auto* label = qobject_cast<QLabel*>(target)) {
            label->setText(text);
            fitCaption(label);
        } else if (auto* button = qobject_cast<QAbstractButton*>(target)) {
            button->setText(text);
            fitCaption(button);
        } else if (auto* menu = qobject_cast<QMenu*>(target)) {
            menu->setTitle(text);
        } else if (auto* action = qobject_cast<QAction*>(target)) {
            action->setText(text);
        }
    }
}

// Windows opened over the main window (the flight views) take their captions
// from the program state; they are told when it changes.
void tellOwnWindows(QWidget* window) {
    for (QWidget* child : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow())
            continue;
        QEvent change(QEvent::LanguageChange);
        QCoreApplication::sendEvent(child, &change);
    }
}

} // namespace

void TForm1::ApplyGermanCaptions() {
    applyCaptions(this, germanCaptions());
    applyCaptions(this, germanAddedCaptions());
}

void TForm1::ApplyEnglishCaptions() {
    applyCaptions(this, englishCaptions());
    applyCaptions(this, englishAddedCaptions());
}

void TForm1::deutsch1Click() {
    programState().language = 0;
    ApplyGermanCaptions();
    tellOwnWindows(this);
    if (auto failure = SaveToolSettings())
        showFailure(*failure);
}

void TForm1::english1Click() {
    programState().language = 1;
    ApplyEnglishCaptions();
    tellOwnWindows(this);
    if (auto failure = SaveToolSettings())
        showFailure(*failure);
}
