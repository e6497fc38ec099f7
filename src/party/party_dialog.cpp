// SPDX-License-Identifier: GPL-3.0-or-later
#include "party/party_dialog.h"

#include "party/party_setup_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace {

template <class W>
W* named(W* w, const QString& name) {
    w->setObjectName(name);
    return w;
}

}  // namespace

PartyDialog::PartyDialog(QWidget* owner, const PartySetup& offered,
                         std::function<QString(const PartySetup&)> problem)
    : QDialog(owner), problem_(std::move(problem)) {
    setObjectName(QStringLiteral("PartyDialog"));
    setWindowTitle(QStringLiteral("みんなで遊ぶ"));
    auto* layout = new QVBoxLayout(this);

    auto* countLine = new QHBoxLayout;
    auto* countLabel = new QLabel(QStringLiteral("人数(&N)"), this);
    count_ = named(new QSpinBox(this), QStringLiteral("PartyPlayerCount"));
    count_->setRange(PartySetup::kMinPlayers, PartySetup::kMaxPlayers);
    count_->setSuffix(QStringLiteral("人"));
    countLabel->setBuddy(count_);
    count_->setAccessibleName(QStringLiteral("人数"));
    countLine->addWidget(countLabel);
    countLine->addWidget(count_);
    countLine->addStretch();
    layout->addLayout(countLine);

    auto* players = new QGridLayout;
    for (int i = 0; i < PartySetup::kMaxPlayers; ++i) {
        const QString number = QString::number(i + 1);
        numbers_[i] = new QLabel(number, this);
        names_[i] = named(new QLineEdit(this), QStringLiteral("PartyName") + number);
        names_[i]->setAccessibleName(QStringLiteral("%1人目の名前").arg(i + 1));
        numbers_[i]->setBuddy(names_[i]);
        blindfolds_[i] = named(new QCheckBox(QStringLiteral("目隠し"), this), QStringLiteral("PartyBlind") + number);
        blindfolds_[i]->setAccessibleName(QStringLiteral("%1人目は目隠し").arg(i + 1));
        const bool offeredLine = i < int(offered.players.size());
        names_[i]->setText(offeredLine ? offered.players[i].name : defaultPlayerName(i));
        blindfolds_[i]->setChecked(offeredLine && offered.players[i].blindfolded);
        players->addWidget(numbers_[i], i, 0);
        players->addWidget(names_[i], i, 1);
        players->addWidget(blindfolds_[i], i, 2);
        connect(names_[i], &QLineEdit::textChanged, this, [this] { update(); });
    }
    layout->addLayout(players);

    auto* roundsLine = new QHBoxLayout;
    auto* roundsLabel = new QLabel(QStringLiteral("回数(&R)"), this);
    rounds_ = named(new QSpinBox(this), QStringLiteral("PartyRounds"));
    rounds_->setRange(PartySetup::kMinRounds, PartySetup::kMaxRounds);
    rounds_->setSuffix(QStringLiteral("回"));
    rounds_->setAccessibleName(QStringLiteral("回数"));
    roundsLabel->setBuddy(rounds_);
    roundsLine->addWidget(roundsLabel);
    roundsLine->addWidget(rounds_);
    roundsLine->addStretch();
    layout->addLayout(roundsLine);

    problemLine_ = named(new QLabel(this), QStringLiteral("PartyProblem"));
    problemLine_->setStyleSheet(QStringLiteral("color: #c00000;"));
    layout->addWidget(problemLine_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    start_ = named(new QPushButton(QStringLiteral("はじめる"), this), QStringLiteral("PartyStart"));
    cancel_ = named(new QPushButton(QStringLiteral("キャンセル"), this), QStringLiteral("PartyCancel"));
    start_->setDefault(true);  // Enter; Escape rejects the dialog
    buttons->addWidget(start_);
    buttons->addWidget(cancel_);
    layout->addLayout(buttons);
    connect(start_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    count_->setValue(std::clamp(int(offered.players.size()), PartySetup::kMinPlayers, PartySetup::kMaxPlayers));
    rounds_->setValue(std::clamp(offered.rounds, PartySetup::kMinRounds, PartySetup::kMaxRounds));
    connect(count_, &QSpinBox::valueChanged, this, [this] { update(); });
    update();
    names_[0]->setFocus();
    names_[0]->selectAll();
}

PartySetup PartyDialog::setup() const {
    PartySetup setup;
    setup.rounds = rounds_->value();
    for (int i = 0; i < count_->value(); ++i)
        setup.players.push_back({names_[i]->text().trimmed(), blindfolds_[i]->isChecked()});
    return setup;
}

void PartyDialog::update() {
    for (int i = 0; i < PartySetup::kMaxPlayers; ++i) {
        const bool shown = i < count_->value();
        numbers_[i]->setVisible(shown);
        names_[i]->setVisible(shown);
        blindfolds_[i]->setVisible(shown);
    }
    const QString problem = problem_ ? problem_(setup()) : QString();
    problemLine_->setText(problem);
    start_->setEnabled(problem.isEmpty());
    adjustSize();
}

std::optional<PartySetup> QtPartySetupDialog::askPartySetup(const PartySetup& offered,
                                                            const std::function<QString(const PartySetup&)>& problem) {
    PartyDialog dialog(owner_, offered, problem);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.setup();
}
