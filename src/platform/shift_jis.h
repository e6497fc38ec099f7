#pragma once
// Conversion between the program's text and the Shift-JIS code page (CP932)
// used by its text files on disk.
#include <QByteArray>
#include <QString>

QString fromShiftJis(const QByteArray& bytes);
QByteArray toShiftJis(const QString& text);
// True when every character of text has a CP932 encoding.
bool representableInShiftJis(const QString& text);
