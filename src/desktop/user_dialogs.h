// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The seam for everything that asks the user: message boxes and file dialogs.
// The window talks only to this interface; the Qt implementation shows real
// dialogs, tests answer with their own.
#include <QString>

class QPrinter;

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    // A confirmation titled "確認", question icon, "はい(&Y)"/"いいえ(&N)";
    // true only for Yes.
    virtual bool confirm(const QString& text) = 0;
    // A plain notice titled with the application title, one "OK" button.
    virtual void notice(const QString& text) = 0;
    // An error report (the program's error texts), titled with the application title.
    virtual void showError(const QString& text) = 0;
    // A file-open dialog; filter in the form "desc|*.a;*.b". Empty when cancelled.
    virtual QString openFile(const QString& title, const QString& filter) = 0;
    // A folder browser with a prompt, opening at startFolder when not empty.
    // Empty when cancelled.
    virtual QString chooseFolder(const QString& prompt, const QString& startFolder) = 0;
    // A file-save dialog opening at startPath (a folder, or a file whose name
    // is proposed in its folder); filter as for openFile. It never asks about
    // replacing a file: the caller does. Empty when cancelled, as here for
    // an implementation that does not ask.
    virtual QString saveFile(const QString& title, const QString& filter, const QString& startPath) {
        (void)title, (void)filter, (void)startPath;
        return {};
    }
    // The print dialog for printer, which it sets up as the user chooses.
    // False when cancelled, as here for an implementation that does not ask.
    virtual bool choosePrinter(QPrinter& printer) {
        (void)printer;
        return false;
    }
};

// Opening a file or web address with the desktop's default program.
class DesktopShell {
public:
    virtual ~DesktopShell() = default;
    virtual void open(const QString& target) = 0;
};
