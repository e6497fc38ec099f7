// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An image control of the window: shows a picture at its own size, stretched,
// or stretched with its aspect ratio kept (anchored top-left, the rest
// see-through), always nearest neighbour. Optionally the colour of the
// picture's bottom-left pixel is see-through. Mouse presses, moves, releases
// and clicks are handed to the window's handlers.
#include <QImage>
#include <QWidget>
#include <functional>

class ImageControl : public QWidget {
    Q_OBJECT
public:
    explicit ImageControl(QWidget* parent = nullptr);

    const QImage& picture() const { return picture_; }
    // Replaces the picture; with automatic sizing the control takes its size.
    void setPicture(const QImage& picture);
    // A picture already scaled to the size it is drawn at, standing in for
    // one of sourceSize (a thumbnail keeps only what it shows): the geometry
    // (drawnRect, automatic sizing) is that of the picture of sourceSize.
    void setFittedPicture(const QImage& picture, QSize sourceSize);
    // The size of the picture the control shows: the picture's own, or the
    // one it stands in for.
    QSize sourceSize() const { return sourceSize_; }
    // An empty picture: the control shows nothing.
    void clearPicture();
    // The picture for drawing on; call pictureChanged() afterwards.
    QImage& canvas() { return picture_; }
    void pictureChanged();

    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool on);
    bool stretch() const { return stretch_; }
    void setStretch(bool on);
    bool proportional() const { return proportional_; }
    void setProportional(bool on);
    // The bottom-left pixel's colour is drawn see-through.
    void setTransparent(bool on);

    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    // Where the picture is drawn inside the control.
    QRect drawnRect() const;
    // The control as it shows on screen (picture scaled as drawn), for tests
    // and for composing.
    QImage renderedPicture() const;

    std::function<void(ImageControl*, Qt::MouseButton, QPoint)> onMouseDown;
    std::function<void(ImageControl*, Qt::MouseButtons, QPoint)> onMouseMove;
    std::function<void(ImageControl*, Qt::MouseButton, QPoint)> onMouseUp;
    // A left press and release inside the control.
    std::function<void(ImageControl*)> onClick;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void redraw();
    const QImage& displayImage() const;  // scaled (and masked) picture, cached

    QImage picture_;
    QSize sourceSize_;
    bool autoSize_ = false;
    bool stretch_ = false;
    bool proportional_ = false;
    bool transparent_ = false;
    int tag_ = 0;
    bool leftPressed_ = false;
    mutable QImage cache_;
    mutable bool cacheValid_ = false;
};
