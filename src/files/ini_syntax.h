// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How an ini line reads, shared by IniFile (over decoded text) and IniAppend
// (over plain ASCII bytes), so that both find the same sections and keys.
// Views, not copies: a write scans every line of its section, and most lines
// are neither section lines nor the key looked for.
#include <QLatin1StringView>
#include <QString>
#include <QStringView>
#include <type_traits>

// The longest value a read gives: the rest of a longer one is left out.
constexpr qsizetype kMaxIniValueLength = 2047;

// The name of a "[name]" line (text up to the first "]", blanks trimmed).
template <typename View>
bool sectionNameOf(std::type_identity_t<View> line, View* name) {
    const View t = line.trimmed();
    if (!t.startsWith(QLatin1Char('['))) return false;
    qsizetype close = t.indexOf(QLatin1Char(']'));
    if (close < 0) close = t.size();
    if (name) *name = t.mid(1, close - 1).trimmed();
    return true;
}

// A "key=value" line; comments (";"), blank lines, section lines and lines
// without "=" are not entries.
template <typename View>
bool entryOf(std::type_identity_t<View> line, View* key, View* value) {
    const View t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('['))) return false;
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    if (eq <= 0) return false;
    const View name = t.left(eq).trimmed();
    if (name.isEmpty()) return false;
    if (key) *key = name;
    if (value) *value = t.mid(eq + 1).trimmed();
    return true;
}

template <typename A, typename B>
bool sameIniName(A a, B b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Whether writeString can store the entry so that it reads back (before the
// question of its characters' encoding): no line break anywhere, no "]" in
// the section, no "=" in the key, and names without surrounding blanks (they
// are read back trimmed), the key neither empty nor taken for a section or a
// comment.
inline bool iniEntryFits(const QString& section, const QString& key, const QString& value) {
    const auto hasLineBreak = [](const QString& text) {
        return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
    };
    return !hasLineBreak(section) && !section.contains(QLatin1Char(']')) && section == section.trimmed() &&
           !hasLineBreak(key) && !key.contains(QLatin1Char('=')) && !key.isEmpty() && key == key.trimmed() &&
           !key.startsWith(QLatin1Char('[')) && !key.startsWith(QLatin1Char(';')) && !hasLineBreak(value);
}
