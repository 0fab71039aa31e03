#pragma once

#include <QString>
#include <span>

// The captions of the window's controls and menu items, held once for the
// window, its language switch and altorin-setup.

// One caption of the window: the object name of a control or menu item and
// its text (UTF-8).
struct CaptionEntry {
    const char* name;
    const char* text;
};

// The two caption tables list the same 99 controls and menu items. The English
// one translates setups 0, 1, 2, 4, 6, 7 and the setup 8 group caption only;
// the rest, menus included, reads as in the German one.
std::span<const CaptionEntry> germanCaptions();
std::span<const CaptionEntry> englishCaptions();

// The caption a control or menu item is built with (German); empty for a
// name that has none.
QString designCaption(const char* name);

// What the window shows after start in that language: the design-time
// caption in German, the English table's text in English.
enum class CaptionLanguage { German, English };
QString captionIn(CaptionLanguage language, const char* name);

// What altorin-setup prints: the window's caption, but in English also for
// the boxes the window leaves German, and its own texts ("NotGiven",
// "UnknownValue").
QString toolCaption(CaptionLanguage language, const char* name);

// The items this tool has beyond the two tables' 99 (the flight view's and
// the logbook's menu items), in German and English; the language commands
// apply them with the tables.
std::span<const CaptionEntry> germanAddedCaptions();
std::span<const CaptionEntry> englishAddedCaptions();
