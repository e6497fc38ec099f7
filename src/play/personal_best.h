// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The personal best of every face in Data\Scores.ini. A face is known by the
// SHA-1 of its whole-face picture's bytes (the section name, lower-case hex),
// so the record follows the face when a deletion renumbers the catalogue and
// a different face that takes its index starts with none. Key "Best" holds the
// seeing game's best total, "BestBlind" the blindfolded one's; a party's
// players have their own, "Best:<name>" and "BestBlind:<name>".
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

// appDir + "Data\Scores.ini", resolved without regard to case.
QString scoresPath(const QString& appDir);

// The section name of a face: SHA-1 of the picture's bytes, 40 hex digits.
QString faceIdentity(const QByteArray& wholeFacePicture);

struct BestRecord {
    std::optional<std::int64_t> previous;  // the best kept before this game
    bool improved = false;                 // this game beat it, or was the first
    // "%s に書き込めません" when it could not be kept; "ファイル %s は開けません"
    // when the file could not be read (then nothing is known: no previous,
    // not improved).
    QString writeError;
};

// Compares total with the kept best of the face and stores it when it beats
// it (or none was kept). A missing or damaged file, or a value that is not
// an integer, counts as no best; a file that cannot be read is left as it is
// and fills writeError, and so does one that cannot be written.
// player: a party's player by name; empty for the single player.
BestRecord recordBest(const QString& appDir, const QString& identity, bool blindfolded, std::int64_t total,
                      const QString& player = {});

// LblBest's caption: "自己ベスト更新！" or "自己ベスト 912" (the previous best);
// for a blindfolded game "目隠しの自己ベスト更新！" or "目隠しの自己ベスト 912",
// since the two are different records. A new best that could not be kept
// says so: "点数を記録できませんでした"; empty (no line is shown) when the
// kept best could not be read.
QString bestCaption(const BestRecord& record, bool blindfolded);
