// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A command button of the main window. Its caption says what a press does,
// and the screens change it under a pointer still resting there (判定 →
// 再開, 次の人へ → はじめる, 結果を見る → 終わる) or take the button away from
// over the thumbnails: the second press of a double click, or a key pressed
// twice, was meant for what was there before. So a press that comes within
// the system's double-click interval after the caption changed, or after the
// button was shown or hidden, is not taken. Return and Enter press it, as
// Space does.
#include <QPushButton>
#include <functional>
#include <optional>

class CommandButton : public QPushButton {
public:
    // clock: the window's steady clock, in milliseconds.
    CommandButton(const QString& caption, QWidget* parent, std::function<qint64()> clock);

    // A new caption is a new meaning. (It hides QAbstractButton::setText,
    // which tells nobody of the change.)
    void setText(const QString& caption);
    // Whether the button has meant what it means now for at least the
    // system's double-click interval, so that a press now is meant for it.
    bool settled() const;

protected:
    bool event(QEvent* event) override;

private:
    void meaningChanged();

    std::function<qint64()> clock_;
    std::optional<qint64> changedAt_;
};
