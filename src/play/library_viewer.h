// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The saved-faces viewer: the list of the library beside the face box, and
// the face whose name is chosen. Once a name is chosen, 「年賀状」 makes a New
// Year card of that face and 「コピー」 (or Ctrl+C) puts it on the clipboard.
#include <QDate>
#include <QString>
#include <functional>
#include <memory>

struct Board;
class CardWindow;
class QPushButton;
class QShortcut;
class UserDialogs;

class LibraryViewer {
public:
    // today: the date the card's New Year is reckoned from.
    LibraryViewer(Board& board, const QString& appDir, UserDialogs& dialogs, std::function<QDate()> today);
    ~LibraryViewer();

    void R1Click();
    // Shows the face chosen in the list; one that cannot be read is
    // reported (thrown) and the one shown stays.
    void ListBox1Click();
    // Back to the face selection.
    void close();

    // 「年賀状」: the card window on the chosen face.
    void BitBtnNengazyoClick();
    // 「コピー」 and Ctrl+C: the chosen face, read from its file, onto the
    // clipboard as a picture; one that cannot be read is reported (thrown).
    void BitBtnKopiClick();

    // The viewer's own controls, which the window connects to its handlers.
    QPushButton* BitBtnNengazyo = nullptr;
    QPushButton* BitBtnKopi = nullptr;
    QShortcut* CopyShortcut = nullptr;
    // The card window once it has been opened, else null.
    CardWindow* cardWindow() const { return cardWindow_.get(); }
    // A card file still being written is finished and reported now.
    void finishPendingWork();

private:
    void offerChosenFace(bool offered);
    QString chosenName() const;

    Board& board_;
    const QString appDir_;
    UserDialogs& dialogs_;
    std::function<QDate()> today_;
    std::unique_ptr<CardWindow> cardWindow_;
};
