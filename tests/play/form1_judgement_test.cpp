// SPDX-License-Identifier: GPL-3.0-or-later
// Judging a composed face and resuming, through the real window: every part
// is put in place by a real drag.
#include "board/caption_label.h"
#include "board/image_control.h"
#include "board/scroll_box.h"
#include "support/window/play_driver.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

const TestFaceLayout kLayout;
const QString kSaveHint = QStringLiteral("\r「保存」ボタンを押すとこの顔を保存します。\r「再開」ボタンを押すとゲームを再開します。");

}  // namespace

// Four own parts exactly on their answers: the top score, the whole face
// beside the composition, the buttons turned into resume and save.
TEST(Judgement, FourOwnPartsOnTheirAnswersScoreAThousand) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    GameWindow w(dir);
    TForm1& f = *w.form;
    startGameWith(w, 1);
    placeAtAnswers(w, kLayout.answer);
    clickHantei(w);

    EXPECT_EQ(f.LblScore->caption(), QStringLiteral("1000 "));
    EXPECT_TRUE(f.LblScore->isVisible());
    EXPECT_EQ(f.LblHantei->caption(), QStringLiteral("名人！"));
    EXPECT_TRUE(f.LblHantei->isVisible());
    EXPECT_EQ(f.Label1->caption(), QStringLiteral("おめでとうございます！") + kSaveHint);
    EXPECT_EQ(f.Label1->fontPoints(), 14);
    EXPECT_EQ(f.BitBtnHantei->text(), QStringLiteral("再開"));
    EXPECT_TRUE(f.BitBtnHantei->isEnabled());
    EXPECT_EQ(f.BitBtnCancel->text(), QStringLiteral("保存"));
    EXPECT_TRUE(f.BitBtnCancel->isVisible());
    EXPECT_TRUE(f.BitBtnCancel->isEnabled());
    EXPECT_FALSE(f.PageControl1->isVisible());
    EXPECT_TRUE(f.ImgFace2->isVisible());
    EXPECT_EQ(f.ImgFace2->geometry(), QRect(384, 120, 120, 150));
    EXPECT_TRUE(nearColour(f.ImgFace2->picture().pixel(60, 75), testFaceColour(1, 0)))
        << "the whole face of the face played";
    for (int s = 1; s <= 4; ++s) {
        EXPECT_EQ(f.game().state().placedFace[s], -1);
        EXPECT_TRUE(partOnFace(w, s, 1)) << "the composition stays on the face";
    }
    EXPECT_FALSE(f.F1->isEnabled());
    EXPECT_FALSE(f.R1->isEnabled());
}

// Each band of the rating table from its edges, the points placed by drags
// moved off the answers in every direction.
TEST(Judgement, TheRatingBandsMeetWhereTheTableSays) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    GameWindow w(dir);
    TForm1& f = *w.form;
    struct Case {
        std::array<QPoint, 5> offsets;
        QString score, word, praise;
    };
    const Case cases[] = {
        {{QPoint(), {25, 0}, {}, {}, {}}, "975 ", "名人！", "おめでとうございます！"},
        {{QPoint(), {}, {-26, 0}, {}, {}}, "974 ", "上級者！", "よかったですね。"},
        {{QPoint(), {50, 50}, {-50, 50}, {50, -50}, {}}, "700 ", "上級者！", "よかったですね。"},
        {{QPoint(), {50, 50}, {-50, 50}, {50, -50}, {1, 0}}, "699 ", "並！", ""},
        {{QPoint(), {100, 50}, {-60, 90}, {60, -50}, {-40, -50}}, "500 ", "並！", ""},
        {{QPoint(), {100, 50}, {-60, 90}, {60, -50}, {-40, -51}}, "499 ", "もう一がんばり！", "努力しましょう！"},
        {{QPoint(), {0, 3}, {0, -3}, {3, 0}, {-3, 0}}, "988 ", "名人！", "おめでとうございます！"},
    };
    for (const Case& c : cases) {
        startGameWith(w, 0);
        placeAtAnswers(w, kLayout.answer, c.offsets);
        clickHantei(w);
        EXPECT_EQ(f.LblScore->caption(), c.score);
        EXPECT_EQ(f.LblHantei->caption(), c.word) << c.score.toStdString();
        EXPECT_EQ(f.Label1->caption(), c.praise + kSaveHint) << c.score.toStdString();
        clickHantei(w);  // resume
    }
}

// A part of another face scores nothing even when it lies exactly on the
// answer; four of them score nothing at all.
TEST(Judgement, PartsOfAnotherFaceScoreNothingEvenOnTheAnswer) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    GameWindow w(dir);
    TForm1& f = *w.form;
    startGameWith(w, 0);
    for (int s = 1; s <= 3; ++s) placePart(w, s, 0, {answerX(kLayout.answer, s), answerY(kLayout.answer, s)});
    placePart(w, 4, 2, {answerX(kLayout.answer, 4), answerY(kLayout.answer, 4)});
    clickHantei(w);
    EXPECT_EQ(f.LblScore->caption(), QStringLiteral("750 "));
    EXPECT_EQ(f.LblHantei->caption(), QStringLiteral("上級者！"));
    clickHantei(w);

    startGameWith(w, 0);
    for (int s = 1; s <= 4; ++s) placePart(w, s, 1 + s % 2, {answerX(kLayout.answer, s), answerY(kLayout.answer, s)});
    clickHantei(w);
    EXPECT_EQ(f.LblScore->caption(), QStringLiteral("0 "));
    EXPECT_EQ(f.LblHantei->caption(), QStringLiteral("もう一がんばり！"));
    EXPECT_EQ(f.Label1->caption(), QStringLiteral("努力しましょう！") + kSaveHint);
}

