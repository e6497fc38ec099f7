#pragma once
// The cloth that covers the face in a blindfolded game: an opaque piece of
// soft indigo cotton with a plain-weave pattern and "目隠し中" in its middle.
#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

// The words on the cloth.
QString clothCaption();

// The cloth at the given size (each side at least 1), fully opaque. The
// caption is drawn in font, its pixel size fitted to the cloth's width.
QImage drawCloth(QSize size, const QFont& font);
