// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the accessibility bus sees of a PaintedCells: a list whose children
// are its items, each with its name, role, place on screen and whether it
// shows, although no item is a widget of its own.
#include <QAccessibleWidget>
#include <map>

class PaintedCells;

class PaintedCellsAccessible : public QAccessibleWidget {
public:
    explicit PaintedCellsAccessible(PaintedCells* cells);
    ~PaintedCellsAccessible() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

private:
    PaintedCells* cells() const;
    // The interfaces of the items asked for so far, by item; the bus keeps
    // them by their ids, so each item has one.
    mutable std::map<int, QAccessible::Id> children_;
};

// Makes Qt describe every PaintedCells this way (once per process).
void installPaintedCellsAccessibility();
