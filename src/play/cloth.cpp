// SPDX-License-Identifier: GPL-3.0-or-later
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
const QColor kMarkPlaced(246, 211, 101);   // a warm tab: this part is on the face
const QColor kMarkPlacedText(60, 40, 10);
const QColor kMarkEmptyText(196, 206, 228);  // a faint outline: still to come

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

QImage markPlacedParts(const QImage& cloth, const std::array<bool, 5>& placed, const QFont& font) {
    static const std::array<QString, 5> names{QString(), QStringLiteral("右目"), QStringLiteral("左目"),
                                              QStringLiteral("鼻"), QStringLiteral("口")};
    QImage marked = cloth.copy();
    const int w = marked.width(), h = marked.height();
    const int cell = w / 4;
    if (cell < 8 || h < 16) return marked;
    QPainter p(&marked);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f = font;
    f.setBold(true);
    f.setPixelSize(std::clamp(cell * 2 / 5, 8, 22));
    p.setFont(f);
    const int tabHeight = f.pixelSize() + 8;
    const int top = h - tabHeight - std::max(2, h / 40);
    for (int slot = 1; slot <= 4; ++slot) {
        const QRectF tab(cell * (slot - 1) + 3, top, cell - 6, tabHeight);
        if (placed[slot]) {
            p.setPen(Qt::NoPen);
            p.setBrush(kMarkPlaced);
            p.drawRoundedRect(tab, 4, 4);
            p.setPen(kMarkPlacedText);
        } else {
            p.setPen(QPen(kMarkEmptyText, 1, Qt::DashLine));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(tab.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
            p.setPen(kMarkEmptyText);
        }
        p.drawText(tab, Qt::AlignCenter, names[slot]);
    }
    return marked;
}
