// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/window/scripted_dialogs.h"

#include <gtest/gtest.h>

bool ScriptedDialogs::confirm(const QString& text) {
    confirmations << text;
    if (confirmAnswers.empty()) {
        ADD_FAILURE() << "unexpected confirmation: " << text.toStdString();
        return false;
    }
    const bool answer = confirmAnswers.front();
    confirmAnswers.pop_front();
    return answer;
}

void ScriptedDialogs::notice(const QString& text) { notices << text; }
void ScriptedDialogs::showError(const QString& text) { errors << text; }

QString ScriptedDialogs::openFile(const QString& title, const QString& filter) {
    openFileTitles << title;
    openFileFilters << filter;
    if (whileOpenFile) whileOpenFile();
    if (openFileAnswers.empty()) return {};
    const QString answer = openFileAnswers.front();
    openFileAnswers.pop_front();
    return answer;
}

QString ScriptedDialogs::chooseFolder(const QString& prompt, const QString& startFolder) {
    folderPrompts << prompt;
    folderStarts << startFolder;
    if (folderAnswers.empty()) return {};
    const QString answer = folderAnswers.front();
    folderAnswers.pop_front();
    return answer;
}

QString ScriptedDialogs::saveFile(const QString& title, const QString& /*filter*/, const QString& startPath) {
    saveFileTitles << title;
    saveFileStarts << startPath;
    if (saveFileAnswers.empty()) return {};
    const QString answer = saveFileAnswers.front();
    saveFileAnswers.pop_front();
    return answer;
}

bool ScriptedDialogs::choosePrinter(QPrinter& printer) {
    ++printDialogs;
    if (printerAnswers.empty()) return false;
    const auto answer = printerAnswers.front();
    printerAnswers.pop_front();
    return answer(printer);
}

std::optional<PartySetup> ScriptedDialogs::askPartySetup(const PartySetup& offered,
                                                         const std::function<QString(const PartySetup&)>& problem) {
    partyOffers.push_back(offered);
    if (partyAnswers.empty()) {
        ADD_FAILURE() << "unexpected party dialog";
        return std::nullopt;
    }
    const std::optional<PartySetup> answer = partyAnswers.front();
    partyAnswers.pop_front();
    if (!answer) return std::nullopt;
    if (const QString why = problem(*answer); !why.isEmpty()) {
        ADD_FAILURE() << "the real dialog would not start this party: " << why.toStdString();
        return std::nullopt;
    }
    return answer;
}
