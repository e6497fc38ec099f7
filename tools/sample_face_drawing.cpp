// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing a sample face with QPainter and placing the outlines of its parts
// the way a user would draw them: a loose closed curve around each part.
#include "sample_face_look.h"
#include "sample_faces.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
const QColor kInk(45, 30, 25);

struct Geometry {
    double cx;          // centre line of the face
    double top, chin;   // head extent
    double topW;        // half width of the crown at headY
    double jawW, jawDrop, chinW;
};

Geometry geometryOf(const FaceLook& l) {
    Geometry g{};
    g.cx = l.size.width() / 2.0;
    g.top = l.headY - l.headH / 2.0;
    g.chin = l.headY + l.headH / 2.0;
    const double w = l.headW / 2.0;
    g.topW = w;
    switch (l.head) {
    case HeadShape::Round: g.jawW = w; g.jawDrop = 0.5523; g.chinW = 0.5523 * w; break;
    case HeadShape::Egg: g.jawW = 0.92 * w; g.jawDrop = 0.6; g.chinW = 0.38 * w; break;
    case HeadShape::Long: g.jawW = 0.95 * w; g.jawDrop = 0.65; g.chinW = 0.45 * w; break;
    case HeadShape::SquareJaw: g.jawW = w; g.jawDrop = 0.95; g.chinW = 0.8 * w; break;
    case HeadShape::Pear: g.topW = 0.82 * w; g.jawW = 1.12 * w; g.jawDrop = 0.75; g.chinW = 0.7 * w; break;
    }
    return g;
}

// Half-axes of the loose outline around each part.
QSizeF eyeOutlineRadii(const FaceLook& l) {
    if (l.glasses) {
        const double lens = std::max(l.eyeW, l.eyeH) / 2.0 + 6;
        return {lens + 6, lens + 6};
    }
    return {l.eyeW / 2.0 + 7, l.eyeH / 2.0 + 7 + (l.lashes ? 4 : 0)};
}
QSizeF noseOutlineRadii(const FaceLook& l) { return {l.noseW / 2.0 + 6, l.noseH / 2.0 + 6}; }
QSizeF mouthOutlineRadii(const FaceLook& l) { return {l.mouthW / 2.0 + 7, l.mouthH / 2.0 + 7}; }

QPointF eyeCentre(const FaceLook& l, const Geometry& g, int slot) {
    // The face's own right eye is on the viewer's left.
    return {slot == 1 ? g.cx - l.eyeGap : g.cx + l.eyeGap, double(l.eyeY)};
}

QPainterPath headPath(const FaceLook& l, const Geometry& g) {
    constexpr double k = 0.5523;  // quarter-ellipse control distance
    const double y = l.headY, topH = y - g.top, botH = g.chin - y, cx = g.cx;
    QPainterPath p;
    p.moveTo(cx - g.topW, y);
    p.cubicTo(cx - g.topW, y - k * topH, cx - k * g.topW, g.top, cx, g.top);
    p.cubicTo(cx + k * g.topW, g.top, cx + g.topW, y - k * topH, cx + g.topW, y);
    p.cubicTo(cx + g.jawW, y + botH * g.jawDrop, cx + g.chinW, g.chin, cx, g.chin);
    p.cubicTo(cx - g.chinW, g.chin, cx - g.jawW, y + botH * g.jawDrop, cx - g.topW, y);
    p.closeSubpath();
    return p;
}

double browY(const FaceLook& l) { return l.eyeY - eyeOutlineRadii(l).height() - 7; }
double fringeY(const FaceLook& l) { return browY(l) - 12; }

