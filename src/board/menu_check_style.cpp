// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/menu_check_style.h"

#include <QStyleOptionMenuItem>

CheckMarkOnlyMenuStyle::CheckMarkOnlyMenuStyle(QObject* owner) : QProxyStyle() { setParent(owner); }

void CheckMarkOnlyMenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                                         const QWidget* widget) const {
    const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
    if (element == CE_MenuItem && item && item->checkType != QStyleOptionMenuItem::NotCheckable && !item->checked) {
        // Drawn as a plain item; the menu still reserves the check column,
        // so the captions stay aligned with the checked item's.
        QStyleOptionMenuItem plain(*item);
        plain.checkType = QStyleOptionMenuItem::NotCheckable;
        QProxyStyle::drawControl(element, &plain, painter, widget);
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}
