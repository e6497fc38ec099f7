// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The language the program speaks: Japanese, its own, or English. The
// player's choice is kept in Data\Play.ini, section "Play", key "Language"
// ("Japanese", "English"; "Automatic", missing or anything else: follow the
// system).
#include <QByteArray>
#include <QString>
#include <functional>

enum class UiLanguage { Japanese, English };
enum class LanguageChoice { Automatic, Japanese, English };

// The system's language for messages, from the environment as the C library
// reads it (LC_ALL, then LC_MESSAGES, then LANG; a LANGUAGE list first unless
// the locale is C): Japanese for "ja…" and where no language is set ("C",
// "POSIX" or nothing), English for every other language. env returns a
// variable's value, empty when unset.
UiLanguage systemUiLanguage(const std::function<QByteArray(const char*)>& env);
// The same, from this process's environment.
UiLanguage systemUiLanguage();

UiLanguage uiLanguageOf(LanguageChoice choice, UiLanguage system);

// The choice kept for the game folder appDir; Automatic when the file or key
// is missing or the file cannot be read. Never throws.
LanguageChoice readLanguageChoice(const QString& appDir);
// Keeps choice in Play.ini (its other lines stay). Throws "%s に書き込めません"
// when it cannot be written.
void writeLanguageChoice(const QString& appDir, LanguageChoice choice);
