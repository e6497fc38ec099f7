// SPDX-License-Identifier: GPL-3.0-or-later
#include "form1_authoring_driver.h"

#include "board/caption_label.h"
#include "board/image_control.h"
#include "pictures/jpeg_codec.h"

#include <QAction>
#include <QPainter>
#include <gtest/gtest.h>

QImage TestPhoto::picture() {
    QImage img(400, 300, QImage::Format_RGB32);
    img.fill(skin);
    QPainter p(&img);
    // Face-box regions times 4/3: right eye 80..110 x 80..100, left eye
    // 180..210 x 80..100, nose 135..165 x 120..150, mouth 120..180 x 170..190.
    p.fillRect(QRect(107, 107, 40, 26), QColor::fromRgb(eye));
    p.fillRect(QRect(240, 107, 40, 26), QColor::fromRgb(eye));
    p.fillRect(QRect(180, 160, 40, 40), QColor::fromRgb(nose));
    p.fillRect(QRect(160, 227, 80, 26), QColor::fromRgb(mouth));
    return img;
}

QString writeBitmapPicture(const TempAppDir& dir, const QString& relative, const QImage& picture) {
    const QString path = dir.file(relative);
    EXPECT_TRUE(picture.save(path, "BMP"));
    return path;
}

QString writeJpegPicture(const TempAppDir& dir, const QString& relative, const QImage& picture) {
    const QString path = dir.file(relative);
    writeJpegFile(path, picture);
    return path;
}

void startAuthoring(GameWindow& w, const QString& path) {
    if (w.form->faceSelection().titleShowing()) w.finishTitle();
    w.dialogs->openFileAnswers.push_back(path);
    w.form->A1->trigger();
    // The photograph is decoded behind the window; the test goes on once it
    // shows.
    w.form->finishPendingWork();
}

void strokeOnFace(GameWindow& w, const std::vector<QPoint>& points) {
    ImageControl* face = w.form->ImgFace1;
    w.press(face, points.front());
    for (std::size_t i = 1; i < points.size(); ++i) w.move(face, points[i]);
    w.release(face, points.back());
}

void outlinePart(GameWindow& w, int slot, const QRect& box) {
    w.click(w.form->partTitle(slot));
    const QPoint tl = box.topLeft();
    const QPoint br(box.x() + box.width(), box.y() + box.height());
    strokeOnFace(w, {tl, QPoint(br.x(), tl.y()), br, QPoint(tl.x(), br.y())});
}

QRect partBox(int slot) {
    switch (slot) {
    case 1: return {70, 70, 50, 40};    // around the right eye, 80..110 x 80..100
    case 2: return {170, 70, 50, 40};   // around the left eye
    case 3: return {125, 110, 50, 50};  // around the nose, 135..165 x 120..150
    default: return {110, 160, 80, 40}; // around the mouth, 120..180 x 170..190
    }
}

void outlineAllParts(GameWindow& w) {
    for (int s = 1; s <= 4; ++s) outlinePart(w, s, partBox(s));
}

QColor titleColour(const CaptionLabel* title) { return title->palette().color(QPalette::Window); }

QStringList shownTexts(const TForm1& f) {
    QStringList texts;
    for (const CaptionLabel* label : f.ClientArea->findChildren<CaptionLabel*>()) {
        bool title = false;
        for (int s = 1; s <= 4; ++s) title = title || label == f.partTitle(s);
        if (!title && label->isVisible() && !label->caption().isEmpty()) texts << label->caption();
    }
    return texts;
}

bool closeColour(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}
