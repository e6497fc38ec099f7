// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The background music's state for the whole run.
#include <QString>
#include <QStringList>

struct MusicState {
    bool bgmOn = false;
    QString musicFile;
    QString musicFolder;
    bool randomMode = false;
    QStringList midiFiles;
    // Set when the main window starts closing: from then on nothing starts
    // the music again, even while a message box of the closing waits.
    bool windowClosing = false;
};
