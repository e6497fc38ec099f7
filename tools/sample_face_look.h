// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How one sample face looks: the choices the drawing code combines.
#include <QColor>
#include <QSize>

enum class HeadShape { Round, Egg, Long, SquareJaw, Pear };
enum class HairStyle { Short, LongStraight, Bald, Spiky, Bob, Afro, Pigtails, Bun };
enum class EyeStyle { Round, Almond, Sleepy, Dot, Happy };
enum class NoseStyle { Button, Line, Long, Round, Wide, Hook };
enum class MouthStyle { Smile, Lips, Moustache, Laugh, Oh, Grin, Smirk };

struct FaceLook {
    QSize size;
    QColor backdrop, skin, hair, iris, lips, clothes;

    HeadShape head;
    int headW, headH, headY;  // head size and the Y of its widest line

    HairStyle hairStyle;

    EyeStyle eyes;
    int eyeGap, eyeY, eyeW, eyeH;  // eye centres at centre X -/+ eyeGap
    bool lashes, glasses;

    NoseStyle nose;
    int noseY, noseW, noseH;  // noseY: the nose's centre

    MouthStyle mouth;
    int mouthY, mouthW, mouthH;  // mouthY: the mouth's centre

    bool blush, freckles;
};

// The nine sample faces.
const FaceLook& sampleFaceLook(int index);
int sampleFaceLookCount();
