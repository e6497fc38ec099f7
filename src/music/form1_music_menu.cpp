// The BGM submenu: music on and off, one chosen file, or random play from a
// chosen folder tree.
#include "main/form1.h"
#include "music/form1_music_busy.h"
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

void TForm1::ONO1Click() {
    guarded([&] {
        if (ONO1->isChecked() || music.musicFile.isEmpty() || music.windowClosing) return;
        BgmSubmenuBusy busy(BGMB1);
        ONO1->setChecked(true);
        OFFF1->setChecked(false);
        QCoreApplication::processEvents();
        if (music.windowClosing) return;
        mciSendString(QStringLiteral("seek FILE to 0"));
        mciSendString(QStringLiteral("play FILE"));
        music.bgmOn = true;
    });
}

void TForm1::OFFF1Click() {
    guarded([&] {
        if (OFFF1->isChecked()) return;
        ONO1->setChecked(false);
        OFFF1->setChecked(true);
        // The device stays open, so ON can start it again.
        mciExecute(QStringLiteral("stop FILE"));
        music.bgmOn = false;
    });
}

void TForm1::S1Click() {
    guarded([&] {
        const QString chosen = services.dialogs->openFile(QString(), kMidiFilter);
        if (chosen.isEmpty()) return;
        BgmSubmenuBusy busy(BGMB1);
        S1->setChecked(true);
        R2->setChecked(false);
        ONO1->setChecked(true);
        ONO1->setEnabled(true);
        OFFF1->setChecked(false);
        music.bgmOn = true;
        music.randomMode = false;
        PlayMidiFile(chosen);
        if (!MusicTimer->isActive()) MusicTimer->start();
    });
}

void TForm1::R2Click() {
    guarded([&] {
        if (!QFileInfo(music.musicFolder).isDir()) music.musicFolder.clear();
        // The folder that the random play going on (if any) draws from.
        const QString playingFolder = music.musicFolder;
        const QString chosen = services.dialogs->chooseFolder(kFolderPrompt, music.musicFolder);
        if (chosen.isEmpty()) return;
        music.musicFolder = chosen;

        BgmSubmenuBusy busy(BGMB1);
        MidiList.clear();
        ScanMidiFolder(music.musicFolder);
        if (MidiList.isEmpty()) {
            // Random play that goes on keeps its folder, so the settings
            // written at exit still describe it.
            music.musicFolder = music.randomMode ? playingFolder : QString();
            services.dialogs->notice(kNoMidiInFolder);
        } else {
            music.midiFiles = MidiList;
            services.random->seedFromClock();
            PlayMidiFile(randomMidiFile(music.midiFiles, *services.random));
            if (!MusicTimer->isActive()) MusicTimer->start();
            R2->setChecked(true);
            S1->setChecked(false);
            ONO1->setChecked(true);
            ONO1->setEnabled(true);
            OFFF1->setChecked(false);
            music.bgmOn = true;
            music.randomMode = true;
        }
        MidiList.clear();
    });
}
