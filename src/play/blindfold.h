// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The course of a blindfolded game, apart from the window: a look at the blank
// face counted down in whole seconds, the cloth over the face while the parts
// are placed, and the cloth lifted in short steps before the judgement. One
// timer drives it: each tick advances it by one step of the current phase and
// tickInterval() says when the next one is due, so a test turns it by hand.
#include <QString>

enum class BlindPhase {
    Off,      // no blindfold: a seeing game, or no game
    Look,     // the blank face shows, counting down
    Covered,  // the cloth lies over the face; parts are placed under it
    Reveal,   // the cloth slides up; nothing is taken meanwhile
};

// What a tick did.
enum class BlindStep { Nothing, CountDown, Cover, Lift, Uncovered };

class BlindfoldCourse {
public:
    static constexpr int kLookSeconds = 3;
    static constexpr int kLookTickMs = 1000;
    static constexpr int kRevealTickMs = 20;
    static constexpr int kRevealTicks = 75;  // 75 x 20 ms: the moment everyone watches

    BlindPhase phase() const { return phase_; }
    // A new look at the face, whatever the phase was.
    void startLook();
    // From Covered only; false (and nothing changes) in any other phase.
    bool startReveal();
    // Back to Off from any phase.
    void stop();
    // Look: 3 -> 2 -> 1 (CountDown), then Covered (Cover). Reveal: Lift until
    // the cloth is gone, then Off (Uncovered). Off and Covered: Nothing.
    BlindStep tick();

    // The number shown during the look (3, 2, 1); 0 outside it.
    int secondsLeft() const { return phase_ == BlindPhase::Look ? secondsLeft_ : 0; }
    // Milliseconds until the next tick; 0 when the phase needs none.
    int tickInterval() const;
    // How far the cloth of the given height has risen: 0 until the reveal,
    // growing with every tick of it, the whole height at its end.
    int liftedPixels(int height) const;
    // Whether a part may be picked up: never while the face is looked at or
    // uncovered.
    bool partsMayMove() const { return phase_ == BlindPhase::Off || phase_ == BlindPhase::Covered; }
    bool covering() const { return phase_ == BlindPhase::Covered || phase_ == BlindPhase::Reveal; }

private:
    BlindPhase phase_ = BlindPhase::Off;
    int secondsLeft_ = 0;
    int revealTicks_ = 0;
};

// Label1 during the look: "顔をよく覚えてください。あと3秒で目隠しをします。".
QString lookPrompt(int secondsLeft);
// Label1 while the cloth lies over the face.
QString blindPlacingPrompt();
// The line added to the look's prompt when a part is pressed during the look.
QString lookHint();
// Label1 while the cloth rises.
QString revealPrompt();
