// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The seam of the party dialog 「みんなで遊ぶ」: the window asks through it; the
// real one shows PartyDialog, tests and benchmarks answer with their own.
#include "party/party_setup.h"

#include <QString>
#include <functional>
#include <optional>

class QWidget;

class PartySetupDialog {
public:
    virtual ~PartySetupDialog() = default;
    // The dialog, showing offered at first. problem says why the choices as
    // they stand cannot start a party (empty when they can); 「はじめる」 is
    // offered only while it is empty. Empty when cancelled.
    virtual std::optional<PartySetup> askPartySetup(const PartySetup& offered,
                                                    const std::function<QString(const PartySetup&)>& problem) = 0;
};

// The real dialog, modal over owner.
class QtPartySetupDialog : public PartySetupDialog {
public:
    explicit QtPartySetupDialog(QWidget* owner) : owner_(owner) {}
    std::optional<PartySetup> askPartySetup(const PartySetup& offered,
                                            const std::function<QString(const PartySetup&)>& problem) override;

private:
    QWidget* owner_;
};
