#pragma once

#include <QString>

// What went wrong, for callers and tests that act on the cause rather than on
// the German text shown to the pilot.
enum class FailureKind {
    FileNotFound,   // "Datei nicht gefunden"
    AccessDenied,   // "Dateizugriff verweigert" (also a folder)
    IoError,        // "E/A-Fehler %d" and every other system error
    NotWritable,    // the settings file could not be written
    NotANumber,     // a log field that is no integer or no decimal number
    TooFewFields,   // a Data line whose quoted fields swallowed some ';'
    NotASetupFile,  // a file of fewer than 16 or more than 20 bytes
    InvalidValue,   // a value a setup cannot take (command line)
    WrongFirmware,  // a log written under the other firmware layout
    OutputOfRun,    // an output written earlier in the same run from another log
    OutputIsLog,    // an output that would be the log being read
    LogbookDamaged, // "Flugbuch beschädigt: …": a logbook database that is damaged or foreign
};

// A failure of a command, carried as a value through the core. Only the window
// turns it into an error box (its top-level error handler); the command-line
// tools print it.
struct Failure {
    FailureKind kind;
    QString message;
    // The 1-based log line the failure stopped at; 0 when it concerns no line.
    qint64 line = 0;
};

// The failure for an operating-system error number, with the German text the
// platform library gives: "Datei nicht gefunden", "Dateizugriff verweigert" or
// "E/A-Fehler %d". The one mapping from system errors to messages.
Failure fileFailure(int errorNumber);

// The failure for the error number left in errno by the last failed call.
Failure lastFileFailure();
