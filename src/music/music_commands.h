// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command strings that the music handlers send, and reading the reply of
// "status FILE mode".
#include <QString>
#include <QStringList>

class RandomSource;

// "open " + '"' + path + '"' + " alias FILE"
QString openMusicCommand(const QString& path);

// The reply as a 16-character buffer would hold it (up to a NUL, at most 16
// characters), compared on its first 7 characters with "playing", exactly.
bool replyMeansPlaying(const QString& reply);

// One of files at a uniformly random index (the generator is not re-seeded);
// empty when there are none.
QString randomMidiFile(const QStringList& files, RandomSource& random);
