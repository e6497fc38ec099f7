// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Pictures whose headers claim more than their data holds, for the caps on
// picture sizes.
#include "files/app_error.h"
#include "pictures/jpeg_codec.h"
#include "support/temp_app_dir.h"

#include <QByteArray>

// JPEG data whose frame header claims width x height (at most 65535 each);
// the scan data stays that of an 8 x 8 picture, so a decoder that accepts the
// size stops at the end marker with JWRN_HIT_MARKER.
inline QByteArray jpegClaiming(int width, int height) {
    QByteArray bytes = encodeJpeg(testPicture(8, 8));
    const qsizetype sof = bytes.indexOf("\xff\xc0");
    bytes[sof + 5] = char(height >> 8);
    bytes[sof + 6] = char(height & 0xff);
    bytes[sof + 7] = char(width >> 8);
    bytes[sof + 8] = char(width & 0xff);
    return bytes;
}
