// SPDX-License-Identifier: GPL-3.0-or-later
// A double click, or a key pressed twice, on a command button whose meaning
// changes under it presses once: no screen is skipped, and no thumbnail that
// comes out from under a button is chosen. The party's 「終わる」 asks before
// results that were not saved are gone; a question ignores the second half
// of the press that brought it.
#include "authoring/face_deleting.h"
#include "board/board_texts.h"
#include "board/caption_label.h"
#include "board/command_button.h"
#include "board/image_control.h"
#include "board/scroll_box.h"
#include "party/party_screen.h"
#include "support/window/play_driver.h"
#include "support/window/while_modal.h"

#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const TestFaceLayout kLayout;
const QString kUnsavedQuestion = QStringLiteral("結果を保存せずに終わりますか？");

// Two presses within the system's double-click interval, long after
// anything before them.
void pressTwice(GameWindow& w, const std::function<void()>& press) {
    SteppingClock& clock = *w.clock;
    clock.held = true;
    clock.now += 60'000;
    press();
    clock.now += QApplication::doubleClickInterval() / 4;
    press();
    clock.held = false;
}

void doubleClick(GameWindow& w, Spot spot) {
    pressTwice(w, [&] { w.click(spot); });
}

// Whether a game is on the board.
bool playing(const TForm1& f) { return f.ImgFace1->isVisible() && !f.ScrollBox1->isVisible(); }

}  // namespace

// Seeing, a party and a deletion: 判定 → 再開, 再開 → the thumbnails, 判定 →
// 次の人へ, 次の人へ → はじめる (by Return), 結果を見る → 終わる, and 削除's
// はい → the thumbnails each take one press of a double click. A press a
// moment later is taken: there was a thumbnail under the button.
TEST(Presses, ADoubleClickOnACommandButtonPressesOnceAndSkipsNoScreen) {
    TempAppDir dir;
    writeTestCatalogue(dir, 15, kLayout);
    GameWindow w(dir);
    TForm1& f = *w.form;
    startGameWith(w, 0);
    placeAtAnswers(w, kLayout.answer);
    doubleClick(w, f.BitBtnHantei);
    EXPECT_EQ(f.BitBtnHantei->text(), Texts::Saikai);
    EXPECT_TRUE(f.LblScore->isVisible()) << "the score is still shown";
    doubleClick(w, f.BitBtnHantei);
    EXPECT_EQ(f.Label1->caption(), Texts::ChooseFace);
    EXPECT_FALSE(playing(f)) << "the thumbnail under 再開 was not chosen";
    w.click(f.BitBtnHantei);
    ASSERT_TRUE(playing(f)) << "a thumbnail lies under 再開";
    clickCancel(w);

    startParty(w, PartySetup{{{QStringLiteral("太郎"), false}, {QStringLiteral("花子"), false}}, 1});
    clickFace(w, 1);
    clickHantei(w);  // はじめる
    placeAtAnswers(w, kLayout.answer);
    doubleClick(w, f.BitBtnHantei);
    EXPECT_EQ(f.BitBtnHantei->text(), QStringLiteral("次の人へ"));
    EXPECT_EQ(f.Label1->caption(), QStringLiteral("おめでとうございます！\r太郎さん 1000点"));
    pressTwice(w, [&] { QTest::keyClick(f.BitBtnHantei, Qt::Key_Return); });
    EXPECT_EQ(f.BitBtnHantei->text(), QStringLiteral("はじめる"));
    EXPECT_EQ(f.Label1->caption(), QStringLiteral("花子さんの番です。準備ができたら「はじめる」を押してください。"));
    EXPECT_FALSE(f.ImgFace1->isVisible()) << "the hand-over was not skipped";
    playPartyTurn(w, kLayout.answer);
    doubleClick(w, f.BitBtnHantei);  // 結果を見る
    EXPECT_EQ(f.BitBtnHantei->text(), QStringLiteral("終わる"));
    EXPECT_TRUE(f.party().running());
    EXPECT_TRUE(w.dialogs->confirmations.isEmpty());

    // 「終わる」 before the sheet is saved asks; after 「保存」 it does not.
    w.dialogs->confirmAnswers = {false};
    clickHantei(w);
    EXPECT_EQ(w.dialogs->confirmations, QStringList{kUnsavedQuestion});
    EXPECT_TRUE(f.party().running()) << "いいえ keeps the results";
    clickCancel(w);  // 保存
    clickHantei(w);
    EXPECT_FALSE(f.party().running());
    EXPECT_EQ(w.dialogs->confirmations.size(), 1);

    f.D1->trigger();
    clickFace(w, 1);
    w.dialogs->confirmAnswers = {true};
    doubleClick(w, f.BitBtnToroku);  // 削除, はい, and the thumbnail beneath
    EXPECT_EQ(f.catalogue.faceCount, 14);
    EXPECT_FALSE(f.faceDeleting().active());
    EXPECT_FALSE(playing(f)) << "the thumbnail under 削除 was not chosen";
    w.click(f.BitBtnToroku);
    EXPECT_TRUE(playing(f)) << "a thumbnail lies under 削除";
    EXPECT_TRUE(w.dialogs->errors.isEmpty()) << w.dialogs->errors.join(QLatin1Char('\n')).toStdString();
}

// The real question 「この顔を削除しますか？」: Return within the double-click
// interval of its showing answers nothing (the second press of Return on
// 「削除」); once the interval has passed, it answers はい.
TEST(Presses, AQuestionTakesNoAnswerFromThePressThatBroughtIt) {
    TempAppDir dir;
    writeTestCatalogue(dir, 4, kLayout);
    GameWindow w(dir, true);
    TForm1& f = *w.form;
    w.finishTitle();
    f.D1->trigger();
    clickFace(w, 1);
    SteppingClock& clock = *w.clock;
    clock.held = true;
    clock.now += 60'000;
    whileModal([&] { w.click(f.BitBtnToroku); },
               [&](QWidget& box) {
                   ASSERT_TRUE(qobject_cast<QMessageBox*>(&box));
                   QWidget* focused = box.focusWidget() ? box.focusWidget() : &box;
                   QTest::keyClick(focused, Qt::Key_Return);
                   EXPECT_TRUE(box.isVisible()) << "answered by the press that brought it";
                   clock.now += QApplication::doubleClickInterval();
                   QTest::keyClick(focused, Qt::Key_Return);
                   EXPECT_FALSE(box.isVisible());
               });
    clock.held = false;
    EXPECT_EQ(f.catalogue.faceCount, 3) << "はい deleted the face";
}
