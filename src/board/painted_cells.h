// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Many pictures in one widget: item i lies in cell places[i] of a grid and
// only the cells in the area being painted are drawn, each with the picture
// its owner has for it (already at the size it is drawn at) or a
// placeholder until that is there. One widget however many items: the
// window's work follows what is on screen, not the number of items.
// Presses, moves, releases and clicks are handed on with the item under the
// pointer; an item can be hidden (not drawn, not pressed). For the
// accessibility bus every item is a child with its own name and place.
#include "board/cell_grid.h"

#include <QAccessible>
#include <QImage>
#include <QWidget>
#include <functional>
#include <vector>

// A picture as a cell draws it: scaled to the cell with its aspect kept,
// anchored top-left; sourceSize is the size of the picture it stands for.
struct CellPicture {
    QImage picture;
    QSize sourceSize;
    QString error;  // the program's error text when the picture could not be read
};

class PaintedCells : public QWidget {
    Q_OBJECT
public:
    explicit PaintedCells(QWidget* parent = nullptr);

    const CellGrid& grid() const { return grid_; }
    // The widget takes the size that holds every cell.
    void setGrid(const CellGrid& grid);
    // count items; item i in cell places[i] (item i in cell i when places is
    // empty, else count is places' size). Every item is shown again.
    void setItems(int count, std::vector<int> places = {});
    int count() const { return int(places_.size()); }
    int placeOf(int item) const { return places_[size_t(item)]; }
    QRect itemRect(int item) const { return grid_.cellRect(placeOf(item)); }

    void setItemHidden(int item, bool hidden);
    bool itemHidden(int item) const;
    // The item drawn on top at point (the highest-numbered one whose cell
    // holds it), passing over hidden ones; -1 when none.
    int itemAt(QPoint point) const;
    // The items whose cells meet area, ascending.
    std::vector<int> itemsMeeting(QRect area) const;
    // Redraws item's cell: its picture has arrived.
    void itemChanged(int item);

    // The picture of an item, or null for the placeholder.
    std::function<const CellPicture*(int item)> pictureOf;
    // The name an item is known by on the accessibility bus.
    std::function<QString(int item)> nameOf;
    QString accessibleNameOf(int item) const { return nameOf ? nameOf(item) : QString(); }
    // The role every item has there: a button to press, or a picture to drag.
    QAccessible::Role cellRole = QAccessible::Graphic;

    std::function<void(int item, Qt::MouseButton button, QPoint inCell)> onMouseDown;
    std::function<void(Qt::MouseButtons buttons, QPoint at)> onMouseMove;
    std::function<void(Qt::MouseButton button, QPoint at)> onMouseUp;
    // A left press and release on the same shown item.
    std::function<void(int item)> onClick;
    // After every paint.
    std::function<void()> onPainted;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void itemsChanged();

    CellGrid grid_;
    std::vector<int> places_;         // cell of each item
    std::vector<int> itemAtPlace_;    // item of each cell
    std::vector<bool> hidden_;
    int leftPressedItem_ = -1;
};
