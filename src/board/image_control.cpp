// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/image_control.h"

#include "pictures/stretch.h"

#include <QMouseEvent>
#include <QPainter>

ImageControl::ImageControl(QWidget* parent) : QWidget(parent) {
    // Nothing is painted outside the picture, so what lies behind shows there.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
}

void ImageControl::setPicture(const QImage& picture) { setFittedPicture(picture, picture.size()); }

void ImageControl::setFittedPicture(const QImage& picture, QSize sourceSize) {
    picture_ = picture;
    sourceSize_ = picture_.isNull() ? QSize() : sourceSize;
    if (autoSize_ && !picture_.isNull()) resize(sourceSize_);
    redraw();
}

void ImageControl::clearPicture() { setPicture(QImage()); }

void ImageControl::pictureChanged() {
    // The canvas is a picture of its own size, whatever it stood in for.
    sourceSize_ = picture_.isNull() ? QSize() : picture_.size();
    redraw();
}

void ImageControl::redraw() {
    cacheValid_ = false;
    update();
}

void ImageControl::setAutoSize(bool on) {
    autoSize_ = on;
    if (autoSize_ && !picture_.isNull()) resize(sourceSize_);
}
void ImageControl::setStretch(bool on) { stretch_ = on; redraw(); }
void ImageControl::setProportional(bool on) { proportional_ = on; redraw(); }
void ImageControl::setTransparent(bool on) { transparent_ = on; redraw(); }

QRect ImageControl::drawnRect() const {
    if (picture_.isNull()) return {};
    if (!stretch_) return QRect(QPoint(0, 0), sourceSize_);
    if (!proportional_) return rect();
    return QRect(QPoint(0, 0), proportionalSize(sourceSize_, size()));
}

const QImage& ImageControl::displayImage() const {
    if (cacheValid_) return cache_;
    const QRect r = drawnRect();
    QImage img = (r.size() == picture_.size()) ? picture_ : stretchNearest(picture_, r.width(), r.height());
    if (transparent_ && !img.isNull()) {
        const QRgb key = picture_.pixel(0, picture_.height() - 1) | 0xff000000u;
        img = img.convertToFormat(QImage::Format_ARGB32);
        for (int y = 0; y < img.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
            for (int x = 0; x < img.width(); ++x)
                if ((line[x] | 0xff000000u) == key) line[x] = 0;
        }
    }
    cache_ = img;
    cacheValid_ = true;
    return cache_;
}

QImage ImageControl::renderedPicture() const { return picture_.isNull() ? QImage() : displayImage(); }

void ImageControl::paintEvent(QPaintEvent*) {
    if (picture_.isNull()) return;
    QPainter p(this);
    p.drawImage(QPoint(0, 0), displayImage());
}

void ImageControl::resizeEvent(QResizeEvent*) { cacheValid_ = false; }

void ImageControl::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) leftPressed_ = true;
    if (onMouseDown) onMouseDown(this, e->button(), e->position().toPoint());
}

void ImageControl::mouseMoveEvent(QMouseEvent* e) {
    if (onMouseMove) onMouseMove(this, e->buttons(), e->position().toPoint());
}

void ImageControl::mouseReleaseEvent(QMouseEvent* e) {
    const bool click = e->button() == Qt::LeftButton && leftPressed_ && rect().contains(e->position().toPoint());
    if (e->button() == Qt::LeftButton) leftPressed_ = false;
    if (onMouseUp) onMouseUp(this, e->button(), e->position().toPoint());
    if (click && onClick) onClick(this);
}
