// The two ways the window sends media commands, and replacing the device by
// another MIDI file.
#include "main/form1.h"
#include "music/midi_scan.h"
#include "music/music_commands.h"

#include <QCoreApplication>

int TForm1::mciSendString(const QString& command, QString* reply) {
    return services.media->sendString(command, reply);
}

void TForm1::mciExecute(const QString& command) {
    executeMediaCommand(*services.media, command, *services.dialogs);
}

void TForm1::PlayMidiFile(const QString& path) {
    if (music.windowClosing) return;
    if (!music.musicFile.isEmpty()) {
        mciExecute(QStringLiteral("stop FILE"));
        mciSendString(QStringLiteral("close FILE"));
    }
    music.musicFile = path;
    QCoreApplication::processEvents();
    if (music.windowClosing) return;
    mciSendString(openMusicCommand(path));
    mciSendString(QStringLiteral("play FILE"));
}

void TForm1::ScanMidiFolder(const QString& folder) {
    // Once per folder, so the window keeps repainting during a long scan.
    scanMidiFolder(folder, MidiList, [] { QCoreApplication::processEvents(); });
}
