// SPDX-License-Identifier: GPL-3.0-or-later
// The blindfolded game and the personal best through the real window: menu
// choices, a hand-turned blindfold timer, real drags and real files.
#include "board/board_texts.h"
#include "board/caption_label.h"
#include "board/image_control.h"
#include "board/scroll_box.h"
#include "catalogue/library.h"
#include "files/app_error.h"
#include "files/ini_file.h"
#include "play/blindfold.h"
#include "play/personal_best.h"
#include "support/window/play_driver.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <gtest/gtest.h>

namespace {

const TestFaceLayout kLayout;
// 247 + 246 + 246 + 240: "979 ", "名人！".
const std::array<QPoint, 5> kOffsets{QPoint(), {3, 0}, {0, -4}, {-2, 2}, {5, 5}};
const QString kLookPrompt3 = QStringLiteral("顔をよく覚えてください。あと3秒で目隠しをします。");
const QString kBlindPrompt = QStringLiteral(
    "目・鼻・口をそれぞれドラッグして、覚えた場所に置いてください。\r「キャンセル」ボタンを押すと顔の選択画面に戻ります。");

// The face area of the window as the player sees it.
QImage faceArea(TForm1& f) {
    return f.ClientArea->grab(f.ImgFace1->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
}

// The board with every part lying on the face drawn over it.
QImage composition(TForm1& f) {
    std::vector<PlacedPart> parts;
    for (int s = 1; s <= 4; ++s)
        if (ImageControl* part = f.FaceParts[s]; f.partOnFace[s] >= 0)
            parts.push_back({part->picture(), part->pos() - f.ImgFace1->pos(), part->width()});
    return composeSavedFace(f.ImgFace1->picture(), parts).convertToFormat(QImage::Format_RGB32);
}

void coverAfterTheLook(TForm1& f) {
    for (int i = 0; i < BlindfoldCourse::kLookSeconds; ++i) f.BlindTimerTimer();
}

void tickUntilUncovered(TForm1& f) {
    for (int i = 0; i < 100 && f.game().blindfold().course().phase() == BlindPhase::Reveal; ++i) f.BlindTimerTimer();
    ASSERT_EQ(f.game().blindfold().course().phase(), BlindPhase::Off);
}

// The contrast ratio of two colours as the accessibility guidelines define it.
double contrastRatio(const QColor& a, const QColor& b) {
    auto luminance = [](const QColor& c) {
        auto channel = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

int storedInt(const TempAppDir& dir, const QString& section, const QString& key) {
    return IniFile(scoresPath(dir.path())).readInteger(section, key, -99999);
}

}  // namespace

// With both choices off the game is the seeing game of old: same menus but
// one, same prompts, the face area exactly board plus parts, no new files.
TEST(Blindfold, WithTheChoicesOffTheSeeingGameStaysAsItWas) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    GameWindow w(dir);
    TForm1& f = *w.form;

    QStringList menus;
    for (QAction* a : f.menuBar()->actions()) menus << a->text();
    EXPECT_EQ(menus, (QStringList{"顔の追加/削除(&F)", "保存した顔(&R)", "遊び方(&G)", "BGM(&B)", "ヘルプ(&H)", "バージョン情報(&V)"}));
    // The game menu: the two choices, then the party's two items.
    const QList<QAction*> games = f.G1Menu->actions();
    ASSERT_EQ(games.size(), 5);
    EXPECT_EQ(games.mid(0, 2), (QList<QAction*>{f.Blind1, f.Best1}));
    EXPECT_TRUE(games[2]->isSeparator());
    EXPECT_EQ(games.mid(3), (QList<QAction*>{f.Party1, f.History1}));
    EXPECT_EQ(f.Party1->text(), QStringLiteral("みんなで遊ぶ(&P)…"));
    EXPECT_EQ(f.History1->text(), QStringLiteral("みんなの記録(&H)"));
    EXPECT_EQ(f.Blind1->text(), QStringLiteral("目隠しで遊ぶ(&M)"));
    EXPECT_EQ(f.Best1->text(), QStringLiteral("自己ベストを記録する(&S)"));
    EXPECT_TRUE(f.Blind1->isCheckable() && f.Best1->isCheckable());
    EXPECT_FALSE(f.Blind1->isChecked() || f.Best1->isChecked());
    EXPECT_FALSE(f.G1->isEnabled()) << "closed during the title, like F1";

    w.finishTitle();
    EXPECT_TRUE(f.G1->isEnabled());
    startGameWith(w, 1);
    EXPECT_FALSE(f.G1->isEnabled()) << "no change of rules during a game";
    EXPECT_EQ(f.Label1->caption(), Texts::PlacingPrompt);
    EXPECT_FALSE(f.BlindTimer->isActive());
    placeAtAnswers(w, kLayout.answer, kOffsets);
    EXPECT_FALSE(f.ImgMekakushi->isVisible());
    EXPECT_EQ(faceArea(f), composition(f));
    clickHantei(w);
    EXPECT_EQ(f.LblScore->caption(), QStringLiteral("979 "));
    EXPECT_FALSE(f.LblBest->isVisible());
    clickHantei(w);
    EXPECT_TRUE(f.G1->isEnabled());

    EXPECT_FALSE(dir.exists(QStringLiteral("data/Play.ini")));
    EXPECT_FALSE(dir.exists(QStringLiteral("data/Scores.ini")));
    EXPECT_TRUE(w.dialogs->errors.isEmpty());
}

// A whole blindfolded game: the look counted down with no part movable, the
// cloth over the face, drops out of sight, a covered part out of reach, the
// take-back from the palette, then the cloth lifted and the usual judgement.
TEST(Blindfold, LookClothHiddenDropsTakeBackAndRevealEndInTheUsualJudgement) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    f.Blind1->trigger();
    EXPECT_TRUE(f.Blind1->isChecked());
    EXPECT_EQ(dir.readBytes(QStringLiteral("data/Play.ini")), QByteArray("[Play]\r\nBlindfold=1\r\nBest=0\r\n"));

    startGameWith(w, 1);
    EXPECT_EQ(f.Label1->caption(), kLookPrompt3);
    EXPECT_EQ(f.Label1->fontPoints(), 14);
    EXPECT_TRUE(f.BlindTimer->isActive());
    EXPECT_EQ(f.BlindTimer->interval(), 1000);
    EXPECT_FALSE(f.ImgMekakushi->isVisible());
    EXPECT_TRUE(f.BitBtnCancel->isEnabled());
    // The big number stands over the face, below the prompt, and hides at
    // most the top fifth of the face (hair and forehead).
    const QRect number = f.ImgCountDown->geometry(), face = f.ImgFace1->geometry();
    EXPECT_TRUE(f.ImgCountDown->isVisible());
    EXPECT_GE(number.height(), 90) << "readable across the room";
    EXPECT_FALSE(number.intersects(f.Label1->geometry()));
    EXPECT_LE(number.bottom(), face.top() + face.height() / 5);
    EXPECT_LE(std::abs(number.center().x() - face.center().x()), 1);
    const QImage three = f.ImgCountDown->picture();
    showPalette(w, 1);
    w.press(partSpot(w, 1, 1), {2, 2});
    EXPECT_FALSE(f.game().state().dragging) << "no part moves during the look";
    w.release(partSpot(w, 1, 1), {2, 2});
    EXPECT_EQ(f.Label1->caption(), kLookPrompt3 + QStringLiteral("\r") + lookHint()) << "the press is answered";

    f.BlindTimerTimer();
    EXPECT_EQ(f.Label1->caption(), QStringLiteral("顔をよく覚えてください。あと2秒で目隠しをします。\r") + lookHint());
    EXPECT_NE(f.ImgCountDown->picture(), three);
    f.BlindTimerTimer();
    EXPECT_EQ(f.Label1->caption(), QStringLiteral("顔をよく覚えてください。あと1秒で目隠しをします。\r") + lookHint());
    EXPECT_FALSE(f.ImgMekakushi->isVisible());
    f.BlindTimerTimer();
    EXPECT_FALSE(f.ImgCountDown->isVisible());
    EXPECT_TRUE(f.ImgMekakushi->isVisible());
    EXPECT_EQ(f.ImgMekakushi->geometry(), f.ImgFace1->geometry());
    EXPECT_FALSE(f.BlindTimer->isActive());
    EXPECT_EQ(f.Label1->caption(), kBlindPrompt);
    EXPECT_EQ(faceArea(f), f.game().blindfold().cloth()) << "the cloth covers the whole face";
    const QImage nothingPlaced = f.game().blindfold().cloth();

    // Another face's right eye first, then the face's own nose, mouth, left eye.
    const FaceAnswer& a = kLayout.answer;
    placePart(w, 1, 2, QPoint(answerX(a, 1), answerY(a, 1)));
    for (int s = 2; s <= 4; ++s) placePart(w, s, 1, QPoint(answerX(a, s), answerY(a, s)) + kOffsets[s]);
    for (int s = 2; s <= 4; ++s) {
        EXPECT_TRUE(partOnFace(w, s, 1));
        EXPECT_FALSE(partShown(w, s, 1)) << "slot " << s;
    }
    EXPECT_EQ(faceArea(f), f.game().blindfold().cloth()) << "drops lie under the cloth";
    EXPECT_NE(f.game().blindfold().cloth(), nothingPlaced) << "the cloth marks the placed parts";
    EXPECT_TRUE(f.BitBtnHantei->isEnabled());
    EXPECT_EQ(f.Label1->caption(), Texts::ReadyToJudge);

    // Where the nose lies under the cloth a press finds nothing to pick up.
    const QPoint nose = QPoint(answerX(a, 3), answerY(a, 3)) + kOffsets[3] + QPoint(5, 5);
    w.press(f.ImgFace1, nose);
    EXPECT_FALSE(f.game().state().dragging);
    w.release(f.ImgFace1, nose);
    EXPECT_EQ(partPos(w, 3, 1), f.ImgFace1->pos() + QPoint(answerX(a, 3), answerY(a, 3)) + kOffsets[3]);
    EXPECT_EQ(f.game().state().placedFace[3], 1);

    // Pressing the own right eye sends the other face's one home at once.
    showPalette(w, 1);
    w.press(partSpot(w, 1, 1), {1, 1});
    EXPECT_FALSE(partOnFace(w, 1, 2));
    EXPECT_TRUE(partShown(w, 1, 2));
    EXPECT_EQ(f.game().state().placedFace[1], -1);
    EXPECT_FALSE(f.BitBtnHantei->isEnabled());
    EXPECT_EQ(f.Label1->caption(), kBlindPrompt);
    const QPoint eyeAt = QPoint(answerX(a, 1), answerY(a, 1)) + kOffsets[1] + QPoint(1, 1);
    w.move(f.ImgFace1, eyeAt);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::DragMoveCursor) << "a drop over the cloth is taken";
    w.release(f.ImgFace1, eyeAt);
    EXPECT_EQ(f.game().state().placedFace[1], 1);
    EXPECT_TRUE(f.BitBtnHantei->isEnabled());
    EXPECT_EQ(faceArea(f), f.game().blindfold().cloth());

