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
}  // namespace Texts
