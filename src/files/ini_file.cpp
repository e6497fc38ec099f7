// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ini_file.h"

#include "files/app_error.h"
#include "files/atomic_write.h"
#include "files/file_reading.h"
#include "files/shift_jis.h"

#include <QMultiHash>
#include <QSet>
#include <algorithm>
#include <limits>

namespace {

constexpr qsizetype kMaxValueLength = 2047;

// Views, not copies: a write scans every line of its section, and most lines
// are neither section lines nor the key looked for.

// The name of a "[name]" line (text up to the first "]", blanks trimmed).
bool sectionNameOf(QStringView line, QStringView* name) {
    const QStringView t = line.trimmed();
    if (!t.startsWith(QLatin1Char('['))) return false;
    qsizetype close = t.indexOf(QLatin1Char(']'));
    if (close < 0) close = t.size();
    if (name) *name = t.mid(1, close - 1).trimmed();
    return true;
}

// A "key=value" line; comments (";"), blank lines, section lines and lines
// without "=" are not entries.
bool entryOf(QStringView line, QStringView* key, QStringView* value) {
    const QStringView t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('[')))
        return false;
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    if (eq <= 0) return false;
    const QStringView name = t.left(eq).trimmed();
    if (name.isEmpty()) return false;
    if (key) *key = name;
    if (value) *value = t.mid(eq + 1).trimmed();
    return true;
}

bool sameName(QStringView a, QStringView b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

bool hasLineBreak(const QString& text) {
    return text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'));
}

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

}  // namespace

bool parseIniInteger(const QString& text, int* value) {
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))) {
        negative = t[i] == QLatin1Char('-');
        ++i;
    }
    int base = 10;
    if (t.mid(i, 2).compare(QLatin1String("0x"), Qt::CaseInsensitive) == 0) {
        base = 16;
        i += 2;
    } else if (i < t.size() && (t[i] == QLatin1Char('$') || t[i] == QLatin1Char('x') ||
                                t[i] == QLatin1Char('X'))) {
        base = 16;
        i += 1;
    }
    if (i >= t.size()) return false;
    // Magnitudes are gathered in 64 bits and stop as soon as they leave the
    // range of int, so no input overflows.
    const qint64 limit = negative ? -qint64(std::numeric_limits<int>::min())
                                  : qint64(std::numeric_limits<int>::max());
    qint64 magnitude = 0;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        const int digit = base == 16 ? hexDigit(c) : (c >= u'0' && c <= u'9' ? c - u'0' : -1);
        if (digit < 0) return false;
        magnitude = magnitude * base + digit;
        if (magnitude > limit) return false;
    }
    *value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

IniFile::IniFile(const QString& path) : path_(path) {
    switch (probePath(path)) {
    case PathKind::Absent:
        return;
    case PathKind::Folder:
        existed_ = true;
        replaceable_ = false;
        return;
    case PathKind::Other:  // a pipe or a device: never read, never replaced
        throwFileOpenError(path);
    case PathKind::File:
        break;
    }
    existed_ = true;
    parse(readWholeFile(path, kMaxIniFileBytes));
}

IniFile::IniFile(const QString& path, const QByteArray& contents) : path_(path), existed_(true) { parse(contents); }

void IniFile::parse(const QByteArray& bytes) {
    qsizetype crlf = 0;
    qsizetype lf = 0;
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype newline = bytes.indexOf('\n', start);
        Line line;
        qsizetype stop = newline < 0 ? bytes.size() : newline;
        if (newline >= 0) {
            const bool cr = stop > start && bytes.at(stop - 1) == '\r';
            line.end = cr ? LineEnd::CrLf : LineEnd::Lf;
            ++(cr ? crlf : lf);
            if (cr) --stop;
        }
        line.text = fromShiftJisKeepingStrayBytes(QByteArray::fromRawData(bytes.constData() + start, stop - start));
        lines_.push_back(std::move(line));
        start = newline < 0 ? bytes.size() : newline + 1;
    }
    usualEnd_ = lf > crlf ? LineEnd::Lf : LineEnd::CrLf;
}

int IniFile::findSection(const QString& section) const { return findSection(section, 0); }

