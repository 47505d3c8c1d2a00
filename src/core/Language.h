// The player's language: every text the game shows or prints is looked up in the "larkmere"
// catalog of the locale's language. With no catalog (the C locale) a text is its own id.
#pragma once

#include <cstdarg>
#include <string>

// Marks a text for the catalog where it is stored, not looked up (tables of texts).
#define N_(text) text

// The text in the player's language, or the text itself.
const char* tr(const char* text);
// printf into a string, for the translated patterns.
std::string formatText(const char* pattern, ...) __attribute__((format(printf, 1, 2)));

// Chooses the messages' language from the locale (LANGUAGE, LC_ALL, LC_MESSAGES, LANG) and
// reads its catalog from `folder` (<folder>/<lang>/LC_MESSAGES/larkmere.mo). Numbers keep the
// C locale's form.
void startLanguage(const std::string& folder);
// Where the catalogs are: the build tree's for a binary run from it (buildTree not null),
// else next to the data (<data>/locale, or the share/locale the data folder sits in), else
// the share/locale beside the executable's folder. Empty: none found.
std::string catalogFolder(const char* buildTree, const std::string& dataFolder, const std::string& executableDir);

// The bitmap font draws Latin-1: the UTF-8 text converted, characters it lacks as '?'.
// `complete` is cleared when one was missing.
std::string toLatin1(const std::string& utf8, bool* complete = nullptr);
