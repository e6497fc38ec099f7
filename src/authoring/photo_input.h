// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Photographs dropped on the window or pasted into it (Ctrl+V, 「貼り付け」)
// open 「顔の追加」 with them, as one chosen in the picture dialog does: files
// from a file manager, a picture file copied there, or a picture's data from
// a browser or a chat. Only the screens that welcome a photograph take one;
// elsewhere a drop is refused and a paste does nothing.
#include "authoring/photo_loading.h"

#include <QObject>
#include <functional>
#include <optional>

class QAction;
class QMimeData;
class QWidget;

// The photograph that data offers: its local files (all of them, in order;
// the loading takes the first picture among them), else the data of its
// first picture type whose content is a picture the game reads, else a
// picture already decoded. None when it offers none of these.
std::optional<PhotoSource> photoSourceOf(const QMimeData& data);

// Whether data may offer a photograph, told without fetching anything from
// the program that offers it (while a drag passes over the window).
bool mayOfferPhoto(const QMimeData& data);

class PhotoInput : public QObject {
public:
    // window takes drops from now on; paste is the menu item 「貼り付け」 (it
    // keeps its shortcut while its menu is closed or disabled). welcome
    // tells whether the screen shown takes a photograph now; open opens
    // 「顔の追加」 with one.
    PhotoInput(QWidget& window, QAction& paste, std::function<bool()> welcome,
               std::function<void(const PhotoSource&)> open);

    // What the clipboard holds, if it offers a photograph and it is welcome.
    void paste();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<bool()> welcome_;
    std::function<void(const PhotoSource&)> open_;
};
