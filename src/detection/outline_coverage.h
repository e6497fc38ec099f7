// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which face-box pixels an outline paints, as paintOutline paints them (the
// even-odd fill and the one-pixel edges): the measure of "inside" for the
// proposed outlines, so that a landmark counts as enclosed only when its
// pixel is really painted over.
#include "pictures/outline.h"

#include <QPointF>

// True when painting outline paints the pixel under point.
bool outlineCovers(const OutlinePointList& outline, QPointF point);

// True when painting a and painting b would paint some pixel in common.
bool outlinesOverlap(const OutlinePointList& a, const OutlinePointList& b);