    // The reveal: a second and a half of a rising cloth, nothing taken meanwhile.
    clickHantei(w);
    EXPECT_EQ(f.game().blindfold().course().phase(), BlindPhase::Reveal);
    EXPECT_EQ(f.Label1->caption(), revealPrompt());
    EXPECT_EQ(f.BitBtnHantei->text(), Texts::Hantei);
    EXPECT_FALSE(f.BitBtnHantei->isEnabled());
    EXPECT_TRUE(f.BlindTimer->isActive());
    EXPECT_EQ(f.BlindTimer->interval(), BlindfoldCourse::kRevealTickMs);
    w.press(partSpot(w, 1, 0), {2, 2});
    EXPECT_FALSE(f.game().state().dragging);
    w.release(partSpot(w, 1, 0), {2, 2});
    for (int i = 0; i < BlindfoldCourse::kRevealTicks / 2; ++i) f.BlindTimerTimer();
    const int left = f.ImgMekakushi->height();
    EXPECT_GT(left, 0);
    EXPECT_LT(left, 150);
    EXPECT_EQ(f.ImgMekakushi->pos(), f.ImgFace1->pos()) << "the cloth slides up out of the face";
    const QImage half = faceArea(f);
    const QImage composed = composition(f);
    EXPECT_EQ(half.copy(0, 0, 120, left), f.game().blindfold().cloth().copy(0, 150 - left, 120, left));
    EXPECT_EQ(half.copy(0, left, 120, 150 - left), composed.copy(0, left, 120, 150 - left));