void drawBody(QPainter& p, const FaceLook& l, const Geometry& g) {
    const double h = l.size.height();
    p.setPen(Qt::NoPen);
    p.setBrush(l.skin.darker(112));
    p.drawRect(QRectF(g.cx - l.headW * 0.17, l.headY, l.headW * 0.34, h - l.headY));
    const double shoulderTop = g.chin + 14;
    if (shoulderTop < h) {
        p.setBrush(l.clothes);
        p.drawEllipse(QPointF(g.cx, h + 60), l.size.width() * 0.48, h + 60 - shoulderTop);
        p.setBrush(l.skin.darker(112));
        QPainterPath collar;
        collar.moveTo(g.cx - l.headW * 0.17, shoulderTop - 2);
        collar.lineTo(g.cx + l.headW * 0.17, shoulderTop - 2);
        collar.lineTo(g.cx, shoulderTop + 22);
        collar.closeSubpath();
        p.drawPath(collar);
    }
}

void drawEars(QPainter& p, const FaceLook& l, const Geometry& g) {
    for (int side : {-1, 1}) {
        const QPointF c(g.cx + side * (g.topW - 3), l.eyeY + 10);
        p.setPen(QPen(l.skin.darker(125), 2));
        p.setBrush(l.skin);
        p.drawEllipse(c, 13, 20);
        p.setPen(QPen(l.skin.darker(135), 2));
        p.drawArc(QRectF(c.x() - 7 + side * 2, c.y() - 11, 14, 22), side < 0 ? 90 * 16 : -90 * 16, 180 * 16);
    }
}

void drawHairBehind(QPainter& p, const FaceLook& l, const Geometry& g) {
    p.setPen(Qt::NoPen);
    p.setBrush(l.hair);
    const double w = l.headW / 2.0;
    switch (l.hairStyle) {
    case HairStyle::LongStraight:
        p.drawRoundedRect(QRectF(g.cx - w - 16, g.top - 12, 2 * w + 32,
                                 std::min<double>(l.size.height(), g.chin + 40) - g.top + 12), 50, 50);
        break;
    case HairStyle::Bob:
        p.drawRoundedRect(QRectF(g.cx - w - 18, g.top - 14, 2 * w + 36, (g.chin - g.top) * 0.72 + 14), 60, 60);
        break;
    case HairStyle::Afro:
        p.drawEllipse(QPointF(g.cx, g.top + 60), w + 48, 100);
        break;
    case HairStyle::Pigtails:
        for (int side : {-1, 1}) {
            p.setBrush(l.hair);
            p.drawEllipse(QPointF(g.cx + side * (w + 22), l.headY + 14), 26, 40);
            p.setBrush(l.clothes);
            p.drawEllipse(QPointF(g.cx + side * (w + 4), l.headY - 22), 9, 9);
        }
        break;
    case HairStyle::Bun:
        p.drawEllipse(QPointF(g.cx, g.top - 4), 30, 26);
        break;
    case HairStyle::Short:
        p.drawEllipse(QPointF(g.cx, g.top + (l.headY - g.top) * 0.7), g.topW + 7, (l.headY - g.top) * 0.8);
        break;
    case HairStyle::Spiky:
    case HairStyle::Bald:
        break;
    }
}

// The crown of hair over the forehead, ending in a fringe above the brows.
QPainterPath crownPath(const FaceLook& l, const Geometry& g, double margin, int scallops, double dip) {
    constexpr double k = 0.5523;
    const double side = g.topW + margin, y0 = l.headY - (l.headY - g.top) * 0.2;
    const double top = g.top - margin, fy = fringeY(l);
    QPainterPath p;
    p.moveTo(g.cx - side, y0);
    p.cubicTo(g.cx - side, y0 - k * (y0 - top), g.cx - k * side, top, g.cx, top);
    p.cubicTo(g.cx + k * side, top, g.cx + side, y0 - k * (y0 - top), g.cx + side, y0);
    // Down the right temple, then the fringe from right to left.
    const double inner = g.topW - 14;
    p.lineTo(g.cx + inner, fy + dip);
    for (int i = 0; i < scallops; ++i) {
        const double x1 = g.cx + inner - 2 * inner * (i + 1) / scallops;
        const double xm = (g.cx + inner - 2 * inner * i / scallops + x1) / 2;
        p.quadTo(xm, fy - dip, x1, fy + dip);
    }
    p.closeSubpath();
    return p;
}

