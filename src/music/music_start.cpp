// SPDX-License-Identifier: GPL-3.0-or-later
// The start of the background music when the title ends: the saved settings
// decide between no music, an opened but silent file, single play and random
// play from a folder tree.
#include "music/music_player.h"

#include "board/board.h"
#include "music/music_commands.h"
#include "music/music_startup.h"

#include <QAction>
#include <QCoreApplication>
#include <QTimer>

namespace {

// The submenu and the loop open whatever course the start takes, even when
// reading the settings fails.
struct EnableMusicAtEnd {
    Board& board;
    ~EnableMusicAtEnd() {
        board.BGMB1->setEnabled(true);
        if (!board.MusicTimer->isActive()) board.MusicTimer->start();
    }
};

}  // namespace

void MusicPlayer::StartMusic() {
    if (music_.windowClosing) return;
    EnableMusicAtEnd atEnd{board_};
    MusicStartupFacts facts = gatherMusicStartupFacts(appDir_);
    const QString folder = facts.settings.musicFolder;
    facts.scanMusicFolder = [this, folder] {
        MidiList.clear();
        ScanMidiFolder(folder);
        QStringList found = MidiList;
        MidiList.clear();
        return found;
    };
    const MusicStartupPlan plan = decideMusicStartup(facts, random_);

    // The window may have begun closing while the scan let messages through.
    const bool closing = music_.windowClosing;
    music_ = plan.state;
    music_.windowClosing = closing;
    board_.ONO1->setChecked(plan.menu.onoChecked);
    board_.ONO1->setEnabled(plan.menu.onoEnabled);
    board_.OFFF1->setChecked(plan.menu.offfChecked);
    board_.S1->setChecked(plan.menu.s1Checked);
    board_.R2->setChecked(plan.menu.r2Checked);

    if (plan.openMusicFile) {
        QCoreApplication::processEvents();
        if (music_.windowClosing) return;
        mciSendString(openMusicCommand(music_.musicFile));
        if (plan.playMusicFile) mciSendString(QStringLiteral("play FILE"));
    }
}