    tickUntilUncovered(f);
    EXPECT_FALSE(f.ImgMekakushi->isVisible());
    EXPECT_FALSE(f.BlindTimer->isActive());
    EXPECT_EQ(faceArea(f), composed) << "the composition as a seeing game shows it";
    EXPECT_EQ(f.LblScore->caption(), QStringLiteral("979 "));
    EXPECT_EQ(f.LblHantei->caption(), QStringLiteral("名人！"));
    EXPECT_EQ(f.BitBtnHantei->text(), Texts::Saikai);
    EXPECT_TRUE(f.BitBtnHantei->isEnabled());
    EXPECT_EQ(f.BitBtnCancel->text(), Texts::Hozon);
    EXPECT_TRUE(f.ImgFace2->isVisible());
    EXPECT_FALSE(f.LblBest->isVisible()) << "the best is its own choice";
    EXPECT_FALSE(dir.exists(QStringLiteral("data/Scores.ini")));
    EXPECT_TRUE(w.dialogs->errors.isEmpty());
}

// "キャンセル" during the look or the reveal ends the game with nothing left
// over; the choice is read back by the next run and cleared by a toggle.
TEST(Blindfold, CancelAtAnyMomentLeavesNoCoverAndTheChoiceSurvivesARestart) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    {
        GameWindow w(dir);
        TForm1& f = *w.form;
        w.finishTitle();
        f.Blind1->trigger();

        startGameWith(w, 0);
        f.BlindTimerTimer();
        clickCancel(w);
        EXPECT_FALSE(f.BlindTimer->isActive());
        EXPECT_EQ(f.game().blindfold().course().phase(), BlindPhase::Off);
        EXPECT_TRUE(f.ScrollBox1->isVisible());
        EXPECT_FALSE(f.ImgFace1->isVisible());
        EXPECT_FALSE(f.ImgMekakushi->isVisible());
        EXPECT_EQ(f.Label1->caption(), Texts::ChooseFace);
        EXPECT_TRUE(f.G1->isEnabled());
        f.BlindTimerTimer();  // a tick already on its way
        EXPECT_EQ(f.Label1->caption(), Texts::ChooseFace);

        startGameWith(w, 0);
        coverAfterTheLook(f);
        placeAtAnswers(w, kLayout.answer);
        clickHantei(w);
        f.BlindTimerTimer();
        f.BlindTimerTimer();
        ASSERT_TRUE(f.ImgMekakushi->isVisible());
        clickCancel(w);
        EXPECT_FALSE(f.ImgMekakushi->isVisible());
        EXPECT_FALSE(f.BlindTimer->isActive());
        EXPECT_FALSE(f.LblScore->isVisible());
        for (int s = 1; s <= 4; ++s)
            for (int i = 0; i < f.catalogue.faceCount; ++i) EXPECT_FALSE(partOnFace(w, s, i));

        startGameWith(w, 2);
        EXPECT_EQ(f.Label1->caption(), kLookPrompt3) << "the next game is blindfolded again";
        clickCancel(w);
    }
    {
        GameWindow w(dir);
        TForm1& f = *w.form;
        EXPECT_TRUE(f.Blind1->isChecked());
        EXPECT_FALSE(f.Best1->isChecked());
        w.finishTitle();
        f.Blind1->trigger();
        EXPECT_EQ(dir.readBytes(QStringLiteral("data/Play.ini")), QByteArray("[Play]\r\nBlindfold=0\r\nBest=0\r\n"));
    }
    GameWindow w(dir);
    EXPECT_FALSE(w.form->Blind1->isChecked());
}

