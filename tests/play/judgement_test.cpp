// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/judgement.h"

#include <gtest/gtest.h>
#include <climits>

namespace {

constexpr int kFaceLeft = 8;
constexpr int kFaceTop = 120;
constexpr int kFace = 2;

// X1..X4, Y1..Y4.
const FaceAnswer kAnswer{40, 160, 100, 95, 80, 82, 130, 200};

SlotPlacement onAnswer(int slot, int dx = 0, int dy = 0) {
    return {kFace, kFaceLeft + answerX(kAnswer, slot) + dx, kFaceTop + answerY(kAnswer, slot) + dy};
}

std::int64_t points(const SlotPlacement& p, int slot) {
    return slotPoints(p, slot, kFace, kAnswer, kFaceLeft, kFaceTop);
}

}  // namespace

TEST(Judgement, FourPartsExactlyOnTheirAnswersScore1000) {
    std::array<SlotPlacement, 5> placed;
    for (int s = 1; s <= 4; ++s) placed[s] = onAnswer(s);
    const std::int64_t total = judgeTotal(placed, kFace, kAnswer, kFaceLeft, kFaceTop);
    EXPECT_EQ(total, 1000);
    EXPECT_EQ(scoreCaption(total), QStringLiteral("1000 "));
    EXPECT_EQ(ratingFor(total).word, QStringLiteral("名人！"));
}

// Every direction costs the same, and a horizontal pixel as much as a vertical one.
TEST(Judgement, ThreeAcrossAndFourUpScores243InEveryDirection) {
    for (int s = 1; s <= 4; ++s) {
        EXPECT_EQ(points(onAnswer(s, 3, -4), s), 243);
        EXPECT_EQ(points(onAnswer(s, -3, -4), s), 243);
        EXPECT_EQ(points(onAnswer(s, 3, 4), s), 243);
        EXPECT_EQ(points(onAnswer(s, -3, 4), s), 243);
        EXPECT_EQ(points(onAnswer(s, 4, 3), s), 243);
    }
}

TEST(Judgement, PartOfAnotherFaceScoresNothingEvenOnTheAnswer) {
    SlotPlacement other = onAnswer(3);
    other.face = kFace + 1;
    EXPECT_EQ(points(other, 3), 0);
    other.face = 0;
    EXPECT_EQ(points(other, 3), 0);
    other.face = -1;
    EXPECT_EQ(points(other, 3), 0);

    std::array<SlotPlacement, 5> placed;
    for (int s = 1; s <= 4; ++s) placed[s] = {kFace - 1, 0, 0};
    const std::int64_t total = judgeTotal(placed, kFace, kAnswer, kFaceLeft, kFaceTop);
    EXPECT_EQ(total, 0);
    EXPECT_EQ(ratingFor(total).word, QStringLiteral("もう一がんばり！"));
    EXPECT_EQ(ratingFor(total).praise, QStringLiteral("努力しましょう！"));
}

TEST(Judgement, FarAwayPartScoresBelowZeroAndLowersTheTotal) {
    EXPECT_EQ(points(onAnswer(2, -200, 100), 2), -50);
    std::array<SlotPlacement, 5> placed;
    for (int s = 1; s <= 4; ++s) placed[s] = {0, 0, 0};
    placed[2] = onAnswer(2, -200, 100);
    const std::int64_t total = judgeTotal(placed, kFace, kAnswer, kFaceLeft, kFaceTop);
    EXPECT_EQ(total, -50);
    EXPECT_EQ(scoreCaption(total), QStringLiteral("-50 "));
}

// Any value an ini file can hold, against any place on the window.
TEST(Judgement, ExtremeAnswersDoNotOverflow) {
    const FaceAnswer extreme{INT_MIN, INT_MAX, INT_MIN, INT_MAX, INT_MAX, INT_MIN, INT_MAX, INT_MIN};
    std::array<SlotPlacement, 5> placed;
    placed[1] = {kFace, INT_MAX, INT_MIN};
    placed[2] = {kFace, INT_MIN, INT_MAX};
    placed[3] = {kFace, INT_MIN, INT_MIN};
    placed[4] = {kFace, INT_MAX, INT_MAX};
    const std::int64_t slot1 = slotPoints(placed[1], 1, kFace, extreme, kFaceLeft, kFaceTop);
    // dx = INT_MAX - 8 - INT_MIN, dy = INT_MIN - 120 - INT_MAX.
    const std::int64_t dx = std::int64_t{INT_MAX} - 8 - INT_MIN;
    const std::int64_t dy = std::int64_t{INT_MAX} + 120 - INT_MIN;
    EXPECT_EQ(slot1, 250 - dx - dy);
    const std::int64_t total = judgeTotal(placed, kFace, extreme, kFaceLeft, kFaceTop);
    EXPECT_LT(total, 0);
    EXPECT_EQ(ratingFor(total).word, QStringLiteral("もう一がんばり！"));
    EXPECT_TRUE(scoreCaption(total).startsWith(QLatin1Char('-')));
}

TEST(Judgement, RatingBandsMeetAtTheirEdges) {
    EXPECT_EQ(ratingFor(975).word, QStringLiteral("名人！"));
    EXPECT_EQ(ratingFor(974).word, QStringLiteral("上級者！"));
    EXPECT_EQ(ratingFor(700).word, QStringLiteral("上級者！"));
    EXPECT_EQ(ratingFor(700).praise, QStringLiteral("よかったですね。"));
    EXPECT_EQ(ratingFor(699).word, QStringLiteral("並！"));
    EXPECT_EQ(ratingFor(500).word, QStringLiteral("並！"));
    EXPECT_TRUE(ratingFor(500).praise.isEmpty());
    EXPECT_EQ(ratingFor(499).word, QStringLiteral("もう一がんばり！"));
    EXPECT_EQ(ratingFor(-1).word, QStringLiteral("もう一がんばり！"));
    EXPECT_EQ(ratingFor(INT64_MIN).word, QStringLiteral("もう一がんばり！"));
    EXPECT_EQ(ratingFor(1000).praise, QStringLiteral("おめでとうございます！"));
}

TEST(Judgement, PromptIsPraiseThenSaveHintThenResumeHint) {
    EXPECT_EQ(judgedPrompt(ratingFor(980)),
              QStringLiteral("おめでとうございます！\r「保存」ボタンを押すとこの顔を保存します。\r"
                             "「再開」ボタンを押すとゲームを再開します。"));
    // The middle band has no praise: the prompt starts with an empty line.
    EXPECT_TRUE(judgedPrompt(ratingFor(600)).startsWith(QStringLiteral("\r「保存」")));
}
