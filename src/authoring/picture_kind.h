// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How the authoring holds the photograph it loaded: as a JPEG, or as a
// bitmap (every other kind, decoded, and any zoomed picture).
#include "pictures/picture_format.h"

enum class PictureKind { None = 0, Bitmap = 1, Jpeg = 2 };

// A JPEG stays a JPEG; every other kind of picture is held as a bitmap.
inline PictureKind pictureKindOf(PictureFormat format) {
    return format == PictureFormat::Jpeg ? PictureKind::Jpeg : PictureKind::Bitmap;
}
