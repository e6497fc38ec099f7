// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/command_button.h"

#include "board/return_presses_button.h"

#include <QApplication>
#include <QKeyEvent>

CommandButton::CommandButton(const QString& caption, QWidget* parent, std::function<qint64()> clock)
    : QPushButton(caption, parent), clock_(std::move(clock)) {}

void CommandButton::setText(const QString& caption) {
    if (caption == text()) return;
    QPushButton::setText(caption);
    meaningChanged();
}

void CommandButton::meaningChanged() { changedAt_ = clock_(); }

bool CommandButton::settled() const {
    return !changedAt_ || clock_() - *changedAt_ >= QApplication::doubleClickInterval();
}

bool CommandButton::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
        meaningChanged();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        if (!settled()) return true;
        break;
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (isReturnPress(*key)) {
            // Held down, the key presses once, as Space does.
            if (!key->isAutoRepeat() && isEnabled() && isVisible() && settled()) click();
            return true;
        }
        // Space goes down only when the press counts; its release then clicks.
        if (key->key() == Qt::Key_Space && !settled()) return true;
        break;
    }
    default:
        break;
    }
    return QPushButton::event(event);
}
