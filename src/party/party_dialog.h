// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The dialog 「みんなで遊ぶ」: the number of players, a line per player with a
// name field and 「目隠し」, the number of rounds, and 「はじめる」 (Enter) /
// 「キャンセル」 (Escape). 「はじめる」 is offered only while the choices have
// no problem; the problem shows under the lines. A name too long is kept as
// typed or pasted, and the problem says so, rather than cut without a word.
#include "party/party_setup.h"

#include <QDialog>
#include <array>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

class PartyDialog : public QDialog {
public:
    PartyDialog(QWidget* owner, const PartySetup& offered, std::function<QString(const PartySetup&)> problem);

    // The choices as they stand: the shown lines only, names without
    // surrounding blanks.
    PartySetup setup() const;

private:
    void update();

    std::function<QString(const PartySetup&)> problem_;
    QSpinBox* count_ = nullptr;
    QSpinBox* rounds_ = nullptr;
    std::array<QLabel*, PartySetup::kMaxPlayers> numbers_{};
    std::array<QLineEdit*, PartySetup::kMaxPlayers> names_{};
    std::array<QCheckBox*, PartySetup::kMaxPlayers> blindfolds_{};
    QLabel* problemLine_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* cancel_ = nullptr;
};
