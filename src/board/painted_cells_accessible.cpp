// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/painted_cells_accessible.h"

#include "board/painted_cells.h"

#include <QPointer>
#include <QWindow>

namespace {

// One item of the cells: no object of its own, so everything is asked of
// the widget, which may have fewer items by now.
class CellAccessible : public QAccessibleInterface {
public:
    CellAccessible(PaintedCells* cells, int item) : cells_(cells), item_(item) {}
    int item() const { return item_; }

    bool isValid() const override { return cells_ && item_ < cells_->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return cells_ ? cells_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(cells_.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && isValid() ? cells_->accessibleNameOf(item_) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect r = cells_->itemRect(item_);
        return {cells_->mapToGlobal(r.topLeft()), r.size()};
    }
    QAccessible::Role role() const override { return cells_ ? cells_->cellRole : QAccessible::NoRole; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.invisible = !cells_->isVisible() || cells_->itemHidden(item_);
        s.offscreen = s.invisible || !cells_->visibleRegion().intersects(cells_->itemRect(item_));
        return s;
    }

private:
    QPointer<PaintedCells> cells_;
    int item_;
};

QAccessibleInterface* describe(const QString& className, QObject* object) {
    if (className == QLatin1String("PaintedCells") && object && object->isWidgetType())
        return new PaintedCellsAccessible(static_cast<PaintedCells*>(object));
    return nullptr;
}

}  // namespace

PaintedCellsAccessible::PaintedCellsAccessible(PaintedCells* cells) : QAccessibleWidget(cells, QAccessible::List) {}

PaintedCellsAccessible::~PaintedCellsAccessible() {
    for (const auto& [item, id] : children_) QAccessible::deleteAccessibleInterface(id);
}

PaintedCells* PaintedCellsAccessible::cells() const { return static_cast<PaintedCells*>(widget()); }

int PaintedCellsAccessible::childCount() const { return cells()->count(); }

QAccessibleInterface* PaintedCellsAccessible::child(int index) const {
    if (index < 0 || index >= childCount()) return nullptr;
    if (const auto found = children_.find(index); found != children_.end())
        return QAccessible::accessibleInterface(found->second);
    auto* cell = new CellAccessible(cells(), index);
    children_[index] = QAccessible::registerAccessibleInterface(cell);
    return cell;
}

int PaintedCellsAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (!child || child->parent() != this) return -1;
    const int item = static_cast<const CellAccessible*>(child)->item();
    return item < childCount() ? item : -1;
}

QAccessibleInterface* PaintedCellsAccessible::childAt(int x, int y) const {
    return child(cells()->itemAt(cells()->mapFromGlobal(QPoint(x, y))));
}

void installPaintedCellsAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(describe);
        return true;
    }();
    (void)installed;
}
