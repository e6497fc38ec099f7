#pragma once
// A scroll box: controls placed on its content in content coordinates, which
// do not change with scrolling; the scroll range follows the controls.
#include <QScrollArea>

class ScrollBox : public QScrollArea {
    Q_OBJECT
public:
    explicit ScrollBox(QWidget* parent = nullptr);
    QWidget* content() const { return content_; }
    int verticalPosition() const;
    void setVerticalPosition(int y);
    void scrollToTop() { setVerticalPosition(0); }
    // Sizes the content to cover every visible child (called automatically
    // when children move, resize, appear or go).
    void updateRange();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QWidget* content_;
    bool updating_ = false;
};
