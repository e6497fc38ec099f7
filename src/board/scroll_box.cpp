// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/scroll_box.h"

#include <QChildEvent>
#include <QEvent>
#include <QMetaObject>
#include <QScrollBar>
#include <QTimer>

ScrollBox::ScrollBox(QWidget* parent) : QScrollArea(parent), content_(new QWidget) {
    content_->setObjectName(QStringLiteral("content"));
    content_->setAutoFillBackground(false);
    setWidget(content_);
    setWidgetResizable(false);
    viewport()->setAutoFillBackground(true);
    content_->installEventFilter(this);
    updateRange();
    const auto moved = [this] {
        if (onShownAreaChanged) onShownAreaChanged();
    };
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, moved);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, moved);
}

QRect ScrollBox::shownArea() const {
    return {QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()), maximumViewportSize()};
}

int ScrollBox::verticalPosition() const {
    updatePendingRange();
    return verticalScrollBar()->value();
}

void ScrollBox::setVerticalPosition(int y) {
    updatePendingRange();
    verticalScrollBar()->setValue(y);
}

void ScrollBox::scheduleRangeUpdate() {
    if (rangePending_) return;
    rangePending_ = true;
    QMetaObject::invokeMethod(this, [this] { updatePendingRange(); }, Qt::QueuedConnection);
}

void ScrollBox::updatePendingRange() const {
    if (rangePending_) const_cast<ScrollBox*>(this)->updateRange();
}

void ScrollBox::updateRange() {
    if (updating_) return;
    rangePending_ = false;
    updating_ = true;
    int right = 0, bottom = 0;
    for (QObject* o : content_->children()) {
        auto* w = qobject_cast<QWidget*>(o);
        if (!w || w->isHidden()) continue;
        right = std::max(right, w->x() + w->width());
        bottom = std::max(bottom, w->y() + w->height());
    }
    const QSize view = maximumViewportSize();
    // Leave room for the other bar when one of them is needed.
    const int w = right > view.width() ? right : view.width() - (bottom > view.height() ? verticalScrollBar()->sizeHint().width() : 0);
    const int h = bottom > view.height() ? bottom : view.height() - (right > view.width() ? horizontalScrollBar()->sizeHint().height() : 0);
    content_->resize(std::max(right, w), std::max(bottom, h));
    updating_ = false;
}

bool ScrollBox::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::ChildAdded:
        if (auto* ce = static_cast<QChildEvent*>(event); ce->child()->isWidgetType())
            ce->child()->installEventFilter(this);
        scheduleRangeUpdate();
        break;
    case QEvent::ChildRemoved:
        scheduleRangeUpdate();
        break;
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::Show:
    case QEvent::Hide:
        if (watched != content_) scheduleRangeUpdate();
        break;
    default:
        break;
    }
    return QScrollArea::eventFilter(watched, event);
}

void ScrollBox::resizeEvent(QResizeEvent* event) {
    QScrollArea::resizeEvent(event);
    updateRange();
    if (onShownAreaChanged) onShownAreaChanged();
}
