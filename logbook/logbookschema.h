#pragma once

#include <QStringList>

// The tables of a new logbook (version 1), and the statements that bring a logbook of one
// version to the next. A version once released never changes: an upgrade is
// a new step.
namespace LogbookSchema {
QStringList create();
// The statements from `version` to `version + 1`.
QStringList upgradeFrom(int version);
} // namespace LogbookSchema
