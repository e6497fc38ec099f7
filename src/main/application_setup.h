// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The application's name and language, set once the application object
// exists: Qt's own texts (standard buttons, file and folder dialogs) speak
// Japanese whatever the user's locale, and no display name is set, because
// Qt would append it to every window title (" — ポムリナ").
class QCoreApplication;

// False when Qt's Japanese texts are not installed; the program runs either
// way, its own texts are Japanese regardless. Safe to call more than once.
bool setUpApplication(QCoreApplication& app);
