// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Answering a real modal window (a message box, a file dialog) in a test.
#include <functional>

class QWidget;

// Runs act on the modal window that trigger brings up; act must end it (a
// window still open afterwards is closed, so a failed check never hangs).
void whileModal(const std::function<void()>& trigger, const std::function<void(QWidget&)>& act);
