// SPDX-License-Identifier: GPL-3.0-or-later
#include "catalogue/answer_section.h"

#include "files/ini_file.h"

std::vector<std::pair<QString, QString>> answerSectionEntries(const FaceAnswer& answer) {
    static const QString keys[8] = {QStringLiteral("X1"), QStringLiteral("X2"), QStringLiteral("X3"),
                                    QStringLiteral("X4"), QStringLiteral("Y1"), QStringLiteral("Y2"),
                                    QStringLiteral("Y3"), QStringLiteral("Y4")};
    std::vector<std::pair<QString, QString>> entries;
    entries.reserve(8);
    // FaceAnswer holds X1..X4, then Y1..Y4.
    for (int i = 0; i < 8; ++i) entries.emplace_back(keys[i], QString::number(answer[i]));
    return entries;
}

void writeAnswerSection(IniFile& ini, int face, const FaceAnswer& answer) {
    const QString section = QString::number(face);
    for (const auto& [key, value] : answerSectionEntries(answer)) ini.writeString(section, key, value);
}
