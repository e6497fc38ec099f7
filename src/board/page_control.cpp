// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/page_control.h"

#include <QPainter>
#include <QStyle>

PageControl::PageControl(QWidget* parent) : QTabWidget(parent) {}

void PageControl::paintEvent(QPaintEvent* event) {
    if (documentMode()) {
        QTabWidget::paintEvent(event);
        return;
    }
    QStyleOptionTabWidgetFrame option;
    initStyleOption(&option);
    option.rect = style()->subElementRect(QStyle::SE_TabWidgetTabPane, &option, this);
    const qreal ratio = devicePixelRatioF();
    const FrameKey key{option.rect,       option.state,          option.shape,
                       option.tabBarSize, option.leftCornerWidgetSize, option.rightCornerWidgetSize,
                       option.tabBarRect, option.selectedTabRect, palette().cacheKey(),
                       ratio,             style(),               layoutDirection(),
                       size()};
    if (frame_.isNull() || !(key == frameKey_)) {
        frame_ = QImage((QSizeF(size()) * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
        frame_.setDevicePixelRatio(ratio);
        frame_.fill(Qt::transparent);
        QPainter painter(&frame_);
        style()->drawPrimitive(QStyle::PE_FrameTabWidget, &option, &painter, this);
        frameKey_ = key;
    }
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), frame_);
}
