// SPDX-License-Identifier: GPL-3.0-or-later
// The BGM submenu: music on and off, one chosen file, or random play from a
// chosen folder tree.
#include "music/music_player.h"

#include "board/board.h"
#include "desktop/random_source.h"
#include "desktop/user_dialogs.h"
#include "music/bgm_submenu_busy.h"
#include "music/music_commands.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>

namespace {

const QString kMidiFilter = QStringLiteral("midiファイル(*.mid)|*.mid");
const QString kFolderPrompt = QStringLiteral("midiファイル(拡張子が\".mid\"のもの)が存在する\rフォルダを選んでください。");
const QString kNoMidiInFolder =
    QStringLiteral("指定されたフォルダにはmidiファイルが存在しません。\r別のフォルダを指定してください。");

}  // namespace

void MusicPlayer::ONO1Click() {
    if (board_.ONO1->isChecked() || music_.musicFile.isEmpty() || music_.windowClosing) return;
    BgmSubmenuBusy busy(board_.BGMB1);
    board_.ONO1->setChecked(true);
    board_.OFFF1->setChecked(false);
    QCoreApplication::processEvents();
    if (music_.windowClosing) return;
    mciSendString(QStringLiteral("seek FILE to 0"));
    mciSendString(QStringLiteral("play FILE"));
    music_.bgmOn = true;
}

void MusicPlayer::OFFF1Click() {
    if (board_.OFFF1->isChecked()) return;
    board_.ONO1->setChecked(false);
    board_.OFFF1->setChecked(true);
    // The device stays open, so ON can start it again.
    mciExecute(QStringLiteral("stop FILE"));
    music_.bgmOn = false;
}

void MusicPlayer::S1Click() {
    const QString chosen = dialogs_.openFile(QString(), kMidiFilter);
    if (chosen.isEmpty()) return;
    BgmSubmenuBusy busy(board_.BGMB1);
    board_.S1->setChecked(true);
    board_.R2->setChecked(false);
    board_.ONO1->setChecked(true);
    board_.ONO1->setEnabled(true);
    board_.OFFF1->setChecked(false);
    music_.bgmOn = true;
    music_.randomMode = false;
    PlayMidiFile(chosen);
    if (!board_.MusicTimer->isActive()) board_.MusicTimer->start();
}

void MusicPlayer::R2Click() {
    if (!QFileInfo(music_.musicFolder).isDir()) music_.musicFolder.clear();
    // The folder that the random play going on (if any) draws from.
    const QString playingFolder = music_.musicFolder;
    const QString chosen = dialogs_.chooseFolder(kFolderPrompt, music_.musicFolder);
    if (chosen.isEmpty()) return;
    music_.musicFolder = chosen;

    BgmSubmenuBusy busy(board_.BGMB1);
    MidiList.clear();
    ScanMidiFolder(music_.musicFolder);
    if (MidiList.isEmpty()) {
        // Random play that goes on keeps its folder, so the settings
        // written at exit still describe it.
        music_.musicFolder = music_.randomMode ? playingFolder : QString();
        dialogs_.notice(kNoMidiInFolder);
    } else {
        music_.midiFiles = MidiList;
        random_.seedFromClock();
        PlayMidiFile(randomMidiFile(music_.midiFiles, random_));
        if (!board_.MusicTimer->isActive()) board_.MusicTimer->start();
        board_.R2->setChecked(true);
        board_.S1->setChecked(false);
        board_.ONO1->setChecked(true);
        board_.ONO1->setEnabled(true);
        board_.OFFF1->setChecked(false);
        music_.bgmOn = true;
        music_.randomMode = true;
    }
    MidiList.clear();
}