// The best is kept by the face's picture, not its index: a deletion of an
// earlier face moves the record with its face, and the face that takes the
// old index starts with its own. The blindfolded best is kept apart.
TEST(PersonalBest, FollowsItsFaceThroughTheDeletionOfAnEarlierFace) {
    TempAppDir dir;
    writeTestCatalogue(dir, 4, kLayout);
    const QString face2 = faceIdentity(dir.readBytes(QStringLiteral("data/face2_0.jpg")));
    const QString face3 = faceIdentity(dir.readBytes(QStringLiteral("data/face3_0.jpg")));
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    f.Best1->trigger();
    EXPECT_EQ(dir.readBytes(QStringLiteral("data/Play.ini")), QByteArray("[Play]\r\nBlindfold=0\r\nBest=1\r\n"));

    startGameWith(w, 2);
    placeAtAnswers(w, kLayout.answer);
    clickHantei(w);
    EXPECT_EQ(f.LblScore->caption(), QStringLiteral("1000 "));
    EXPECT_TRUE(f.LblBest->isVisible());
    EXPECT_EQ(f.LblBest->caption(), QStringLiteral("自己ベスト更新！"));
    EXPECT_EQ(f.LblBest->pos(), QPoint(500, 448));
    EXPECT_EQ(f.LblBest->font().pixelSize(), 16);
    EXPECT_TRUE(f.LblBest->font().bold());
    // Readable: at least 4.5 : 1 against the sky blue it stands on.
    EXPECT_GE(contrastRatio(f.LblBest->fontColour(), f.ClientArea->palette().color(QPalette::Window)), 4.5);
    EXPECT_EQ(storedInt(dir, face2, "Best"), 1000);
    clickCancel(w);  // SaveNaming keeps it
    EXPECT_TRUE(f.LblBest->isVisible());
    clickHantei(w);
    EXPECT_FALSE(f.LblBest->isVisible());

    f.D1->trigger();
    w.click(w.thumbnail(0), {5, 5});
    w.dialogs->confirmAnswers.push_back(true);
    w.click(f.BitBtnToroku);
    ASSERT_EQ(f.catalogue.faceCount, 3);

    startGameWith(w, 1);  // the old face 2
    placeAtAnswers(w, kLayout.answer, kOffsets);
    clickHantei(w);
    EXPECT_EQ(f.LblBest->caption(), QStringLiteral("自己ベスト 1000"));
    EXPECT_EQ(storedInt(dir, face2, "Best"), 1000);
    clickHantei(w);

    startGameWith(w, 2);  // the old face 3, now at face 2's old index
    placeAtAnswers(w, kLayout.answer, kOffsets);
    clickHantei(w);
    EXPECT_EQ(f.LblBest->caption(), QStringLiteral("自己ベスト更新！"));
    EXPECT_EQ(storedInt(dir, face3, "Best"), 979);
    clickHantei(w);

    f.Blind1->trigger();
    startGameWith(w, 1);
    coverAfterTheLook(f);
    placeAtAnswers(w, kLayout.answer, kOffsets);
    clickHantei(w);
    tickUntilUncovered(f);
    EXPECT_EQ(f.LblBest->caption(), QStringLiteral("目隠しの自己ベスト更新！"));
    EXPECT_EQ(storedInt(dir, face2, "BestBlind"), 979);
    EXPECT_EQ(storedInt(dir, face2, "Best"), 1000);
    EXPECT_TRUE(w.dialogs->errors.isEmpty());
}

