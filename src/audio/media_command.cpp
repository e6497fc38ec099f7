// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/media_command.h"

bool splitMediaCommand(const QString& command, QStringList* words) {
    words->clear();
    const qsizetype n = command.size();
    qsizetype i = 0;
    while (true) {
        while (i < n && command[i].isSpace()) ++i;
        if (i >= n) return true;
        if (command[i] == QLatin1Char('"')) {
            qsizetype close = i + 1;
            while (true) {
                close = command.indexOf(QLatin1Char('"'), close);
                if (close < 0) return false;
                if (close + 1 >= n || command[close + 1].isSpace()) break;
                ++close;
            }
            words->append(command.mid(i + 1, close - i - 1));
            i = close + 1;
        } else {
            const qsizetype start = i;
            while (i < n && !command[i].isSpace()) ++i;
            words->append(command.mid(start, i - start));
        }
    }
}
