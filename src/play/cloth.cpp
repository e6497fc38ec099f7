#include "play/cloth.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

namespace {

const QColor kCotton(92, 118, 168);      // soft indigo
const QColor kWarp(104, 131, 182);       // threads running down
const QColor kWeft(80, 104, 152);        // threads running across
const QColor kCaption(250, 248, 240);
const QColor kCaptionShadow(48, 62, 96);

}  // namespace

QString clothCaption() { return QStringLiteral("目隠し中"); }

QImage drawCloth(QSize size, const QFont& font) {
    const QSize s(std::max(size.width(), 1), std::max(size.height(), 1));
    QImage cloth(s, QImage::Format_RGB32);
    cloth.fill(kCotton);
    // Plain weave: every other thread lies on top, alternating row by row,
    // drawn as short light and dark dashes on a 4-pixel grid.
    const QRgb warp = kWarp.rgb(), weft = kWeft.rgb(), gap = kCotton.darker(115).rgb();
    for (int y = 0; y < s.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(cloth.scanLine(y));
        for (int x = 0; x < s.width(); ++x) {
            const bool warpOnTop = ((x / 4) + (y / 4)) % 2 == 0;
            const bool edge = warpOnTop ? (x % 4 == 3) : (y % 4 == 3);
            line[x] = edge ? gap : warpOnTop ? warp : weft;
        }
    }

    QPainter p(&cloth);
    QFont f = font;
    f.setBold(true);
    // Four characters fill about three quarters of the width.
    f.setPixelSize(std::clamp(s.width() * 3 / 16, 8, 48));
    p.setFont(f);
    const QRect area(QPoint(0, 0), s);
    p.setPen(kCaptionShadow);
    p.drawText(area.translated(1, 1), Qt::AlignCenter, clothCaption());
    p.setPen(kCaption);
    p.drawText(area, Qt::AlignCenter, clothCaption());
    return cloth;
}
