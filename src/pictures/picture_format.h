// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which kind of picture a file holds, told from its first bytes alone (never
// from its name): a PNG named ".jpg" is a PNG.
#include <QByteArrayView>

enum class PictureFormat { Unknown, Jpeg, Bitmap, Png, Gif, WebP, Heif, Avif };

// How many leading bytes pictureFormatOf looks at, at most: enough for the
// brands of an ISO media file's "ftyp" box.
constexpr int kPictureFormatHeadBytes = 64;

// The kind of the picture whose data begins with head (a prefix of the file
// is enough). HEIF is any ISO media file whose brands name an HEVC or
// generic HEIF still picture; AVIF one whose brands name AV1 ("avif", "avis").
PictureFormat pictureFormatOf(QByteArrayView head);
