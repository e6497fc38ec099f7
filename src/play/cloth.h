// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The cloth that covers the face in a blindfolded game: an opaque piece of
// soft indigo cotton with a plain-weave pattern and "目隠し中" in its middle.
#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>
#include <array>

// The words on the cloth.
QString clothCaption();

// The cloth at the given size (each side at least 1), fully opaque. The
// caption is drawn in font, its pixel size fitted to the cloth's width.
QImage drawCloth(QSize size, const QFont& font);

// The cloth as it lies over the face: the names of the four parts (右目, 左目,
// 鼻, 口) in a row along its bottom edge, each marked once placed[slot] says
// that a part of its kind lies under the cloth (placed[0] unused).
QImage markPlacedParts(const QImage& cloth, const std::array<bool, 5>& placed, const QFont& font);
