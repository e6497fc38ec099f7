#pragma once
// The real dialogs: Qt message boxes with the program's captions and buttons,
// and Qt's own file and folder dialogs (not the desktop's), whose name filters
// ignore letter case and whose texts follow Qt's translations.
#include "desktop/user_dialogs.h"

#include <QString>

class QWidget;

class QtUserDialogs : public UserDialogs {
public:
    explicit QtUserDialogs(QWidget* owner = nullptr) : owner_(owner) {}
    void setOwner(QWidget* owner) { owner_ = owner; }

    bool confirm(const QString& text) override;
    void notice(const QString& text) override;
    void showError(const QString& text) override;
    QString openFile(const QString& title, const QString& filter) override;
    QString chooseFolder(const QString& prompt, const QString& startFolder) override;

private:
    QWidget* owner_;
};

// "desc|*.a;*.b" as a Qt name filter: "desc (*.a *.b)".
QString qtNameFilter(const QString& windowsFilter);
// Where the folder chooser opens when no folder is remembered: the desktop
// folder, or the home folder when there is no desktop folder.
QString desktopOrHomeFolder();
// Carriage returns of the program's texts as line breaks.
QString withLineBreaks(const QString& text);
// The application title used for notices and errors.
QString applicationTitle();
