// SPDX-License-Identifier: GPL-3.0-or-later
// make_icon <out dir> <icon name>
// Draws the game's icon, a fukuwarai face on the main window's sky blue framed
// in the face grid's teal, into <out dir>/<N>x<N>/apps/<icon name>.png at the
// sizes the desktop's icon theme looks for. Each size is drawn afresh from
// the shapes (not scaled from a bigger picture), so 48 px stays crisp.
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

// The picture is designed on a 256 × 256 board.
void drawIcon(QPainter& p) {
    const QColor skyBlue(166, 202, 240), teal(0, 128, 128), skin(250, 222, 190), ink(45, 30, 25),
        cheek(240, 150, 140), lips(200, 40, 50);
    p.setRenderHint(QPainter::Antialiasing);

    p.setPen(QPen(teal, 14));
    p.setBrush(skyBlue);
    p.drawRoundedRect(QRectF(9, 9, 238, 238), 40, 40);

    p.setPen(QPen(ink, 9));
    p.setBrush(skin);
    p.drawEllipse(QRectF(38, 30, 180, 206));

    p.setPen(Qt::NoPen);
    p.setBrush(cheek);
    p.drawEllipse(QRectF(62, 150, 30, 20));
    p.drawEllipse(QRectF(164, 150, 30, 20));

    // The eyes not quite level, as a blindfolded player puts them.
    p.setBrush(ink);
    p.save();
    p.translate(94, 106);
    p.rotate(-14);
    p.drawEllipse(QRectF(-17, -22, 34, 44));
    p.restore();
    p.drawEllipse(QRectF(146, 92, 34, 44));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(95, 90, 10, 12));
    p.drawEllipse(QRectF(162, 98, 10, 12));

    QPainterPath nose;
    nose.moveTo(130, 122);
    nose.cubicTo(118, 152, 116, 164, 134, 166);
    p.setPen(QPen(ink, 9, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(nose);

    QPainterPath mouth;
    mouth.moveTo(92, 186);
    mouth.cubicTo(112, 214, 152, 214, 170, 182);
    mouth.cubicTo(150, 196, 114, 198, 92, 186);
    p.setPen(QPen(lips.darker(130), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(lips);
    p.drawPath(mouth);
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_icon <out dir> <icon name>\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    const QString name = QString::fromLocal8Bit(argv[2]);
    for (int size : {48, 64, 128, 256}) {
        QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
        icon.fill(Qt::transparent);
        QPainter p(&icon);
        p.scale(size / 256.0, size / 256.0);
        drawIcon(p);
        p.end();
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(out).arg(size);
        const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
        if (!QDir().mkpath(folder) || !icon.save(path, "PNG")) {
            std::fprintf(stderr, "make_icon: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
