// SPDX-License-Identifier: GPL-3.0-or-later
#include "card/card_preview.h"

#include <QPainter>

CardPreview::CardPreview(QWidget* parent) : QWidget(parent) {}

void CardPreview::setContent(const CardContent& content) {
    content_ = content;
    update();
}

QRectF CardPreview::cardRect() const { return postcardRectIn(QRectF(rect()).adjusted(6, 6, -6, -6)); }

void CardPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(190, 190, 190));
    const QRectF card = cardRect();
    // A soft shadow, so the white card stands off the desk.
    painter.fillRect(card.translated(3, 3), QColor(150, 150, 150));
    drawCard(painter, card, content_);
}
