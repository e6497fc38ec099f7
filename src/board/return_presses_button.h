// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Return and Enter press a focused button of the main window, as Space does:
// Qt presses a button on Return only inside dialogs.
class QAbstractButton;

void pressOnReturn(QAbstractButton* button);
