// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Authoring a face through the real window with the real mouse: choosing a
// picture, outlining parts on the face box, and the pictures used for it.
#include "support/test_catalogue.h"
#include "support/window/game_window.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <vector>

class CaptionLabel;

// The face-like test photograph: skin with two dark eyes, a brown nose and a
// red mouth, in flat colours (exact in a bitmap, within noise in a JPEG).
struct TestPhoto {
    static constexpr QRgb skin = 0xffe6be9c;
    static constexpr QRgb eye = 0xff283c50;
    static constexpr QRgb nose = 0xff8c5028;
    static constexpr QRgb mouth = 0xffc81e32;
    // Regions in a 400 x 300 photograph (drawn 300 x 225 in the face box).
    static QImage picture();
};

// Writes picture into dir under relative, as a bitmap or as a JPEG.
QString writeBitmapPicture(const TempAppDir& dir, const QString& relative, const QImage& picture);
QString writeJpegPicture(const TempAppDir& dir, const QString& relative, const QImage& picture);

// Leaves the title when still showing and starts the authoring with path
// chosen in the picture dialog, once the photograph is decoded.
void startAuthoring(GameWindow& w, const QString& path);

// Presses at the first point, moves through the others and releases at the
// last one, on the face box (its own coordinates).
void strokeOnFace(GameWindow& w, const std::vector<QPoint>& points);
// A left click on the part's title, then an outline around box (its
// corners, clockwise from the top-left).
void outlinePart(GameWindow& w, int slot, const QRect& box);
// The four parts of TestPhoto outlined with boxes that stay within 85 pixels.
void outlineAllParts(GameWindow& w);
// The boxes outlineAllParts uses, by slot 1..4 (face-box pixels).
QRect partBox(int slot);

QColor titleColour(const CaptionLabel* title);
// Every text the window shows as a prompt or a note (the visible labels other
// than the part titles), each whole, one per line of the list.
QStringList shownTexts(const TForm1& f);
// Whether two colours are within a JPEG's noise of each other.
bool closeColour(QRgb a, QRgb b, int tolerance = 24);
