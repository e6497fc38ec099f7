// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/countdown_picture.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {

const QColor kFill(255, 214, 64);
const QColor kOutline(40, 36, 64);

}  // namespace

QImage drawCountDown(int secondsLeft, int height, const QFont& font) {
    const int side = std::max(height, 16);
    QImage picture(side * 3 / 4, side, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QFont f = font;
    f.setWeight(QFont::Black);
    f.setPixelSize(side);
    QPainterPath digit;
    digit.addText(0, 0, f, QString::number(secondsLeft));
    // Centred in the picture by its drawn outline, not by the font's metrics.
    const QRectF bounds = digit.boundingRect();
    digit.translate(picture.width() / 2.0 - bounds.center().x(), picture.height() / 2.0 - bounds.center().y());
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    // The outline first and the fill over it, so the outline only widens
    // the digit and never thins its strokes.
    p.strokePath(digit, QPen(kOutline, std::max(3, side / 10), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.fillPath(digit, kFill);
    return picture;
}
