// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turns a list's mouse and keyboard selection into one call per choice: a
// click on an entry (the selected one too) or a selection moved with the
// keys. A press that moves the selection is reported at its release, once.
#include <QObject>
#include <functional>

class QListWidget;

class ListChoices : public QObject {
public:
    // Owned by list; chosen runs once per choice.
    ListChoices(QListWidget* list, std::function<void()> chosen);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QListWidget* list_;
    std::function<void()> chosen_;
    bool pressed_ = false;
    bool movedDuringPress_ = false;
};
