// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/answer_section.h"

#include "files/ini_file.h"

void writeAnswerSection(IniFile& ini, int face, const FaceAnswer& answer) {
    const QString section = QString::number(face);
    for (int slot = 1; slot <= 4; ++slot)
        ini.writeInteger(section, QStringLiteral("X%1").arg(slot), answerX(answer, slot));
    for (int slot = 1; slot <= 4; ++slot)
        ini.writeInteger(section, QStringLiteral("Y%1").arg(slot), answerY(answer, slot));
}
