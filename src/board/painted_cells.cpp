// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/painted_cells.h"

#include "board/painted_cells_accessible.h"

#include <QAccessible>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <numeric>

namespace {

const QColor kPlaceholder(128, 128, 128, 96);

}  // namespace

PaintedCells::PaintedCells(QWidget* parent) : QWidget(parent) {
    // Only the pictures are drawn: what lies behind shows around them.
    setAttribute(Qt::WA_NoSystemBackground);
    setAutoFillBackground(false);
    installPaintedCellsAccessibility();
}

void PaintedCells::setGrid(const CellGrid& grid) {
    grid_ = grid;
    itemsChanged();
}

void PaintedCells::setItems(int count, std::vector<int> places) {
    if (places.empty()) {
        places.resize(size_t(std::max(0, count)));
        std::iota(places.begin(), places.end(), 0);
    }
    places_ = std::move(places);
    itemAtPlace_.assign(places_.size(), -1);
    for (size_t i = 0; i < places_.size(); ++i) itemAtPlace_[size_t(places_[i])] = int(i);
    hidden_.assign(places_.size(), false);
    leftPressedItem_ = -1;
    itemsChanged();
}

void PaintedCells::itemsChanged() {
    resize(grid_.extent(count()).expandedTo(QSize(1, 1)));
    update();
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::ObjectReorder);
        QAccessible::updateAccessibility(&event);
    }
}

void PaintedCells::setItemHidden(int item, bool hidden) {
    if (item < 0 || item >= count() || hidden_[size_t(item)] == hidden) return;
    hidden_[size_t(item)] = hidden;
    update(itemRect(item));
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, hidden ? QAccessible::ObjectHide : QAccessible::ObjectShow);
        event.setChild(item);
        QAccessible::updateAccessibility(&event);
    }
}

bool PaintedCells::itemHidden(int item) const { return item < 0 || item >= count() || hidden_[size_t(item)]; }

std::vector<int> PaintedCells::itemsMeeting(QRect area) const {
    std::vector<int> items;
    for (int place : grid_.positionsMeeting(area, count())) items.push_back(itemAtPlace_[size_t(place)]);
    std::sort(items.begin(), items.end());
    return items;
}

int PaintedCells::itemAt(QPoint point) const {
    const std::vector<int> items = itemsMeeting(QRect(point, QSize(1, 1)));
    for (auto it = items.rbegin(); it != items.rend(); ++it)
        if (!hidden_[size_t(*it)]) return *it;
    return -1;
}

void PaintedCells::itemChanged(int item) {
    if (item >= 0 && item < count()) update(itemRect(item));
}

void PaintedCells::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    // In item order, so that where squares overlap the later item lies on top.
    for (int item : itemsMeeting(event->rect())) {
        if (hidden_[size_t(item)]) continue;
        const QRect cell = itemRect(item);
        const CellPicture* picture = pictureOf ? pictureOf(item) : nullptr;
        if (picture && !picture->picture.isNull())
            p.drawImage(cell.topLeft(), picture->picture);
        else if (!picture)
            p.fillRect(cell, kPlaceholder);  // not decoded yet
    }
    p.end();
    if (onPainted) onPainted();
}

void PaintedCells::mousePressEvent(QMouseEvent* e) {
    const QPoint at = e->position().toPoint();
    const int item = itemAt(at);
    if (e->button() == Qt::LeftButton) leftPressedItem_ = item;
    if (item >= 0 && onMouseDown) onMouseDown(item, e->button(), at - itemRect(item).topLeft());
}

void PaintedCells::mouseMoveEvent(QMouseEvent* e) {
    if (onMouseMove) onMouseMove(e->buttons(), e->position().toPoint());
}

void PaintedCells::mouseReleaseEvent(QMouseEvent* e) {
    const QPoint at = e->position().toPoint();
    const int pressed = e->button() == Qt::LeftButton ? leftPressedItem_ : -1;
    if (e->button() == Qt::LeftButton) leftPressedItem_ = -1;
    if (onMouseUp) onMouseUp(e->button(), at);
    if (pressed >= 0 && itemAt(at) == pressed && onClick) onClick(pressed);
}
