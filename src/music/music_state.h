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
};
