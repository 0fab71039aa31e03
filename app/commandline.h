#pragma once

#include "app/programstate.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <optional>

// What the command-line tools share.

// The variant named by the option ("407", "500" or "duo"), else the one the
// window's settings file stores (407 without one); nothing for another name.
std::optional<FirmwareVariant> chosenFirmwareVariant(const QCommandLineParser& parser,
                                                     const QCommandLineOption& option);
