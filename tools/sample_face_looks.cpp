// SPDX-License-Identifier: GPL-3.0-or-later
// The nine sample faces: different head shapes, skin tones, hair, eyes, noses
// and mouths. Face 2's moustache makes its mouth wider than 85 pixels, so its
// registration goes through the shrink.
#include "sample_face_look.h"

#include <array>

namespace {

const std::array<FaceLook, 9> kLooks = {{
    // 0: round face, short brown hair, round eyes, button nose, smile.
    {QSize(300, 300), QColor(191, 227, 245), QColor(249, 211, 180), QColor(107, 62, 31),
     QColor(70, 45, 25), QColor(192, 64, 74), QColor(60, 120, 216),
     HeadShape::Round, 210, 220, 150, HairStyle::Short,
     EyeStyle::Round, 44, 150, 34, 26, false, false,
     NoseStyle::Button, 188, 24, 22, MouthStyle::Smile, 226, 62, 24, true, false},
    // 1: egg-shaped face, long black hair, almond eyes with lashes, red lips.
    {QSize(260, 300), QColor(246, 214, 228), QColor(224, 172, 130), QColor(29, 26, 36),
     QColor(60, 40, 30), QColor(200, 40, 70), QColor(150, 60, 160),
     HeadShape::Egg, 176, 226, 140, HairStyle::LongStraight,
     EyeStyle::Almond, 38, 145, 36, 20, true, false,
     NoseStyle::Line, 182, 18, 30, MouthStyle::Lips, 220, 46, 20, false, false},
    // 2: long face, bald with grey tufts, sleepy eyes, long nose, moustache.
    {QSize(260, 300), QColor(216, 236, 208), QColor(243, 220, 200), QColor(150, 150, 150),
     QColor(80, 110, 140), QColor(170, 80, 80), QColor(110, 90, 70),
     HeadShape::Long, 196, 252, 140, HairStyle::Bald,
     EyeStyle::Sleepy, 38, 128, 32, 20, false, false,
     NoseStyle::Long, 172, 26, 48, MouthStyle::Moustache, 226, 80, 36, false, false},
    // 3: square jaw, spiky black hair, glasses, wide nose, laughing.
    {QSize(300, 300), QColor(255, 241, 184), QColor(184, 120, 79), QColor(34, 34, 34),
     QColor(50, 30, 20), QColor(150, 40, 40), QColor(220, 70, 50),
     HeadShape::SquareJaw, 206, 220, 148, HairStyle::Spiky,
     EyeStyle::Round, 46, 150, 30, 24, false, true,
     NoseStyle::Wide, 192, 34, 24, MouthStyle::Laugh, 230, 60, 30, false, false},
    // 4: pear-shaped face, orange bob, dot eyes, freckles, red ball nose, "oh".
    {QSize(300, 300), QColor(214, 228, 255), QColor(251, 224, 200), QColor(224, 122, 42),
     QColor(0, 0, 0), QColor(170, 50, 50), QColor(40, 150, 110),
     HeadShape::Pear, 212, 222, 152, HairStyle::Bob,
     EyeStyle::Dot, 40, 146, 16, 22, false, false,
     NoseStyle::Round, 184, 30, 28, MouthStyle::Oh, 226, 26, 32, false, true},
    // 5: round face, afro, almond eyes, wide nose, toothy grin.
    {QSize(300, 300), QColor(255, 217, 179), QColor(122, 74, 46), QColor(26, 20, 16),
     QColor(40, 25, 15), QColor(120, 40, 40), QColor(240, 200, 40),
     HeadShape::Round, 200, 214, 164, HairStyle::Afro,
     EyeStyle::Almond, 42, 160, 36, 20, false, false,
     NoseStyle::Wide, 197, 36, 26, MouthStyle::Grin, 234, 64, 26, false, false},
    // 6: egg-shaped face, blond pigtails, big blue eyes with lashes, blush.
    {QSize(300, 300), QColor(230, 214, 255), QColor(253, 230, 214), QColor(240, 192, 64),
     QColor(60, 120, 200), QColor(220, 80, 110), QColor(240, 110, 150),
     HeadShape::Egg, 196, 214, 150, HairStyle::Pigtails,
     EyeStyle::Round, 42, 150, 36, 30, true, false,
     NoseStyle::Button, 188, 18, 16, MouthStyle::Laugh, 222, 40, 22, true, false},
    // 7: narrow face, dark hair in a bun, happy closed eyes, hooked nose, smirk.
    {QSize(260, 300), QColor(205, 238, 230), QColor(217, 168, 119), QColor(58, 36, 24),
     QColor(40, 30, 20), QColor(150, 60, 60), QColor(70, 70, 120),
     HeadShape::Round, 176, 214, 156, HairStyle::Bun,
     EyeStyle::Happy, 36, 152, 32, 16, false, false,
     NoseStyle::Hook, 190, 24, 34, MouthStyle::Smirk, 230, 48, 20, false, false},
    // 8: wide picture; square face, grey bob, sleepy eyes behind glasses.
    {QSize(300, 270), QColor(255, 233, 198), QColor(245, 201, 176), QColor(184, 184, 200),
     QColor(90, 70, 50), QColor(180, 70, 80), QColor(120, 60, 90),
     HeadShape::SquareJaw, 200, 200, 132, HairStyle::Bob,
     EyeStyle::Sleepy, 44, 134, 30, 18, false, true,
     NoseStyle::Line, 170, 18, 26, MouthStyle::Smile, 204, 44, 18, true, false},
}};

}  // namespace

const FaceLook& sampleFaceLook(int index) { return kLooks.at(index); }
int sampleFaceLookCount() { return static_cast<int>(kLooks.size()); }
