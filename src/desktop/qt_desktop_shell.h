// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Opening a file or web address with the desktop's default program.
#include "desktop/user_dialogs.h"

class QtDesktopShell : public DesktopShell {
public:
    void open(const QString& target) override;
};
