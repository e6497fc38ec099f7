// SPDX-License-Identifier: GPL-3.0-or-later
#include "detection/dlib_gray_picture.h"

#include <cstring>

dlib::array2d<unsigned char> dlibGrayPicture(const QImage& picture) {
    const QImage gray = picture.convertToFormat(QImage::Format_Grayscale8);
    dlib::array2d<unsigned char> out(gray.height(), gray.width());
    for (int y = 0; y < gray.height(); ++y)
        std::memcpy(&out[y][0], gray.constScanLine(y), size_t(gray.width()));
    return out;
}
