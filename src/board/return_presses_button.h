// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Return and Enter press a focused button of the main window, as Space does:
// Qt presses a button on Return only inside dialogs.
class QAbstractButton;
class QKeyEvent;

void pressOnReturn(QAbstractButton* button);
// Return, or Enter of the keypad, without modifiers.
bool isReturnPress(const QKeyEvent& key);
