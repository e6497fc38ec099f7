// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The floors the game's operations are measured against: the same work done
// the fastest way a plain program could do it on this machine with the same
// libraries (libjpeg-turbo, Qt, the file system): files read by plain names
// with open/read, pictures decoded straight into QImage rows, thumbnails
// decoded DCT-scaled, the work spread over both cores, durable writes synced
// once each. Written apart from the game's own code on purpose, so that a
// slow step of the game cannot hide in its own floor.
#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <vector>

// The whole file by its plain path (empty when it cannot be read).
QByteArray floorRead(const QString& path);

// Full-size decode to Format_RGB32.
QImage floorDecode(const QByteArray& jpeg);

// The picture as drawn into box (aspect kept): decoded at the smallest DCT
// scale (n/8) that is at least the drawn size, then cut down to it nearest
// neighbour.
QImage floorDecodeThumbnail(const QByteArray& jpeg, QSize box);

// The numbered sections' integer entries of a settings file in one pass
// over its bytes: values[section][key], the keys given in upper case and
// matched without regard to case; a missing entry is 0. The plain reading of
// FaceData.ini's answers ("[<n>]" sections of X1..Y4).
std::vector<std::vector<int>> floorReadNumberedSections(const QByteArray& ini, const std::vector<QByteArray>& keys);

// work(0) .. work(count - 1) spread over the calling thread and one more.
void floorOnTwoThreads(int count, const std::function<void(int)>& work);

// A durable new file: created, written, fsync'ed and closed (no folder sync).
void floorWriteSynced(const QString& path, const QByteArray& bytes);
// fsync of a folder's entries.
void floorSyncFolder(const QString& folder);
