// SPDX-License-Identifier: GPL-3.0-or-later
// The title picture and the logo: the product name in large type.
#include "sample_faces.h"

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace {

const QString kProductName = QStringLiteral("ポムリナ");
// The see-through colour of the title: used for its background only.
const QColor kSeeThrough(255, 0, 255);

QFont nameFont(int pixelSize) {
    QFont f(QStringLiteral("IPAPGothic"));
    f.setPixelSize(pixelSize);
    f.setBold(true);
    return f;
}

// The name as an outline path, centred on centre.
QPainterPath namePath(const QString& text, int pixelSize, QPointF centre) {
    QPainterPath path;
    path.addText(0, 0, nameFont(pixelSize), text);
    const QRectF r = path.boundingRect();
    path.translate(centre - r.center());
    return path;
}

// A small round face as decoration.
void drawBadgeFace(QPainter& p, QPointF c, double r, QColor skin) {
    p.setPen(QPen(QColor(90, 50, 40), 2));
    p.setBrush(skin);
    p.drawEllipse(c, r, r);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 30, 30));
    p.drawEllipse(c + QPointF(-r * 0.35, -r * 0.15), r * 0.1, r * 0.14);
    p.drawEllipse(c + QPointF(r * 0.35, -r * 0.15), r * 0.1, r * 0.14);
    p.setPen(QPen(QColor(190, 60, 70), 2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(c.x() - r * 0.4, c.y() - r * 0.1, r * 0.8, r * 0.6), 200 * 16, 140 * 16);
}

}  // namespace

QImage drawTitlePicture() {
    QImage img(495, 196, QImage::Format_RGB32);
    img.fill(kSeeThrough);
    QPainter p(&img);
    // The plate is drawn without antialiasing so that no edge pixel mixes
    // with the see-through colour.
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(QColor(120, 60, 20), 6));
    QLinearGradient plate(0, 10, 0, 186);
    plate.setColorAt(0, QColor(255, 246, 200));
    plate.setColorAt(1, QColor(255, 200, 120));
    p.setBrush(plate);
    p.drawRoundedRect(QRectF(14, 14, 467, 168), 60, 60);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 9; ++i) {
        p.setBrush(i % 2 ? QColor(255, 150, 60) : QColor(120, 190, 255));
        p.drawEllipse(QPointF(70 + i * 44, 162), 6, 6);
    }

    p.setRenderHint(QPainter::Antialiasing, true);
    const QPainterPath name = namePath(kProductName, 96, QPointF(247, 92));
    p.setPen(QPen(QColor(90, 40, 20), 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(name);
    QLinearGradient fill(0, 40, 0, 140);
    fill.setColorAt(0, QColor(255, 120, 170));
    fill.setColorAt(1, QColor(230, 40, 90));
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawPath(name);
    drawBadgeFace(p, QPointF(50, 56), 20, QColor(250, 214, 180));
    drawBadgeFace(p, QPointF(445, 56), 20, QColor(200, 140, 95));
    return img;
}

QImage drawLogoPicture() {
    QImage img(368, 56, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    QLinearGradient back(0, 0, 368, 0);
    back.setColorAt(0, QColor(0, 110, 120));
    back.setColorAt(1, QColor(40, 170, 160));
    p.fillRect(img.rect(), back);
    drawBadgeFace(p, QPointF(30, 28), 18, QColor(250, 214, 180));
    drawBadgeFace(p, QPointF(338, 28), 18, QColor(200, 140, 95));
    const QPainterPath name = namePath(kProductName, 44, QPointF(184, 28));
    p.setPen(QPen(QColor(20, 40, 60), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(name);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 236, 120));
    p.drawPath(name);
    return img;
}