void drawHairInFront(QPainter& p, const FaceLook& l, const Geometry& g) {
    p.setPen(Qt::NoPen);
    p.setBrush(l.hair);
    switch (l.hairStyle) {
    case HairStyle::Short: p.drawPath(crownPath(l, g, 6, 4, 6)); break;
    case HairStyle::LongStraight: p.drawPath(crownPath(l, g, 6, 1, 2)); break;
    case HairStyle::Bob: p.drawPath(crownPath(l, g, 8, 7, 3)); break;
    case HairStyle::Afro: p.drawPath(crownPath(l, g, 10, 6, 8)); break;
    case HairStyle::Pigtails: p.drawPath(crownPath(l, g, 5, 3, 5)); break;
    case HairStyle::Bun: p.drawPath(crownPath(l, g, 4, 2, 8)); break;
    case HairStyle::Spiky: {
        QPainterPath crown = crownPath(l, g, 5, 5, 7);
        QPainterPath spikes;
        const int n = 7;
        // Spikes rise from inside the crown so that their base never shows.
        const double left = g.cx - 0.8 * g.topW, width = 1.6 * g.topW;
        spikes.moveTo(left, g.top + 30);
        for (int i = 0; i < n; ++i) {
            const double x = left + width * (i + 0.5) / n;
            const double lift = 26 + 10 * std::sin(i * 1.7);
            spikes.lineTo(x, g.top - lift);
            spikes.lineTo(left + width * (i + 1) / n, g.top + 10);
        }
        spikes.lineTo(left + width, g.top + 30);
        spikes.closeSubpath();
        p.drawPath(crown.united(spikes));
        break;
    }
    case HairStyle::Bald:
        for (int side : {-1, 1}) {
            p.drawEllipse(QPointF(g.cx + side * (g.topW - 4), l.eyeY - 14), 12, 22);
        }
        p.setPen(QPen(l.skin.lighter(112), 4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(g.cx - 40, g.top + 10, 50, 40), 100 * 16, 50 * 16);  // shine on the head
        break;
    }
}

void drawBrows(QPainter& p, const FaceLook& l, const Geometry& g) {
    const QColor brow = l.hairStyle == HairStyle::Bald ? l.hair.darker(130) : l.hair.darker(115);
    p.setPen(QPen(brow, 5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    for (int slot : {1, 2}) {
        const QPointF c = eyeCentre(l, g, slot);
        const double half = l.eyeW / 2.0 + 2, y = browY(l);
        QPainterPath b;
        b.moveTo(c.x() - half, y + 3);
        b.quadTo(c.x(), y - 4, c.x() + half, y + 3);
        p.drawPath(b);
    }
}

void drawIris(QPainter& p, const FaceLook& l, QPointF c, double r) {
    p.setPen(Qt::NoPen);
    p.setBrush(l.iris);
    p.drawEllipse(c, r, r);
    p.setBrush(QColor(15, 10, 10));
    p.drawEllipse(c, r * 0.5, r * 0.5);
    p.setBrush(Qt::white);
    p.drawEllipse(c + QPointF(-r * 0.35, -r * 0.4), r * 0.28, r * 0.28);
}

void drawEye(QPainter& p, const FaceLook& l, QPointF c, int outward) {
    const double w = l.eyeW, h = l.eyeH;
    const QRectF box(c.x() - w / 2, c.y() - h / 2, w, h);
    switch (l.eyes) {
    case EyeStyle::Round:
        p.setPen(QPen(kInk, 2));
        p.setBrush(Qt::white);
        p.drawEllipse(box);
        drawIris(p, l, c + QPointF(0, 1), h * 0.36);
        break;
    case EyeStyle::Almond: {
        QPainterPath eye;
        eye.moveTo(c.x() - w / 2, c.y() + 1);
        eye.quadTo(c.x() - w * 0.1, c.y() - h * 0.95, c.x() + w / 2, c.y() - 2);
        eye.quadTo(c.x() + w * 0.05, c.y() + h * 0.85, c.x() - w / 2, c.y() + 1);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawPath(eye);
        p.save();
        p.setClipPath(eye);
        drawIris(p, l, c, h * 0.42);
        p.restore();
        p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath lid;
        lid.moveTo(c.x() - w / 2, c.y() + 1);
        lid.quadTo(c.x() - w * 0.1, c.y() - h * 0.95, c.x() + w / 2, c.y() - 2);
        p.drawPath(lid);
        break;
    }
    case EyeStyle::Sleepy: {
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawEllipse(box);
        drawIris(p, l, c + QPointF(0, 2), h * 0.4);
        p.setBrush(l.skin.darker(115));
        p.drawChord(box, 0, 180 * 16);
        p.setPen(QPen(kInk, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(box.left(), c.y()), QPointF(box.right(), c.y()));
        p.setPen(QPen(kInk, 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawArc(box, 180 * 16, 180 * 16);
        break;
    }
    case EyeStyle::Dot:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(20, 15, 15));
        p.drawEllipse(box);
        p.setBrush(Qt::white);
        p.drawEllipse(QPointF(c.x() - w * 0.18, c.y() - h * 0.2), w * 0.18, w * 0.18);
        break;
    case EyeStyle::Happy: {
        p.setPen(QPen(kInk, 4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath arc;
        arc.moveTo(c.x() - w / 2, c.y() + h * 0.3);
        arc.quadTo(c.x(), c.y() - h * 0.9, c.x() + w / 2, c.y() + h * 0.3);
        p.drawPath(arc);
        break;
    }
    }
    if (l.lashes) {
        p.setPen(QPen(kInk, 2, Qt::SolidLine, Qt::RoundCap));
        for (int i = 0; i < 3; ++i) {
            const double a = (150 - 22 * i) * kPi / 180;  // along the outer upper edge
            const double ax = outward < 0 ? std::cos(a) : -std::cos(a);
            const QPointF from(c.x() + ax * w / 2, c.y() - std::sin(a) * h / 2);
            p.drawLine(from, from + QPointF(ax * 5, -std::sin(a) * 6 - 1));
        }
    }
    if (l.glasses) {
        const double lens = std::max(w, h) / 2.0 + 6;
        p.setPen(QPen(QColor(40, 40, 60), 3));
        p.setBrush(QColor(255, 255, 255, 50));
        p.drawEllipse(c, lens, lens);
    }
}

void drawGlassesFrame(QPainter& p, const FaceLook& l, const Geometry& g) {
    if (!l.glasses) return;
    const double gap = l.eyeGap - eyeOutlineRadii(l).width();  // clear of the eye outlines
    p.setPen(QPen(QColor(40, 40, 60), 3));
    p.setBrush(Qt::NoBrush);
    QPainterPath bridge;
    bridge.moveTo(g.cx - gap, l.eyeY - 3);
    bridge.quadTo(g.cx, l.eyeY - 10, g.cx + gap, l.eyeY - 3);
    p.drawPath(bridge);
    for (int side : {-1, 1}) {
        const double from = g.cx + side * (l.eyeGap + eyeOutlineRadii(l).width());
        p.drawLine(QPointF(from, l.eyeY - 4), QPointF(g.cx + side * (g.topW - 2), l.eyeY + 2));
    }
}

void drawNose(QPainter& p, const FaceLook& l, QPointF c) {
    const double w = l.noseW, h = l.noseH;
    const QColor shade = l.skin.darker(125);
    switch (l.nose) {
    case NoseStyle::Button:
        p.setPen(Qt::NoPen);
        p.setBrush(l.skin.darker(108));
        p.drawEllipse(QPointF(c.x(), c.y() + h * 0.1), w / 2, h * 0.4);
        p.setBrush(shade.darker(120));
        p.drawEllipse(QPointF(c.x() - w * 0.2, c.y() + h * 0.25), w * 0.1, h * 0.08);
        p.drawEllipse(QPointF(c.x() + w * 0.2, c.y() + h * 0.25), w * 0.1, h * 0.08);
        break;
    case NoseStyle::Line: {
        p.setPen(QPen(shade, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPainterPath n;
        n.moveTo(c.x() + w * 0.15, c.y() - h / 2);
        n.quadTo(c.x() - w * 0.1, c.y() + h * 0.1, c.x() - w * 0.35, c.y() + h * 0.35);
        n.quadTo(c.x(), c.y() + h * 0.5, c.x() + w * 0.35, c.y() + h * 0.35);
        p.drawPath(n);
        break;
    }
    case NoseStyle::Long: {
        QPainterPath n;
        n.moveTo(c.x() - w * 0.15, c.y() - h / 2);
        n.quadTo(c.x() - w * 0.2, c.y() + h * 0.1, c.x() - w / 2, c.y() + h * 0.3);
        n.cubicTo(c.x() - w * 0.5, c.y() + h * 0.52, c.x() + w * 0.5, c.y() + h * 0.52, c.x() + w / 2, c.y() + h * 0.3);
        n.quadTo(c.x() + w * 0.2, c.y() + h * 0.1, c.x() + w * 0.15, c.y() - h / 2);
        n.closeSubpath();
        p.setPen(QPen(shade, 2));
        p.setBrush(l.skin.darker(106));
        p.drawPath(n);
        p.setPen(Qt::NoPen);
        p.setBrush(shade.darker(130));
        p.drawEllipse(QPointF(c.x() - w * 0.2, c.y() + h * 0.38), w * 0.1, h * 0.04);
        p.drawEllipse(QPointF(c.x() + w * 0.2, c.y() + h * 0.38), w * 0.1, h * 0.04);
        break;
    }
    case NoseStyle::Round:
        p.setPen(QPen(QColor(150, 20, 20), 2));
        p.setBrush(QColor(225, 40, 40));
        p.drawEllipse(c, w / 2 - 1, h / 2 - 1);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 170, 170));
        p.drawEllipse(c + QPointF(-w * 0.15, -h * 0.17), w * 0.12, h * 0.1);
        break;
    case NoseStyle::Wide: {
        p.setPen(QPen(shade, 3, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(c.x() - w / 2, c.y() - h * 0.05, w * 0.4, h * 0.45), 90 * 16, 200 * 16);
        p.drawArc(QRectF(c.x() + w * 0.1, c.y() - h * 0.05, w * 0.4, h * 0.45), -110 * 16, 200 * 16);
        p.drawLine(QPointF(c.x() - w * 0.1, c.y() - h / 2), QPointF(c.x() - w * 0.12, c.y()));
        p.drawLine(QPointF(c.x() + w * 0.1, c.y() - h / 2), QPointF(c.x() + w * 0.12, c.y()));
        p.setPen(Qt::NoPen);
        p.setBrush(shade.darker(130));
        p.drawEllipse(QPointF(c.x() - w * 0.17, c.y() + h * 0.33), w * 0.09, h * 0.08);
        p.drawEllipse(QPointF(c.x() + w * 0.17, c.y() + h * 0.33), w * 0.09, h * 0.08);
        break;
    }
    case NoseStyle::Hook: {
        p.setPen(QPen(shade, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        QPainterPath n;
        n.moveTo(c.x() - w * 0.1, c.y() - h / 2);
        n.cubicTo(c.x() + w * 0.3, c.y() - h * 0.1, c.x() + w * 0.55, c.y() + h * 0.35, c.x() + w * 0.1, c.y() + h * 0.4);
        n.quadTo(c.x() - w * 0.2, c.y() + h * 0.45, c.x() - w * 0.35, c.y() + h * 0.25);
        p.drawPath(n);
        break;
    }
    }
}

void drawMouth(QPainter& p, const FaceLook& l, QPointF c) {
    const double w = l.mouthW, h = l.mouthH;
    const QColor dark(110, 30, 35);
    switch (l.mouth) {
    case MouthStyle::Smile: {
        p.setPen(QPen(l.lips.darker(130), 4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath m;
        m.moveTo(c.x() - w / 2, c.y() - h * 0.25);
        m.quadTo(c.x(), c.y() + h * 0.75, c.x() + w / 2, c.y() - h * 0.25);
        p.drawPath(m);
        break;
    }
    case MouthStyle::Lips: {
        QPainterPath upper;
        upper.moveTo(c.x() - w / 2, c.y());
        upper.quadTo(c.x() - w * 0.25, c.y() - h * 0.6, c.x(), c.y() - h * 0.25);
        upper.quadTo(c.x() + w * 0.25, c.y() - h * 0.6, c.x() + w / 2, c.y());
        upper.closeSubpath();
        QPainterPath lower;
        lower.moveTo(c.x() - w / 2, c.y());
        lower.quadTo(c.x(), c.y() + h * 0.95, c.x() + w / 2, c.y());
        lower.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(l.lips);
        p.drawPath(upper);
        p.setBrush(l.lips.lighter(115));
        p.drawPath(lower);
        p.setPen(QPen(l.lips.darker(150), 2));
        p.drawLine(QPointF(c.x() - w / 2, c.y()), QPointF(c.x() + w / 2, c.y()));
        break;
    }
    case MouthStyle::Moustache: {
        p.setPen(QPen(l.lips.darker(140), 3, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(c.x() - w * 0.18, c.y() - h * 0.05, w * 0.36, h * 0.45), 200 * 16, 140 * 16);
        QPainterPath tache;
        tache.moveTo(c.x(), c.y() - h * 0.32);
        tache.cubicTo(c.x() + w * 0.2, c.y() - h * 0.5, c.x() + w * 0.38, c.y() - h * 0.1, c.x() + w / 2, c.y() - h * 0.35);
        tache.cubicTo(c.x() + w * 0.45, c.y() + h * 0.1, c.x() + w * 0.2, c.y() + h * 0.12, c.x(), c.y() - h * 0.05);
        tache.cubicTo(c.x() - w * 0.2, c.y() + h * 0.12, c.x() - w * 0.45, c.y() + h * 0.1, c.x() - w / 2, c.y() - h * 0.35);
        tache.cubicTo(c.x() - w * 0.38, c.y() - h * 0.1, c.x() - w * 0.2, c.y() - h * 0.5, c.x(), c.y() - h * 0.32);
        p.setPen(QPen(l.hair.darker(130), 1.5));
        p.setBrush(l.hair.darker(110));
        p.drawPath(tache);
        break;
    }
    case MouthStyle::Laugh: {
        QPainterPath m;
        m.moveTo(c.x() - w / 2, c.y() - h * 0.3);
        m.quadTo(c.x(), c.y() - h * 0.45, c.x() + w / 2, c.y() - h * 0.3);
        m.cubicTo(c.x() + w * 0.45, c.y() + h * 0.6, c.x() - w * 0.45, c.y() + h * 0.6, c.x() - w / 2, c.y() - h * 0.3);
        p.setPen(QPen(dark.darker(120), 2));
        p.setBrush(dark);
        p.drawPath(m);
        p.save();
        p.setClipPath(m);
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(c.x() - w / 2, c.y() - h / 2, w, h * 0.32));
        p.setBrush(QColor(235, 110, 120));
        p.drawEllipse(QPointF(c.x(), c.y() + h * 0.45), w * 0.25, h * 0.3);
        p.restore();
        break;
    }
    case MouthStyle::Oh:
        p.setPen(QPen(dark.darker(120), 3));
        p.setBrush(dark);
        p.drawEllipse(c, w / 2, h / 2);
        break;
    case MouthStyle::Grin: {
        const QRectF r(c.x() - w / 2, c.y() - h / 2, w, h);
        p.setPen(QPen(dark, 3));
        p.setBrush(Qt::white);
        p.drawRoundedRect(r, h * 0.45, h * 0.45);
        p.setPen(QPen(QColor(150, 150, 150), 1.5));
        p.drawLine(QPointF(r.left() + 4, c.y()), QPointF(r.right() - 4, c.y()));
        for (int i = 1; i < 6; ++i) {
            const double x = r.left() + w * i / 6;
            p.drawLine(QPointF(x, r.top() + 3), QPointF(x, r.bottom() - 3));
        }
        break;
    }
    case MouthStyle::Smirk: {
        p.setPen(QPen(l.lips.darker(130), 4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        QPainterPath m;
        m.moveTo(c.x() - w / 2, c.y() + h * 0.1);
        m.cubicTo(c.x() - w * 0.1, c.y() + h * 0.4, c.x() + w * 0.25, c.y() + h * 0.3, c.x() + w / 2, c.y() - h * 0.35);
        p.drawPath(m);
        break;
    }
    }
}

void drawCheeks(QPainter& p, const FaceLook& l, const Geometry& g) {
    p.setPen(Qt::NoPen);
    if (l.blush) {
        p.setBrush(QColor(240, 120, 130, 90));
        for (int side : {-1, 1}) p.drawEllipse(QPointF(g.cx + side * (l.eyeGap + 16), l.noseY + 10), 17, 10);
    }
    if (l.freckles) {
        p.setBrush(l.skin.darker(140));
        static const QPointF dots[] = {{0, 0}, {8, 3}, {3, 9}, {13, 10}, {-6, 7}};
        for (int side : {-1, 1})
            for (QPointF d : dots)
                p.drawEllipse(QPointF(g.cx + side * (l.eyeGap + 14 + d.x()), l.noseY + d.y()), 1.8, 1.8);
    }
}

// A loose closed curve around an ellipse, wobbling outward only so that it
// never cuts into the part.
OutlinePointList looseOutline(QPointF c, QSizeF radii, int seed) {
    OutlinePointList points;
    const int n = 30;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * kPi * i / n;
        const double wobble = 1.0 + 0.03 * (1 + std::sin(3 * a + seed)) + 0.02 * (1 + std::sin(7 * a + 2 * seed));
        points.emplace_back(int(std::lround(c.x() + std::cos(a) * radii.width() * wobble)),
                            int(std::lround(c.y() + std::sin(a) * radii.height() * wobble)));
    }
    return points;
}

}  // namespace

int sampleFaceCount() { return sampleFaceLookCount(); }

SampleFace drawSampleFace(int index) {
    const FaceLook& l = sampleFaceLook(index);
    const Geometry g = geometryOf(l);
    SampleFace s;
    s.face = QImage(l.size, QImage::Format_RGB32);
    s.face.fill(l.backdrop);
    s.paint = l.skin.rgb();
    {
        QPainter p(&s.face);
        p.setRenderHint(QPainter::Antialiasing);
        drawHairBehind(p, l, g);
        drawBody(p, l, g);
        drawEars(p, l, g);
        p.setPen(QPen(l.skin.darker(125), 2));
        p.setBrush(l.skin);
        p.drawPath(headPath(l, g));
        drawCheeks(p, l, g);
        drawHairInFront(p, l, g);
        drawBrows(p, l, g);
        drawEye(p, l, eyeCentre(l, g, 1), -1);
        drawEye(p, l, eyeCentre(l, g, 2), 1);
        drawGlassesFrame(p, l, g);
        drawNose(p, l, QPointF(g.cx, l.noseY));
        drawMouth(p, l, QPointF(g.cx, l.mouthY));
    }
    s.outlines[0] = looseOutline(eyeCentre(l, g, 1), eyeOutlineRadii(l), index);
    s.outlines[1] = looseOutline(eyeCentre(l, g, 2), eyeOutlineRadii(l), index + 3);
    s.outlines[2] = looseOutline(QPointF(g.cx, l.noseY), noseOutlineRadii(l), index + 5);
    s.outlines[3] = looseOutline(QPointF(g.cx, l.mouthY), mouthOutlineRadii(l), index + 7);
    return s;
}
