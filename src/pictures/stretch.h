// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Nearest-neighbour resampling and proportional fitting, the only scaling the
// program uses (rows and columns are repeated or dropped, never smoothed).
#include <QImage>
#include <QRect>
#include <QSize>

// The picture stretched to width x height (>= 0), nearest neighbour.
QImage stretchNearest(const QImage& source, int width, int height);

// The largest size with the picture's aspect ratio that fits the box, as
// drawn anchored at the box's top-left corner ("stretched proportional").
QSize proportionalSize(QSize picture, QSize box);

// Draws source stretched into target rect of canvas, nearest neighbour, clipped
// to the canvas (StretchDraw).
void stretchDraw(QImage& canvas, const QRect& target, const QImage& source);
