// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The saved-faces viewer: the list of the library beside the face box, and
// the face whose name is chosen. Once a name is chosen, 「年賀状」 makes a New
// Year card of that face and 「コピー」 (or Ctrl+C) puts it on the clipboard.
#include <QString>
#include <QStringList>
#include <functional>

struct Board;
class QPushButton;
class QShortcut;

class LibraryViewer {
public:
    // makeCard: 「年賀状」 was pressed on the face named name, one of the
    // library's names.
    using MakeCard = std::function<void(const QStringList& names, const QString& name)>;
    LibraryViewer(Board& board, const QString& appDir, MakeCard makeCard);

    void R1Click();
    // Shows the face chosen in the list; one that cannot be read is
    // reported (thrown) and the one shown stays.
    void ListBox1Click();
    // Back to the face selection.
    void close();

    // 「年賀状」: a card of the chosen face.
    void BitBtnNengazyoClick();
    // 「コピー」 and Ctrl+C: the chosen face, read from its file, onto the
    // clipboard as a picture; one that cannot be read is reported (thrown).
    void BitBtnKopiClick();

    // The viewer's own controls, which the window connects to its handlers.
    QPushButton* BitBtnNengazyo = nullptr;
    QPushButton* BitBtnKopi = nullptr;
    QShortcut* CopyShortcut = nullptr;

private:
    void offerChosenFace(bool offered);
    QString chosenName() const;

    Board& board_;
    const QString appDir_;
    const MakeCard makeCard_;
};