int IniFile::findSection(const QString& section, int from) const {
    if (!indexed_) {
        sectionLines_.clear();
        QStringView name;
        for (int i = 0; i < int(lines_.size()); ++i)
            if (sectionNameOf(lines_[i].text, &name)) sectionLines_[name.toString().toCaseFolded()].push_back(i);
        indexed_ = true;
    }
    const auto it = sectionLines_.constFind(section.toCaseFolded());
    if (it == sectionLines_.cend()) return -1;
    const auto at = std::lower_bound(it->begin(), it->end(), from);
    return at == it->end() ? -1 : *at;
}

int IniFile::sectionEnd(int sectionLine) const {
    int i = sectionLine + 1;
    while (i < int(lines_.size()) && !sectionNameOf(lines_[i].text, nullptr)) ++i;
    return i;
}

int IniFile::findKey(int sectionLine, int end, const QString& key) const {
    QStringView name;
    for (int i = sectionLine + 1; i < end; ++i)
        if (entryOf(lines_[i].text, &name, nullptr) && sameName(name, key)) return i;
    return -1;
}

namespace {

// A value as it is read back: at most kMaxValueLength characters, never half
// a surrogate pair.
QString valueText(QStringView value) {
    qsizetype length = std::min(value.size(), kMaxValueLength);
    if (length < value.size() && value.at(length - 1).isHighSurrogate()) --length;
    return value.left(length).toString();
}

}  // namespace

QStringList IniFile::readStrings(const QString& section, const QStringList& keys, const QString& def) const {
    QStringList values(keys.size(), def);
    std::vector<bool> found(keys.size(), false);
    qsizetype missing = keys.size();
    // Many keys are looked up by their folded names, so a section is read in
    // time linear in its lines; a few are compared with each line directly.
    constexpr qsizetype kKeysCompared = 12;
    QMultiHash<QString, qsizetype> byName;
    if (keys.size() > kKeysCompared)
        for (qsizetype k = 0; k < keys.size(); ++k) byName.insert(keys[k].toCaseFolded(), k);
    const auto take = [&](qsizetype k, QStringView value) {
        if (found[k]) return;
        values[k] = valueText(value);
        found[k] = true;
        --missing;
    };
    for (int s = findSection(section); s >= 0 && missing > 0;) {
        const int end = sectionEnd(s);
        QStringView name, value;
        for (int i = s + 1; i < end && missing > 0; ++i) {
            if (!entryOf(lines_[i].text, &name, &value)) continue;
            if (!byName.isEmpty()) {
                const QString folded = name.toString().toCaseFolded();
                for (auto it = byName.constFind(folded); it != byName.cend() && it.key() == folded; ++it)
                    take(it.value(), value);
                continue;
            }
            for (qsizetype k = 0; k < keys.size(); ++k)
                if (sameName(name, keys[k])) take(k, value);
        }
        s = findSection(section, end);
    }
    return values;
}

std::vector<int> IniFile::readIntegers(const QString& section, const QStringList& keys, int def) const {
    const QStringList texts = readStrings(section, keys, QString());
    std::vector<int> values(keys.size(), def);
    for (qsizetype k = 0; k < keys.size(); ++k) {
        int value = 0;
        if (parseIniInteger(texts[k], &value)) values[k] = value;
    }
    return values;
}

