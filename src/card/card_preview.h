// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The card window's preview: the card drawn by drawCard, as large as the
// widget allows, on a grey desk.
#include "card/card_drawing.h"

#include <QWidget>

class CardPreview : public QWidget {
public:
    explicit CardPreview(QWidget* parent = nullptr);
    void setContent(const CardContent& content);
    // Where the card lies in the widget.
    QRectF cardRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CardContent content_;
};
