// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A menu look in which a checkable item shows its check mark while it is
// checked and nothing at all while it is not: no empty check box beside the
// unchecked items. The items keep their places either way.
#include <QProxyStyle>

class CheckMarkOnlyMenuStyle : public QProxyStyle {
public:
    // Draws as the application's style does, except for unchecked items.
    explicit CheckMarkOnlyMenuStyle(QObject* owner);
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
};
