#pragma once
// Writing a whole file so that readers see either the old or the new content:
// a temporary file in the same folder, flushed, then renamed over the target.
#include <QByteArray>
#include <QString>

// Throws "ファイル %s を作成できません" when the file cannot be written.
void writeFileAtomically(const QString& path, const QByteArray& bytes);
// The same, returning false instead of throwing.
bool tryWriteFileAtomically(const QString& path, const QByteArray& bytes);
