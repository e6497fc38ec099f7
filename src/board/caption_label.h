// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A text label whose caption may hold carriage returns that break it into
// lines; the caption is kept exactly as set, for the handlers that compare it.
#include <QLabel>
#include <functional>

class CaptionLabel : public QLabel {
    Q_OBJECT
public:
    explicit CaptionLabel(QWidget* parent = nullptr);
    const QString& caption() const { return caption_; }
    void setCaption(const QString& caption);
    // Sized to its text on every change of caption or font.
    void setAutoSizeToText(bool on) { autoSizeToText_ = on; }
    int fontPoints() const { return font().pointSize(); }
    void setFontPoints(int points);
    void setFontColour(const QColor& colour);
    QColor fontColour() const;

    // A mouse button pressed on the label.
    std::function<void(Qt::MouseButton)> onMouseDown;
    // The mouse moved over the label.
    std::function<void()> onMouseMove;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QString caption_;
    bool autoSizeToText_ = false;
};
