// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The palettes' tab widget. Its frame is drawn by the style once into a
// picture and then copied at every paint, until anything the style draws it
// from changes. Qt's raster painter hands the tall frame's lines to its
// thread pool row band by row band, which costs the window's thread about a
// millisecond at every game start on a two-core machine; a copy costs
// little.
#include <QImage>
#include <QStyleOptionTabWidgetFrame>
#include <QTabWidget>

class PageControl : public QTabWidget {
public:
    explicit PageControl(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // What the frame picture was drawn from.
    struct FrameKey {
        QRect panel;
        QStyle::State state;
        QTabBar::Shape shape;
        QSize tabBarSize, leftCornerSize, rightCornerSize;
        QRect tabBarRect, selectedTabRect;
        qint64 palette = 0;
        qreal pixelRatio = 0;
        const QStyle* style = nullptr;
        Qt::LayoutDirection direction = Qt::LeftToRight;
        QSize widget;
        bool operator==(const FrameKey&) const = default;
    };
    FrameKey frameKey_;
    QImage frame_;
};
