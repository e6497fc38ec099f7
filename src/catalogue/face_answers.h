// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The correct place of each part picture on its face picture.
#include <array>
#include <cstdint>

// Eight positions in the order X1, X2, X3, X4, Y1, Y2, Y3, Y4: the X of
// PartSlot s (1..4) at s - 1 and its Y at s + 3, in face-picture pixels.
using FaceAnswer = std::array<std::int32_t, 8>;

inline std::int32_t answerX(const FaceAnswer& a, int slot) { return a[slot - 1]; }
inline std::int32_t answerY(const FaceAnswer& a, int slot) { return a[slot + 3]; }