// Own parts far from their answers cost more than they earn; the total goes
// below zero and shows with a minus sign.
TEST(Judgement, FarOffPartsMakeANegativeTotal) {
    TempAppDir dir;
    TestFaceLayout big;
    big.face = QSize(300, 300);
    big.answer = {0, 0, 0, 0, 0, 0, 0, 0};
    writeTestCatalogue(dir, 3, big);
    GameWindow w(dir);
    TForm1& f = *w.form;
    startGameWith(w, 0);
    placePart(w, 1, 0, {200, 100});  // -50
    placePart(w, 2, 0, {0, 0});      // 250
    placePart(w, 3, 0, {260, 260});  // -270
    placePart(w, 4, 0, {250, 250});  // -250
    clickHantei(w);
    EXPECT_EQ(f.LblScore->caption(), QStringLiteral("-320 "));
    EXPECT_EQ(f.LblHantei->caption(), QStringLiteral("もう一がんばり！"));
}

// The resume puts everything back: parts into their palettes, the slots
// emptied, the face selection shown from its top.
TEST(Judgement, ResumeReturnsEveryPartToItsPaletteAndShowsTheFaceSelection) {
    TempAppDir dir;
    writeTestCatalogue(dir, 7, kLayout);
    GameWindow w(dir);
    TForm1& f = *w.form;
    startGameWith(w, 2);
    placeAtAnswers(w, kLayout.answer);
    clickHantei(w);
    clickCancel(w);  // ask for a name, then resume without saving
    ASSERT_TRUE(f.Edit1->isVisible());
    f.ScrollBox1->setVerticalPosition(50);
    clickHantei(w);

    for (int s = 1; s <= 4; ++s)
        for (int i = 0; i < 7; ++i)
            EXPECT_FALSE(partOnFace(w, s, i)) << s << "/" << i;
    for (int s = 1; s <= 4; ++s) EXPECT_EQ(f.game().state().placedFace[s], -1);
    for (QWidget* gone : std::initializer_list<QWidget*>{f.ImgFace1, f.ImgFace2, f.LblScore, f.LblHantei, f.Edit1,
                                                         f.BitBtnHantei, f.BitBtnCancel, f.PageControl1})
        EXPECT_FALSE(gone->isVisible()) << gone->objectName().toStdString();
    EXPECT_EQ(f.BitBtnHantei->text(), QStringLiteral("判定"));
    EXPECT_FALSE(f.BitBtnHantei->isEnabled());
    EXPECT_EQ(f.BitBtnCancel->text(), QStringLiteral("キャンセル"));
    EXPECT_TRUE(f.ScrollBox1->isVisible());
    EXPECT_EQ(f.ScrollBox1->verticalPosition(), 0);
    EXPECT_EQ(f.Label1->caption(), QStringLiteral("作りたい顔をクリックしてください。"));
    EXPECT_TRUE(f.F1->isEnabled());
    EXPECT_FALSE(f.R1->isEnabled()) << "nothing saved, the library is still empty";

    // The next game deals a full palette and starts from empty slots.
    startGameWith(w, 4);
    EXPECT_TRUE(f.PageControl1->isVisible());
    EXPECT_FALSE(f.BitBtnHantei->isEnabled());
    placePart(w, 1, 4, {10, 30});
    EXPECT_FALSE(f.BitBtnHantei->isEnabled()) << "one part does not fill four slots";
}

// Without the whole-face picture the judgement stops after hiding the
// palettes; both buttons still lead back, and the next game starts clean.
TEST(Judgement, AMissingWholeFacePictureStopsTheJudgementButBothButtonsLeadBack) {
    TempAppDir dir;
    writeTestCatalogue(dir, 3, kLayout);
    GameWindow w(dir);
    TForm1& f = *w.form;

    for (bool viaResume : {true, false}) {
        startGameWith(w, 0);
        placeAtAnswers(w, kLayout.answer);
        const QString picture = dir.path() + QStringLiteral("data/face0_0.jpg");
        const QByteArray kept = dir.readBytes(QStringLiteral("data/face0_0.jpg"));
        ASSERT_TRUE(QFile::remove(picture));
        w.dialogs->errors.clear();
        clickHantei(w);
        dir.writeBytes(QStringLiteral("data/face0_0.jpg"), kept);

        ASSERT_EQ(w.dialogs->errors, QStringList{QStringLiteral("ファイル %1 は開けません").arg(picture)});
        EXPECT_EQ(f.BitBtnHantei->text(), QStringLiteral("再開"));
        EXPECT_EQ(f.BitBtnCancel->text(), QStringLiteral("キャンセル"));
        EXPECT_FALSE(f.PageControl1->isVisible());
        EXPECT_FALSE(f.LblScore->isVisible());
        EXPECT_FALSE(f.ImgFace2->isVisible());

        if (viaResume)
            clickHantei(w);
        else
            clickCancel(w);
        EXPECT_TRUE(f.ScrollBox1->isVisible());
        EXPECT_EQ(f.Label1->caption(), QStringLiteral("作りたい顔をクリックしてください。"));
        for (int s = 1; s <= 4; ++s) {
            EXPECT_EQ(f.game().state().placedFace[s], -1) << "slot " << s << (viaResume ? " after 再開" : " after キャンセル");
            for (int i = 0; i < 3; ++i) EXPECT_FALSE(partOnFace(w, s, i));
        }
    }
}
