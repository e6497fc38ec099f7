// The start of the background music when the title ends: the saved settings
// decide between no music, an opened but silent file, single play and random
// play from a folder tree.
#include "main/form1.h"
#include "music/music_commands.h"
#include "music/music_startup.h"

#include <QAction>
#include <QCoreApplication>
#include <QTimer>

namespace {

// The submenu and the loop open whatever course the start takes, even when
// reading the settings fails.
struct EnableMusicAtEnd {
    TForm1& form;
    ~EnableMusicAtEnd() {
        form.BGMB1->setEnabled(true);
        if (!form.MusicTimer->isActive()) form.MusicTimer->start();
    }
};

}  // namespace

void TForm1::StartMusic() {
    if (music.windowClosing) return;
    guarded([&] {
        EnableMusicAtEnd atEnd{*this};
        MusicStartupFacts facts = gatherMusicStartupFacts(AppDir);
        const QString folder = facts.settings.musicFolder;
        facts.scanMusicFolder = [this, folder] {
            MidiList.clear();
            ScanMidiFolder(folder);
            QStringList found = MidiList;
            MidiList.clear();
            return found;
        };
        const MusicStartupPlan plan = decideMusicStartup(facts, *services.random);

        // The window may have begun closing while the scan let messages through.
        const bool closing = music.windowClosing;
        music = plan.state;
        music.windowClosing = closing;
        ONO1->setChecked(plan.menu.onoChecked);
        ONO1->setEnabled(plan.menu.onoEnabled);
        OFFF1->setChecked(plan.menu.offfChecked);
        S1->setChecked(plan.menu.s1Checked);
        R2->setChecked(plan.menu.r2Checked);

        if (plan.openMusicFile) {
            QCoreApplication::processEvents();
            if (music.windowClosing) return;
            mciSendString(openMusicCommand(music.musicFile));
            if (plan.playMusicFile) mciSendString(QStringLiteral("play FILE"));
        }
    });
}
