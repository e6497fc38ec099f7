// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which decoder a chosen picture file gets, told from its name alone.
#include <QString>

enum class PictureKind { None = 0, Bitmap = 1, Jpeg = 2 };

// The file name's extension, in any letter case: ".bmp" is a bitmap, ".jpg"
// or ".jpeg" a JPEG, so every file the picture dialog lists loads. Names
// accepted before keep their kind: the characters right after the first "."
// of the whole path are looked at too ("face.bmpx" stays a bitmap), also in
// any letter case. Anything else is neither.
PictureKind pictureKindOfPath(const QString& path);
