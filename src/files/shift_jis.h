// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Conversion between the program's text and the Shift-JIS code page (CP932)
// used by its text files on disk.
#include <QByteArray>
#include <QString>

// Bytes that are not CP932 become U+FFFD.
QString fromShiftJis(const QByteArray& bytes);
// Characters without a CP932 encoding become "?".
QByteArray toShiftJis(const QString& text);
// True when every character of text has a CP932 encoding that reads back as
// that same character.
bool representableInShiftJis(const QString& text);

// A lossless pair for rewriting files that may hold stray bytes: each byte that
// is not CP932 (or whose character would be written back as other bytes, as
// with the duplicated NEC/IBM characters) decodes to the lone surrogate
// U+DC00 + byte and encodes back to that byte, so untouched lines are written
// exactly as they were read.
QString fromShiftJisKeepingStrayBytes(const QByteArray& bytes);
QByteArray toShiftJisKeepingStrayBytes(const QString& text);

// Whether every ASCII character is its own byte in CP932 both ways, so that
// ASCII text passes through the conversions above unchanged.
bool shiftJisKeepsAscii();
// Whether every byte is ASCII (looked at eight at a time: settings files
// have hundreds of kilobytes).
bool isAsciiBytes(const QByteArray& bytes);
