// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The most pixels a picture of each kind may decode to. The decoders check the
// size in the file's header against the caller's limit before they allocate
// anything, so a small hostile file cannot make the program take gigabytes.
#include <QtGlobal>

// Catalogue pictures (face<N>_<k>.jpg): the game writes them at most 300 x 300;
// a hand-made catalogue gets ten times the area and more (1024 x 1024, 4 MiB
// decoded), while a face click that decodes every part stays in memory bounds.
constexpr qint64 kCataloguePictureMaxPixels = qint64(1024) * 1024;

// Saved faces in the library: compositions of the window's face area (the
// whole client area is 722 x 524, 0.4 megapixels). Ten times that covers a
// picture saved on a high-density screen or edited elsewhere.
constexpr qint64 kLibraryPictureMaxPixels = qint64(4) * 1024 * 1024;

// The title and logo bitmaps beside the executable, shown inside the window.
constexpr qint64 kTitlePictureMaxPixels = qint64(4) * 1024 * 1024;

// Photographs chosen for a new face: today's largest camera sensors give
// 45-50 megapixels (8256 x 5504 is 45.4); 50 megapixels decode to 200 MB.
constexpr qint64 kPhotographMaxPixels = 50'000'000;

// The largest picture of any kind.
constexpr qint64 kMaxPicturePixels = kPhotographMaxPixels;
