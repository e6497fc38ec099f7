// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps the BGM submenu disabled while a music command lets window messages
// through, so the submenu cannot be entered again meanwhile; enabled again
// however the command ends.
#include <QAction>

class BgmSubmenuBusy {
public:
    explicit BgmSubmenuBusy(QAction* submenu) : submenu_(submenu) { submenu_->setEnabled(false); }
    ~BgmSubmenuBusy() { submenu_->setEnabled(true); }
    BgmSubmenuBusy(const BgmSubmenuBusy&) = delete;
    BgmSubmenuBusy& operator=(const BgmSubmenuBusy&) = delete;

private:
    QAction* submenu_;
};
