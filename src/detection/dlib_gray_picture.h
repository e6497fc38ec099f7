// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Handing a picture to dlib: its grey levels in a dlib image. The detector
// and the landmark model are given grey levels, one channel to read instead
// of three.
#include <QImage>
#include <dlib/array2d.h>

dlib::array2d<unsigned char> dlibGrayPicture(const QImage& picture);
