#pragma once
// Which decoder a chosen picture file gets, told from its name alone.
#include <QString>

enum class PictureKind { None = 0, Bitmap = 1, Jpeg = 2 };

// Looks at the characters right after the first "." of the whole path (folder
// names included): "bmp"/"BMP" is a bitmap, "jpg"/"JPG" or "jpeg"/"JPEG" a
// JPEG; any other spelling, mixed case included, is neither.
PictureKind pictureKindOfPath(const QString& path);
