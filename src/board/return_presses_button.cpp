// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/return_presses_button.h"

#include <QAbstractButton>
#include <QKeyEvent>

namespace {

class ReturnPressesButton : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!isReturnPress(*key)) return false;
        auto* button = static_cast<QAbstractButton*>(watched);
        // Held down, the key presses once, as Space does.
        if (!key->isAutoRepeat() && button->isEnabled() && button->isVisible()) button->click();
        return true;
    }
};

}  // namespace

bool isReturnPress(const QKeyEvent& key) {
    return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) && !(key.modifiers() & ~Qt::KeypadModifier);
}

void pressOnReturn(QAbstractButton* button) { button->installEventFilter(new ReturnPressesButton(button)); }
