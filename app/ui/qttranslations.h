#pragma once

#include <QLocale>

class QCoreApplication;

// Qt's own texts (file dialogs, standard buttons such as "Abbrechen", the
// context menus of text fields) in the language of the system, from the
// translations Qt ships. The tool's captions and messages are its own and stay
// as they are. Returns whether a translation for `locale` was found; without
// one Qt speaks English, as before.
bool installQtTranslations(QCoreApplication* app, const QLocale& locale = QLocale::system());
