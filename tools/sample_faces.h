// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The catalogue shipped with the game, drawn here rather than taken from
// anywhere: cartoon faces painted with QPainter, then outlined, cut out and
// painted over exactly as the game's own authoring does before it registers
// a face. Also the title picture and the logo.
#include "catalogue/catalogue_files.h"
#include "pictures/outline.h"

#include <QImage>
#include <QString>
#include <array>

struct SampleFace {
    QImage face;                                // unpainted, RGB32, longer side 300
    std::array<OutlinePointList, 4> outlines;   // right eye, left eye, nose, mouth
    QRgb paint = 0;                             // the colour the parts are painted over with
};

int sampleFaceCount();
// Face index (0 .. sampleFaceCount() - 1) drawn with its part outlines.
SampleFace drawSampleFace(int index);

// The painted-over face: every outline filled with the paint colour.
QImage paintedSampleFace(const SampleFace& face);
// What registering the face writes: part pictures cut from the unpainted
// face, the painted face, the answers; shrunk when a part side exceeds 85.
NewFacePictures authorSampleFace(const SampleFace& face);

// Registers every sample face, in order, into appDir + "data/", which must be
// empty or absent (it is created).
void writeSampleCatalogue(const QString& appDir);

// The 495 x 196 title picture; its bottom-left pixel's colour is the
// see-through background and appears nowhere else.
QImage drawTitlePicture();
// The 368 x 56 logo.
QImage drawLogoPicture();

// A picture as a 24-bit Windows bitmap (throws std::runtime_error).
void writeBitmap24(const QImage& picture, const QString& path);
// The help text read as UTF-8 and written in Shift-JIS with CR LF line ends
// (throws when a character has no Shift-JIS form or a file fails).
void writeHelpText(const QString& utf8SourcePath, const QString& targetPath);
