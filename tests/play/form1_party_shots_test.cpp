// SPDX-License-Identifier: GPL-3.0-or-later
// The screenshots of docs/screenshots/party_*.png: a party of three on the
// sample catalogue, through the real window and the real dialog. Skipped
// unless POMURINA_SHOTS names the folder to write them to and POMURINA_SAMPLE
// the sample catalogue; taken under Xvfb with QT_QPA_PLATFORM=xcb (see
// docs/screenshots/README.md).
#include "board/caption_label.h"
#include "form1_play_driver.h"
#include "play/party_record.h"
#include "support/window/while_modal.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void shoot(QWidget* w, const QString& name) {
    QApplication::processEvents();
    const QString path = qEnvironmentVariable("POMURINA_SHOTS") + QLatin1Char('/') + name;
    EXPECT_TRUE(w->grab().save(path)) << path.toStdString();
}

}  // namespace

TEST(PartyShots, DialogHandOverJudgedTurnResultsWithATieAndTheRecord) {
    if (qEnvironmentVariableIsEmpty("POMURINA_SHOTS") || qEnvironmentVariableIsEmpty("POMURINA_SAMPLE"))
        GTEST_SKIP() << "screenshots only: set POMURINA_SHOTS and POMURINA_SAMPLE";
    TempAppDir dir;
    const QDir sample(qEnvironmentVariable("POMURINA_SAMPLE"));
    for (const QString& name : sample.entryList(QDir::Files))
        ASSERT_TRUE(QFile::copy(sample.filePath(name), dir.file(QStringLiteral("data/") + name)));
    // Two parties played before, for the record.
    for (int id = 1; id <= 2; ++id) {
        Party party({{QStringLiteral("たろう"), false}, {QStringLiteral("はなこ"), false}, {QStringLiteral("おばあちゃん"), true}}, 1);
        party.chooseFace(id);
        for (std::int64_t score : {820 + 40 * id, 905 - 30 * id, 640 + 150 * id}) party.recordTurn({score, false});
        keepParty(dir.path(), KeptParty{id, QStringLiteral("2026-01-0%1 19:30").arg(id), PartyState::Finished, party});
    }
    GameWindow w(dir, true);
    TForm1& f = *w.form;
    w.finishTitle();
    f.Best1->trigger();
    whileModal([&] { f.Party1->trigger(); }, [&](QWidget& dialog) {
        dialog.findChild<QSpinBox*>(QStringLiteral("PartyPlayerCount"))->setValue(3);
        dialog.findChild<QLineEdit*>(QStringLiteral("PartyName1"))->setText(QStringLiteral("たろう"));
        dialog.findChild<QLineEdit*>(QStringLiteral("PartyName2"))->setText(QStringLiteral("はなこ"));
        dialog.findChild<QLineEdit*>(QStringLiteral("PartyName3"))->setText(QStringLiteral("おじいちゃん"));
        dialog.findChild<QWidget*>(QStringLiteral("PartyBlind3"))->setProperty("checked", true);
        dialog.findChild<QSpinBox*>(QStringLiteral("PartyRounds"))->setValue(2);
        shoot(&dialog, QStringLiteral("party_dialog.png"));
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    // Two rounds: たろう and はなこ on the answers each time, おじいちゃん a
    // little off; たろう and はなこ tie for the win.
    const std::array<QPoint, 5> off{QPoint(), {6, -3}, {-4, 5}, {3, 8}, {-7, 2}};
    for (int round = 0; round < 2; ++round) {
        clickFace(w, round);
        const FaceAnswer answer = f.catalogue.faceAnswers[size_t(round)];
        for (int p = 0; p < 3; ++p) {
            if (round == 1 && p == 1) shoot(&f, QStringLiteral("party_hand_over.png"));
            playPartyTurn(w, answer, p == 2 ? off : std::array<QPoint, 5>{});
            if (round == 1 && p == 1) shoot(&f, QStringLiteral("party_judged_turn.png"));
            clickHantei(w);
        }
    }
    shoot(&f, QStringLiteral("party_results_tie.png"));
    clickCancel(w);
    clickHantei(w);
    f.History1->trigger();
    shoot(&f, QStringLiteral("party_record.png"));
}
