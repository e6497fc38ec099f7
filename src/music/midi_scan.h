// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finding the MIDI files of a folder tree for random play.
#include <QString>
#include <QStringList>
#include <functional>

// Appends to out the full path of every file under folder whose extension,
// taken from the last ".", is exactly ".mid" in lower case. Depth first in the
// order the file system lists the entries: a subfolder's files come in where
// the subfolder was met. Hidden entries are included; symbolic links to
// folders are not followed (so link loops end); unreadable folders are
// skipped; nothing is sorted or removed. letMessagesThrough runs once per
// folder, before it is listed, so the window can repaint during long scans.
void scanMidiFolder(const QString& folder, QStringList& out,
                    const std::function<void()>& letMessagesThrough = {});

// True for a name whose extension is exactly ".mid".
bool isMidiFileName(const QString& name);
