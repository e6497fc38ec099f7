// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The saved-faces viewer: the list of the library beside the face box, and
// the face whose name is chosen.
#include <QString>

struct Board;

class LibraryViewer {
public:
    LibraryViewer(Board& board, const QString& appDir);

    void R1Click();
    // Shows the face chosen in the list; one that cannot be read is
    // reported (thrown) and the one shown stays.
    void ListBox1Click();
    // Back to the face selection.
    void close();

private:
    Board& board_;
    const QString appDir_;
};
