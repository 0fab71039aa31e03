#include "i18n/ui/languageswitch.h"
#include "app/ui/dialogs.h"
#include <QCoreApplication>
#include <QEvent>
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

LanguageSwitch::LanguageSwitch(QWidget* window, std::function<Status()> saveSettings)
    : QObject(window), m_window(window), m_saveSettings(std::move(saveSettings)) {
    setObjectName(QStringLiteral("languageSwitch"));
}

void LanguageSwitch::applyGermanCaptions() {
    applyCaptions(m_window, germanCaptions());
    applyCaptions(m_window, germanAddedCaptions());
}

void LanguageSwitch::applyEnglishCaptions() {
    applyCaptions(m_window, englishCaptions());
    applyCaptions(m_window, englishAddedCaptions());
}

void LanguageSwitch::choose(qint32 language) {
    programState().language = language;
    if (language == 1)
        applyEnglishCaptions();
    else
        applyGermanCaptions();
    tellOwnWindows(m_window);
    if (const auto failure = m_saveSettings())
        dialogs().error(m_window, failure->message);
}
