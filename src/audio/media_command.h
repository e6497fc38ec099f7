// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Splitting a media command string into words.
#include <QString>
#include <QStringList>

// Words are separated by blanks; a word that starts with a double quote runs
// to the closing quote that ends a word (one followed by a blank or the end),
// so a path may hold blanks and even quotes. False for an unterminated quote.
bool splitMediaCommand(const QString& command, QStringList* words);
