// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The captions and prompts that several screens show.
#include <QString>

namespace Texts {
inline const QString Hantei = QStringLiteral("判定");
inline const QString Saikai = QStringLiteral("再開");
inline const QString Zoom = QStringLiteral("ズーム");
inline const QString Cancel = QStringLiteral("キャンセル");
inline const QString Hozon = QStringLiteral("保存");
inline const QString Toroku = QStringLiteral("登録");
inline const QString Sakujo = QStringLiteral("削除");
inline const QString ChooseFace = QStringLiteral("作りたい顔をクリックしてください。");
inline const QString PlacingPrompt = QStringLiteral(
    "目・鼻・口をそれぞれドラッグして顔の上に置いてください。\r「キャンセル」ボタンを押すと顔の選択画面に戻ります。");
inline const QString ReadyToJudge = QStringLiteral("これで良ければ「判定」ボタンを押してください。");
// The kind of part of a PartSlot 1..4, as its palette's tab names it.
inline QString partKind(int slot) {
    switch (slot) {
    case 1: return QStringLiteral("右目");
    case 2: return QStringLiteral("左目");
    case 3: return QStringLiteral("鼻");
    case 4: return QStringLiteral("口");
    default: return {};
    }
}
}  // namespace Texts
