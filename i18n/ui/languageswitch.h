#pragma once

#include "core/result.h"

#include <QObject>
#include <functional>

class QWidget;

// The language commands of the main window: the language flag, the captions
// of the caption tables on the controls they name, and the settings file.
class LanguageSwitch : public QObject {
    Q_OBJECT

  public:
    // saveSettings writes the settings file with the window's place and size.
    LanguageSwitch(QWidget* window, std::function<Status()> saveSettings);

    void applyGermanCaptions();
    void applyEnglishCaptions();
    // "deutsch" (0) or "english" (1): the flag, its captions, then the settings
    // file; a failure to write it shows over the window, the captions stay.
    void choose(qint32 language);

  private:
    QWidget* m_window;
    std::function<Status()> m_saveSettings;
};
