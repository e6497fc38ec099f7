// Closing the main window: the music stops and the music settings are saved
// for the next run.
#include "main/form1.h"
#include "music/bgm_settings.h"

#include <QAction>

void TForm1::FormClose() {
    // A settings file that cannot be written is reported; the window still
    // closes (closeEvent accepts whatever happens here).
    music.windowClosing = true;
    guarded([&] {
        if (music.bgmOn) mciExecute(QStringLiteral("stop FILE"));
        if (music.musicFile.isEmpty()) return;
        writeBgmSettings(AppDir, ONO1->isChecked(), music.musicFile,
                         music.randomMode ? music.musicFolder : QString());
    });
}
