// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Dialog answers scripted by a test, and a record of everything shown.
#include "desktop/user_dialogs.h"
#include "party/party_setup_dialog.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

class ScriptedDialogs : public UserDialogs, public PartySetupDialog {
public:
    // Answers, used in order; a question with no scripted answer is a test
    // failure (reported through ADD_FAILURE) and answered No / cancelled.
    std::deque<bool> confirmAnswers;
    std::deque<QString> openFileAnswers;
    std::deque<QString> folderAnswers;
    std::deque<QString> saveFileAnswers;
    // The print dialog: each answer sets the printer up as the user would
    // (say, to print into a PDF file) and says whether to print.
    std::deque<std::function<bool(QPrinter&)>> printerAnswers;
    // Runs while a file dialog would be open, before it answers: what the
    // window does behind the dialog.
    std::function<void()> whileOpenFile;
    // The party dialog's answers: a setup as if typed and 「はじめる」 pressed,
    // or empty for 「キャンセル」. A setup with a problem could not be started
    // in the real dialog: the test fails.
    std::deque<std::optional<PartySetup>> partyAnswers;

    // What was shown.
    QStringList confirmations;
    QStringList notices;
    QStringList errors;
    QStringList openFileTitles;
    QStringList openFileFilters;
    QStringList folderPrompts;
    QStringList folderStarts;
    QStringList saveFileTitles;
    QStringList saveFileStarts;
    int printDialogs = 0;
    std::vector<PartySetup> partyOffers;  // what the party dialog showed at first

    bool confirm(const QString& text) override;
    void notice(const QString& text) override;
    void showError(const QString& text) override;
    QString openFile(const QString& title, const QString& filter) override;
    QString chooseFolder(const QString& prompt, const QString& startFolder) override;
    QString saveFile(const QString& title, const QString& filter, const QString& startPath) override;
    bool choosePrinter(QPrinter& printer) override;
    std::optional<PartySetup> askPartySetup(const PartySetup& offered,
                                            const std::function<QString(const PartySetup&)>& problem) override;
};

class RecordingShell : public DesktopShell {
public:
    QStringList opened;
    void open(const QString& target) override { opened << target; }
};

// The party dialog of a window answered by the window's ScriptedDialogs.
class ScriptedPartySetup : public PartySetupDialog {
public:
    explicit ScriptedPartySetup(ScriptedDialogs& dialogs) : dialogs_(dialogs) {}
    std::optional<PartySetup> askPartySetup(const PartySetup& offered,
                                            const std::function<QString(const PartySetup&)>& problem) override {
        return dialogs_.askPartySetup(offered, problem);
    }

private:
    ScriptedDialogs& dialogs_;
};
