// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The real dialogs: Qt message boxes with the program's captions and buttons,
// and Qt's own file and folder dialogs (not the desktop's), whose name filters
// ignore letter case, whose texts follow Qt's translations and which keep what
// they remember (the last folder, the view) in the game's own folder.
#include "desktop/user_dialogs.h"

#include <QString>
#include <functional>

class QWidget;

class QtUserDialogs : public UserDialogs {
public:
    // memoryFolder: where the file dialogs keep what they remember (Qt's
    // QtProject.conf); empty leaves it where Qt keeps it, in ~/.config.
    // clock: a steady clock in milliseconds (steadyClockMs when empty).
    explicit QtUserDialogs(QWidget* owner = nullptr, const QString& memoryFolder = {},
                           std::function<qint64()> clock = {});
    void setOwner(QWidget* owner) { owner_ = owner; }

    // A press within the system's double-click interval of the question's
    // showing is not taken for an answer: it was meant for what was under
    // the pointer, or had the focus, before the question came.
    bool confirm(const QString& text) override;
    void notice(const QString& text) override;
    void showError(const QString& text) override;
    QString openFile(const QString& title, const QString& filter) override;
    QString chooseFolder(const QString& prompt, const QString& startFolder) override;
    QString saveFile(const QString& title, const QString& filter, const QString& startPath) override;
    bool choosePrinter(QPrinter& printer) override;

private:
    // The window the dialogs belong to: a modal window open over the owner
    // (the card window) when there is one, so that they show over it.
    QWidget* dialogParent() const;

    QWidget* owner_;
    QString memoryFolder_;
    std::function<qint64()> clock_;
};

// "desc|*.a;*.b" as a Qt name filter: "desc (*.a *.b)".
QString qtNameFilter(const QString& windowsFilter);
// Where the folder chooser opens when no folder is remembered: the desktop
// folder, or the home folder when there is no desktop folder.
QString desktopOrHomeFolder();
// Carriage returns of the program's texts as line breaks.
QString withLineBreaks(const QString& text);
// Makes Qt's file dialogs read and write what they remember in folder: every
// user-scope QSettings of the process (Qt's dialogs are its only users) then
// lives there.
void keepQtDialogMemoryIn(const QString& folder);
// The application title used for notices and errors.
QString applicationTitle();