QStringList IniFile::sectionNames() const {
    QStringList names;
    QSet<QString> seen;
    QStringView name;
    for (const Line& line : lines_)
        if (sectionNameOf(line.text, &name) && !seen.contains(name.toString().toCaseFolded())) {
            seen.insert(name.toString().toCaseFolded());
            names.append(name.toString());
        }
    return names;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const {
    // A section that appears more than once is read as one: the first entry
    // of the key in any of them counts.
    for (int s = findSection(section); s >= 0;) {
        const int end = sectionEnd(s);
        const int k = findKey(s, end, key);
        if (k >= 0) {
            QStringView value;
            entryOf(lines_[k].text, nullptr, &value);
            return valueText(value);
        }
        s = findSection(section, end);
    }
    return def;
}

int IniFile::readInteger(const QString& section, const QString& key, int def) const {
    int value = 0;
    return parseIniInteger(readString(section, key, QString()), &value) ? value : def;
}

void IniFile::insertLine(int at, const QString& text) {
    lines_.insert(lines_.begin() + at, Line{text, usualEnd_});
    if (!indexed_) return;
    // Section lines after the new one move down by one.
    for (std::vector<int>& sectionAt : sectionLines_)
        for (auto line = std::lower_bound(sectionAt.begin(), sectionAt.end(), at); line != sectionAt.end(); ++line)
            ++*line;
    QStringView name;
    if (sectionNameOf(text, &name)) {
        std::vector<int>& sectionAt = sectionLines_[name.toString().toCaseFolded()];
        sectionAt.insert(std::lower_bound(sectionAt.begin(), sectionAt.end(), at), at);
    }
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    // Names are read back trimmed, so blanks around them could never be found again.
    const bool fits = !hasLineBreak(section) && !section.contains(QLatin1Char(']')) && section == section.trimmed() &&
                      !hasLineBreak(key) && !key.contains(QLatin1Char('=')) &&
                      !key.isEmpty() && key == key.trimmed() &&
                      !key.startsWith(QLatin1Char('[')) && !key.startsWith(QLatin1Char(';')) &&
                      !hasLineBreak(value) &&
                      representableInShiftJis(section + key + value);
    if (!fits) throwIniWriteError(path_);

    // One pass over the section's lines: every copy of the section is searched
    // for the key, and the end of the first copy remembered for an append.
    const int first = findSection(section);
    int firstEnd = -1;
    for (int s = first; s >= 0;) {
        const int end = sectionEnd(s);
        if (firstEnd < 0) firstEnd = end;
        const int k = findKey(s, end, key);
        if (k >= 0) {
            QStringView existingKey;
            entryOf(lines_[k].text, &existingKey, nullptr);
            lines_[k].text = existingKey.toString() + QLatin1Char('=') + value;
            return;
        }
        s = findSection(section, end);
    }
    const QString entry = key + QLatin1Char('=') + value;
    if (first < 0) {
        insertLine(int(lines_.size()), QLatin1Char('[') + section + QLatin1Char(']'));
        insertLine(int(lines_.size()), entry);
        return;
    }
    // After the section's last entry, so blank lines and comments that lead
    // into the next section stay in front of it.
    int insertAt = first + 1;
    for (int i = firstEnd - 1; i > first; --i)
        if (entryOf(lines_[i].text, nullptr, nullptr)) {
            insertAt = i + 1;
            break;
        }
    insertLine(insertAt, entry);
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

void IniFile::eraseSection(const QString& section) {
    // Every copy goes, so no stray copy of the section is read later. The
    // lines are marked first and the rest kept in one pass.
    if (findSection(section) < 0) return;
    std::vector<bool> erased(lines_.size(), false);
    for (int s : sectionLines_.value(section.toCaseFolded()))
        std::fill(erased.begin() + s, erased.begin() + sectionEnd(s), true);
    std::vector<Line> kept;
    kept.reserve(lines_.size());
    for (std::size_t i = 0; i < lines_.size(); ++i)
        if (!erased[i]) kept.push_back(std::move(lines_[i]));
    lines_ = std::move(kept);
    indexed_ = false;
}

IniFile::LineEnd IniFile::lineEndAt(int i) const {
    // A last line that had no end of its own gets one once others follow it.
    const LineEnd end = lines_[i].end;
    return end == LineEnd::None && i + 1 < int(lines_.size()) ? usualEnd_ : end;
}

QString IniFile::text() const {
    QString all;
    for (int i = 0; i < int(lines_.size()); ++i) {
        all += lines_[i].text;
        const LineEnd end = lineEndAt(i);
        if (end == LineEnd::CrLf) all += QLatin1String("\r\n");
        if (end == LineEnd::Lf) all += QLatin1Char('\n');
    }
    return all;
}

QByteArray IniFile::bytes() const {
    // One conversion for the whole file: line ends are ASCII and CP932 has no
    // shift state, so this equals converting line by line.
    return toShiftJisKeepingStrayBytes(text());
}

void IniFile::save() const {
    if (!replaceable_) throwIniWriteError(path_);
    if (!tryWriteFileAtomically(path_, bytes())) throwIniWriteError(path_);
}
