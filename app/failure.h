#pragma once

#include <QString>

// A failure of a command, carried as a value through the core. Only the window
// turns it into an error box (its top-level error handler); the command-line
// tool prints it.
struct Failure {
    QString message;
};

// The German text the platform library gives for an operating-system error
// number: "Datei nicht gefunden", "Dateizugriff verweigert" or "E/A-Fehler %d".
QString fileErrorText(int errorNumber);

// The text for the error number left in errno by the last failed call.
Failure lastFileFailure();
