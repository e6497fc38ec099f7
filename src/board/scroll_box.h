// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A scroll box: controls placed on its content in content coordinates, which
// do not change with scrolling; the scroll range follows the controls.
#include <QScrollArea>
#include <functional>

class ScrollBox : public QScrollArea {
    Q_OBJECT
public:
    explicit ScrollBox(QWidget* parent = nullptr);
    QWidget* content() const { return content_; }
    int verticalPosition() const;
    void setVerticalPosition(int y);
    void scrollToTop() { setVerticalPosition(0); }
    // Sizes the content to cover every visible child. Moving, resizing,
    // showing, adding or removing children asks for it once for the next turn
    // of the event loop, however many children change: a game start moves
    // thousands of them. Reading or setting the position brings it up to date
    // first.
    void updateRange();
    // The part of the content the box shows (as large as the box can show,
    // also while it is hidden), in content coordinates.
    QRect shownArea() const;
    // Told when the shown area moves or changes size.
    std::function<void()> onShownAreaChanged;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void scheduleRangeUpdate();
    void updatePendingRange() const;

    QWidget* content_;
    bool updating_ = false;
    bool rangePending_ = false;
};
