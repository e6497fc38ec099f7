// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/caption_label.h"

#include <QMouseEvent>

CaptionLabel::CaptionLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
}

void CaptionLabel::setCaption(const QString& caption) {
    caption_ = caption;
    QString shown = caption;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    setText(shown);
    if (autoSizeToText_) adjustSize();
}

void CaptionLabel::setFontPoints(int points) {
    QFont f = font();
    f.setPointSize(points);
    setFont(f);
    if (autoSizeToText_) adjustSize();
}

void CaptionLabel::setFontColour(const QColor& colour) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, colour);
    setPalette(p);
}

QColor CaptionLabel::fontColour() const { return palette().color(QPalette::WindowText); }

void CaptionLabel::mousePressEvent(QMouseEvent* event) {
    if (onMouseDown) onMouseDown(event->button());
    QLabel::mousePressEvent(event);
}

void CaptionLabel::mouseMoveEvent(QMouseEvent* event) {
    if (onMouseMove) onMouseMove();
    QLabel::mouseMoveEvent(event);
}
