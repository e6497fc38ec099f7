// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/face_box_redraw.h"

#include "pictures/face_box_fit.h"
#include "pictures/stretch.h"

QImage blankFaceBox() {
    QImage box(kFaceBoxSide, kFaceBoxSide, QImage::Format_RGB32);
    box.fill(Qt::white);
    return box;
}

void redrawFaceBox(QImage& faceBox, const QImage& source, QSize drawSize) {
    if (faceBox.isNull()) return;
    faceBox.fill(Qt::white);
    stretchDraw(faceBox, QRect(QPoint(0, 0), drawSize), source);
}
