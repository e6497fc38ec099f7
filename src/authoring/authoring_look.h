// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The prompts of authoring and deleting, and the part titles' colours that
// tell which part is being outlined or re-coloured.
#include "board/caption_label.h"

#include <QColor>
#include <QDir>
#include <QPalette>
#include <QString>

namespace AuthoringTexts {
inline const QString PictureDialogTitle = QStringLiteral("顔の読み込み");
// Every kind the authoring reads; a file of another name opens too when its
// content is one of them.
inline const QString PictureDialogFilter = QStringLiteral(
    "ピクチャファイル (*.jpg;*.jpeg;*.heic;*.heif;*.avif;*.png;*.webp;*.gif;*.bmp)"
    "|*.jpg;*.jpeg;*.heic;*.heif;*.avif;*.png;*.webp;*.gif;*.bmp");
// A photograph given that cannot be read: a file, or data pasted or dropped.
inline QString photoUnreadable(const QString& path) {
    return QStringLiteral("ファイル %1 は写真として読めません。").arg(QDir::toNativeSeparators(path));
}
inline const QString PastedPhotoUnreadable = QStringLiteral("貼り付けた画像は写真として読めません。");
inline const QString ZoomOffered = QStringLiteral(
    "画像の一部を拡大したい場合は、「ズーム」ボタンを押してから、\r"
    "マウスボタンを押しながら拡大したい部分を矩形で囲んでください。\r"
    "画像をそのまま使う場合は、作成したい部分のタイトルを左クリックしてから、\r"
    "顔のその部分を、マウスボタンを押しながら曲線で囲んでください。\r"
    "「キャンセル」ボタンを押すと顔の追加を中止します。");
inline const QString RectangleChosen = QStringLiteral(
    "選択した部分を拡大表示する場合は「ズーム」ボタンを押してください。\r"
    "やり直す場合は、マウスボタンを押しながら拡大したい部分を矩形で囲んでください。\r"
    "「キャンセル」ボタンを押すと顔の追加を中止します。");
inline const QString Outlining = QStringLiteral(
    "作成したい部分のタイトルを左クリックしてから、\r"
    "顔のその部分を、マウスボタンを押しながら曲線で囲んでください。\r"
    "塗りつぶしの色を変更したい場合は、変更したい部分のタイトルを右クリックしてから、\r"
    "顔の好きなところをクリックしてください。（何度でもできます。）\r"
    "「キャンセル」ボタンを押すと顔の追加を中止します。");
inline const QString ReadyToRegister = QStringLiteral(
    "これでよければ、この顔を追加登録します。\r"
    "「登録」ボタンを押してください。\r"
    "「キャンセル」ボタンを押すと顔の追加を中止します。");
inline const QString ChooseFaceToDelete = QStringLiteral(
    "削除したい顔をクリックしてから「削除」ボタンを押してください。\r"
    "「キャンセル」ボタンを押すと顔の削除を中止します。");
inline const QString FacesNotFound = QStringLiteral("顔が見つかりませんでした。手で囲んでください。");
inline const QString CheckOutlines = QStringLiteral("目・鼻・口の囲みを確かめてください。");
inline const QString SmallFace = QStringLiteral("顔が小さいので、ぼやけるかもしれません。");
inline const QString OtherFaces = QStringLiteral("ほかの顔にするときは、下の小さな顔をクリックしてください。");
inline const QString CannotDeleteMore = QStringLiteral("これ以上は削除できません。");
inline const QString ConfirmDelete = QStringLiteral("この顔を削除しますか？");
// Shown when a deletion takes longer than a second.
inline const QString Deleting = QStringLiteral("削除しています…");

// The prompt after a proposal: what to look at first, then how to register;
// five lines at most, the last a short one, so that it keeps clear of the
// part titles and the face box. (What a search adds about other faces, or
// none, is said beside its button.)
inline QString proposalPrompt(bool needsChecking, bool mayBlur) {
    QString prompt;
    if (needsChecking) prompt += CheckOutlines + QLatin1Char('\r');
    if (mayBlur) prompt += SmallFace + QLatin1Char('\r');
    return prompt + ReadyToRegister;
}
}  // namespace AuthoringTexts

namespace TitleColours {
inline const QColor Idle(255, 255, 0);        // clYellow
inline const QColor Outlining(255, 0, 0);     // clRed
inline const QColor Picking(0, 128, 0);       // clGreen
}  // namespace TitleColours

// A part title's background colour.
inline void setTitleColour(CaptionLabel* title, const QColor& colour) {
    QPalette p = title->palette();
    p.setColor(QPalette::Window, colour);
    title->setPalette(p);
}
