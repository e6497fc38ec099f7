// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/list_choices.h"

#include <QListWidget>
#include <QMouseEvent>

ListChoices::ListChoices(QListWidget* list, std::function<void()> chosen)
    : QObject(list), list_(list), chosen_(std::move(chosen)) {
    list->viewport()->installEventFilter(this);
    connect(list, &QListWidget::itemSelectionChanged, this, [this] {
        if (pressed_)
            movedDuringPress_ = true;
        else
            chosen_();
    });
}

bool ListChoices::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        pressed_ = true;
        movedDuringPress_ = false;
        break;
    case QEvent::MouseButtonRelease: {
        if (!pressed_) break;
        auto* e = static_cast<QMouseEvent*>(event);
        if (e->buttons() != Qt::NoButton) break;  // other buttons still down
        pressed_ = false;
        const QListWidgetItem* item = list_->itemAt(e->position().toPoint());
        const bool clickedSelected = e->button() == Qt::LeftButton && item && item->isSelected();
        if (movedDuringPress_ || clickedSelected) chosen_();
        break;
    }
    default:
        break;
    }
    return false;
}
