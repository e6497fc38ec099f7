// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/judgement.h"

#include <cstdlib>

namespace {
constexpr std::int64_t kSlotFullMarks = 250;
}

std::int64_t slotPoints(const SlotPlacement& placed, int slot, int currentFace,
                        const FaceAnswer& answer, int faceLeft, int faceTop) {
    if (placed.face != currentFace || slot < 1 || slot > 4) return 0;
    // Every term is 32-bit, so the 64-bit differences cannot overflow even
    // with the most extreme positions an ini file can hold.
    const std::int64_t dx = std::int64_t{placed.left} - faceLeft - answerX(answer, slot);
    const std::int64_t dy = std::int64_t{placed.top} - faceTop - answerY(answer, slot);
    return kSlotFullMarks - std::llabs(dx) - std::llabs(dy);
}

std::int64_t judgeTotal(const std::array<SlotPlacement, 5>& placements, int currentFace,
                        const FaceAnswer& answer, int faceLeft, int faceTop) {
    std::int64_t total = 0;
    for (int slot = 1; slot <= 4; ++slot)
        total += slotPoints(placements[slot], slot, currentFace, answer, faceLeft, faceTop);
    return total;
}

Rating ratingFor(std::int64_t total) {
    if (total >= 975) return {QStringLiteral("名人！"), QStringLiteral("おめでとうございます！")};
    if (total >= 700) return {QStringLiteral("上級者！"), QStringLiteral("よかったですね。")};
    if (total >= 500) return {QStringLiteral("並！"), QString()};
    return {QStringLiteral("もう一がんばり！"), QStringLiteral("努力しましょう！")};
}

QString scoreCaption(std::int64_t total) {
    return QString::number(static_cast<qlonglong>(total)) + QLatin1Char(' ');
}

QString judgedPrompt(const Rating& rating) {
    return rating.praise + QLatin1Char('\r') + QStringLiteral("「保存」ボタンを押すと")
           + QStringLiteral("この顔を保存します。") + QLatin1Char('\r')
           + QStringLiteral("「再開」ボタンを押すとゲームを再開します。");
}
