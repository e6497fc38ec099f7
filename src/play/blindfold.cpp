// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/blindfold.h"

#include <algorithm>

void BlindfoldCourse::startLook() {
    phase_ = BlindPhase::Look;
    secondsLeft_ = kLookSeconds;
    revealTicks_ = 0;
}

bool BlindfoldCourse::startReveal() {
    if (phase_ != BlindPhase::Covered) return false;
    phase_ = BlindPhase::Reveal;
    revealTicks_ = 0;
    return true;
}

void BlindfoldCourse::stop() {
    phase_ = BlindPhase::Off;
    secondsLeft_ = 0;
    revealTicks_ = 0;
}

BlindStep BlindfoldCourse::tick() {
    switch (phase_) {
    case BlindPhase::Look:
        if (--secondsLeft_ > 0) return BlindStep::CountDown;
        phase_ = BlindPhase::Covered;
        return BlindStep::Cover;
    case BlindPhase::Reveal:
        if (++revealTicks_ < kRevealTicks) return BlindStep::Lift;
        stop();
        return BlindStep::Uncovered;
    case BlindPhase::Off:
    case BlindPhase::Covered:
        break;
    }
    return BlindStep::Nothing;
}

int BlindfoldCourse::tickInterval() const {
    switch (phase_) {
    case BlindPhase::Look: return kLookTickMs;
    case BlindPhase::Reveal: return kRevealTickMs;
    default: return 0;
    }
}

int BlindfoldCourse::liftedPixels(int height) const {
    if (phase_ != BlindPhase::Reveal) return 0;
    // Rounded up, so that the first tick already moves a small cloth.
    const int h = std::max(height, 0);
    return std::min(h, (h * revealTicks_ + kRevealTicks - 1) / kRevealTicks);
}

QString lookPrompt(int secondsLeft) {
    return QStringLiteral("顔をよく覚えてください。あと%1秒で目隠しをします。").arg(secondsLeft);
}

QString blindPlacingPrompt() {
    return QStringLiteral(
        "目・鼻・口をそれぞれドラッグして、覚えた場所に置いてください。\r「キャンセル」ボタンを押すと顔の選択画面に戻ります。");
}

QString lookHint() { return QStringLiteral("目・鼻・口は、目隠しをしてから置けます。"); }

QString revealPrompt() { return QStringLiteral("目隠しを取ります。どんな顔になったかな？"); }
