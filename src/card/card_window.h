// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The window 「年賀状」: a New Year card of a saved face, previewed as it will
// come out, with its choices (the face, the greeting, the year and how it is
// written, the sender's two lines), and 「印刷…」, 「PDFに保存…」, 「画像に保存…」
// and 「閉じる」. Modal to the main window. Files are written on a thread of
// their own; a file that is there is replaced only after the overwrite
// question, and what cannot be read or written is reported in the program's
// words, the window staying open.
#include "card/card_drawing.h"
#include "card/card_settings.h"
#include "catalogue/background_work.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>

class CardPreview;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class UserDialogs;

class CardWindow : public QDialog {
public:
    CardWindow(QWidget* owner, const QString& appDir, UserDialogs& dialogs);
    ~CardWindow() override;

    // Shows the window on the saved face name, any of names (the library's
    // list) to choose from, for the New Year of year.
    void openOn(const QStringList& names, const QString& name, int year);
    const CardContent& content() const { return content_; }
    // A file still being written is finished, and its outcome shown, now.
    void finishPendingWork();

    // The buttons' handlers.
    void printClick();
    void pdfClick();
    void pictureClick();

    CardPreview* Preview = nullptr;
    QLabel* Status = nullptr;  // why the chosen face cannot be used, else empty
    QComboBox* FaceChoice = nullptr;
    QComboBox* GreetingChoice = nullptr;
    QSpinBox* YearChoice = nullptr;
    QComboBox* YearStyleChoice = nullptr;
    std::array<QLineEdit*, 2> SenderLines{};
    QPushButton* PrintButton = nullptr;
    QPushButton* PdfButton = nullptr;
    QPushButton* PictureButton = nullptr;
    QPushButton* CloseButton = nullptr;

    // Every way of closing (閉じる, Esc, the title bar) keeps what changed.
    void done(int result) override;

private:
    void createControls();
    void faceChosen();
    void choicesChanged();
    void fillYearStyles();
    void updateButtons();
    // Asks for the file to write; empty when cancelled or not to be replaced.
    QString chooseFile(const QString& title, const QString& filter, const QString& extension,
                       const std::function<QString(const QString&)>& withExtension);
    void writeInBackground(const QString& path, std::function<void()> write);
    CardSettings currentSettings() const;
    void rememberChoices();
    void guarded(const std::function<void()>& body);

    const QString appDir_;
    UserDialogs& dialogs_;
    CardContent content_;
    CardSettings stored_;  // as in Play.ini (read once, then as last written)
    bool settingsRead_ = false;
    QString folder_;       // where the last card file went
    bool updating_ = false;  // the controls are being filled, not changed by the player
    BackgroundWork writing_;
};
