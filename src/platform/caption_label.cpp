#include "platform/caption_label.h"

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
