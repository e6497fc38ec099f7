// SPDX-License-Identifier: GPL-3.0-or-later
// Program entry: the application, the main window on the game's folder,
// and the message loop.
#include "desktop/qt_user_dialogs.h"
#include "files/app_home.h"
#include "files/game_folder_lock.h"
#include "files/ui_language.h"
#include "main/application_setup.h"
#include "main/form1.h"
#include "main/stretch_watchdog.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const bool hasDisplay = !qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
                            !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (!hasDisplay) {
        std::fprintf(stderr, "ポムリナ: no display found (DISPLAY is not set); start it under a virtual display with: "
                             "xvfb-run -a %s\n", argv[0]);
        return 1;
    }
    QApplication app(argc, argv);
    // The system's language until the game folder's own choice is known.
    setUpApplication(app, systemUiLanguage());
    // Measuring only: set POMURINA_STRETCH_LOG to note the window's stretches.
    const std::unique_ptr<StretchWatchdog> watchdog = stretchLogFromEnvironment();

    // The launcher and icon the desktop shows for the window.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.pomurina.Pomurina"));
    // The game's files: beside the executable in a game folder the user may
    // write, else the player's own data folder, filled on its first start.
    // The folder is this game's alone while it runs; a second game on it says
    // so and ends, touching nothing. A lock that cannot be checked from here
    // (another computer's) is the player's to take over.
    QtUserDialogs startDialogs;
    GameFolderLock folderLock;
    AppHomeSetting setting = appHomeSettingOf(QCoreApplication::applicationFilePath());
    setting.claimFolder = [&](const QString& folder) { return claimGameFolder(folderLock, folder, startDialogs); };
    const std::optional<QString> appDir = startAppHome(setting, startDialogs);
    if (!appDir) return EXIT_FAILURE;
    setUpApplication(app, uiLanguageOf(readLanguageChoice(*appDir), systemUiLanguage()));
    TForm1 form1(*appDir);
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = form1.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        form1.move(frame.topLeft());
    }
    form1.show();
    return app.exec();
}
