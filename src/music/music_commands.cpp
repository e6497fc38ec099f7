// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/music_commands.h"

#include "desktop/random_source.h"

QString openMusicCommand(const QString& path) {
    return QStringLiteral("open \"") + path + QStringLiteral("\" alias FILE");
}

bool replyMeansPlaying(const QString& reply) {
    QString held = reply.left(16);
    const qsizetype nul = held.indexOf(QChar(0));
    if (nul >= 0) held.truncate(nul);
    return held.left(7) == QLatin1String("playing");
}

QString randomMidiFile(const QStringList& files, RandomSource& random) {
    if (files.isEmpty()) return {};
    return files.at(random.below(static_cast<int>(files.size())));
}
