// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings section of one face: keys X1, X2, X3, X4, Y1, Y2, Y3, Y4,
// written in this order.
#include "catalogue/face_answers.h"

#include <QString>
#include <utility>
#include <vector>

class IniFile;

// The section's keys and values, in the order they are written.
std::vector<std::pair<QString, QString>> answerSectionEntries(const FaceAnswer& answer);
void writeAnswerSection(IniFile& ini, int face, const FaceAnswer& answer);
