// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The help command: the help text beside the game, opened with the desktop's
// program for text files.
#include <QString>

class DesktopShell;

// Whether the file exists and opens is the desktop's concern.
void openHelpText(DesktopShell& shell, const QString& appDir);
