// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/help_command.h"

#include "desktop/user_dialogs.h"
#include "files/app_paths.h"

void openHelpText(DesktopShell& shell, const QString& appDir) {
    shell.open(resolveAppPath(appDir, QStringLiteral("作品について.txt")));
}
