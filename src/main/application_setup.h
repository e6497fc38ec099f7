// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application's name and language, set once the application object
// exists: the game's texts and Qt's own (standard buttons, file and folder
// dialogs) in one language, Japanese or English, and no display name,
// because Qt would append it to every window title (" — ポムリナ").
#include "files/ui_language.h"

class QCoreApplication;

// Installs the texts of language, replacing those of an earlier call (every
// window is then told of the change): in Japanese, the game's own texts with
// Qt's Japanese ones (qtbase_ja) and a Japanese locale; in English, the
// game's English translation with Qt's own English and an English locale.
// False when a translation could not be loaded; the program runs either way.
bool setUpApplication(QCoreApplication& app, UiLanguage language = UiLanguage::Japanese);
// The language setUpApplication last installed (Japanese before any call).
UiLanguage installedUiLanguage();