// A damaged Scores.ini reads as empty and is written over the old lines; a
// file that cannot be written (either of the two) is reported, and the game
// goes on as usual.
TEST(PersonalBest, ADamagedOrUnwritableFileNeverBreaksAJudgement) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    const QString face0 = faceIdentity(dir.readBytes(QStringLiteral("data/face0_0.jpg")));
    dir.writeBytes(QStringLiteral("data/Scores.ini"),
                   QByteArray("\x01\xff\xfe garbage\r\n[") + face0.toLatin1() + "]\r\nBest=lots\r\n");
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    f.Best1->trigger();

    startGameWith(w, 0);
    placeAtAnswers(w, kLayout.answer, kOffsets);
    clickHantei(w);
    EXPECT_EQ(f.LblScore->caption(), QStringLiteral("979 "));
    EXPECT_EQ(f.LblBest->caption(), QStringLiteral("自己ベスト更新！"));
    EXPECT_EQ(storedInt(dir, face0, "Best"), 979);
    EXPECT_TRUE(dir.readBytes(QStringLiteral("data/Scores.ini")).startsWith("\x01\xff\xfe garbage"));
    EXPECT_TRUE(w.dialogs->errors.isEmpty());
    clickHantei(w);

    QFile::remove(dir.file(QStringLiteral("data/Scores.ini")));
    QDir().mkpath(dir.file(QStringLiteral("data/Scores.ini")));
    startGameWith(w, 1);
    placeAtAnswers(w, kLayout.answer);
    clickHantei(w);
    EXPECT_EQ(w.dialogs->errors, QStringList{iniWriteErrorText(scoresPath(dir.path()))});
    EXPECT_EQ(f.LblBest->caption(), QStringLiteral("点数を記録できませんでした"));
    EXPECT_EQ(f.LblScore->caption(), QStringLiteral("1000 "));
    EXPECT_EQ(f.LblHantei->caption(), QStringLiteral("名人！"));
    EXPECT_EQ(f.BitBtnHantei->text(), Texts::Saikai);
    EXPECT_TRUE(f.BitBtnCancel->isVisible() && f.BitBtnCancel->isEnabled());
    clickCancel(w);
    EXPECT_TRUE(f.Edit1->isVisible()) << "saving goes on as usual";
    clickHantei(w);

    QFile::remove(dir.file(QStringLiteral("data/Play.ini")));
    QDir().mkpath(dir.file(QStringLiteral("data/Play.ini")));
    f.Blind1->trigger();
    EXPECT_EQ(w.dialogs->errors.size(), 2);
    EXPECT_EQ(w.dialogs->errors.last(), iniWriteErrorText(dir.file(QStringLiteral("data/Play.ini"))));
    EXPECT_TRUE(f.Blind1->isChecked()) << "the choice holds for this run";
}

// Return presses the focused button, as Space does; after 判定 the keyboard
// goes on from 再開 whether the game was seeing or blindfolded.
TEST(Keyboard, ReturnPressesTheFocusedButtonAndAJudgementLeavesTheFocusOnResume) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    GameWindow w(dir);
    TForm1& f = *w.form;
    w.finishTitle();
    for (const bool blind : {false, true}) {
        if (blind) f.Blind1->trigger();
        startGameWith(w, 1);
        if (blind) coverAfterTheLook(f);
        placeAtAnswers(w, f.catalogue.faceAnswers[1], kOffsets);
        ASSERT_TRUE(f.BitBtnHantei->isEnabled()) << "blind " << blind;
        f.BitBtnHantei->setFocus();
        QTest::keyClick(f.BitBtnHantei, Qt::Key_Return);
        if (blind) {
            EXPECT_EQ(f.game().blindfold().course().phase(), BlindPhase::Reveal);
            tickUntilUncovered(f);
        }
        EXPECT_EQ(f.LblScore->caption(), QStringLiteral("979 ")) << "blind " << blind;
        EXPECT_EQ(f.BitBtnHantei->text(), Texts::Saikai);
        EXPECT_EQ(f.focusWidget(), f.BitBtnHantei) << "blind " << blind;
        QTest::keyClick(f.focusWidget(), Qt::Key_Enter, Qt::KeypadModifier);
        EXPECT_FALSE(f.BitBtnHantei->isVisible()) << "再開: back to the faces";
        EXPECT_EQ(f.Label1->caption(), QStringLiteral("作りたい顔をクリックしてください。"));
    }
    EXPECT_TRUE(w.dialogs->errors.isEmpty());
}
