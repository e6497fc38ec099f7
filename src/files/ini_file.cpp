// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/ini_file.h"

#include "files/app_error.h"
#include "files/ini_syntax.h"
#include "files/atomic_write.h"
#include "files/file_reading.h"
#include "files/shift_jis.h"

#include <QMultiHash>
#include <QSet>
#include <QStringBuilder>
#include <algorithm>
#include <limits>

namespace {

bool isAscii(const QString& text) {
    return std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() < 0x80; });
}

// Whether the entry's text has a CP932 encoding that reads back the same; ASCII
// (nearly every entry) is looked at without joining it first.
bool representable(const QString& section, const QString& key, const QString& value) {
    if (isAscii(section) && isAscii(key) && isAscii(value) && shiftJisKeepsAscii()) return true;
    return representableInShiftJis(section + key + value);
}

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

}  // namespace

namespace {

template <typename View>
bool parseInteger(View text, int* value) {
    const View t = text.trimmed();
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
        const char16_t c = QChar(t[i]).unicode();
        const int digit = base == 16 ? hexDigit(c) : (c >= u'0' && c <= u'9' ? c - u'0' : -1);
        if (digit < 0) return false;
        magnitude = magnitude * base + digit;
        if (magnitude > limit) return false;
    }
    *value = static_cast<int>(negative ? -magnitude : magnitude);
    return true;
}

}  // namespace

bool parseIniInteger(const QString& text, int* value) { return parseInteger(QStringView(text), value); }
bool parseIniInteger(QLatin1StringView text, int* value) { return parseInteger(text, value); }

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

QByteArray readIniFileBytes(const QString& path) {
    switch (probePath(path)) {
    case PathKind::Absent:
    case PathKind::Folder:
        return {};
    case PathKind::Other:
        throwFileOpenError(path);
    case PathKind::File:
        break;
    }
    return readWholeFile(path, kMaxIniFileBytes);
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

const std::vector<int>& IniFile::sectionCopies(const QString& section) const {
    static const std::vector<int> none;
    if (!indexed_) {
        sectionLines_.clear();
        QStringView name;
        for (int i = 0; i < int(lines_.size()); ++i)
            if (sectionNameOf<QStringView>(lines_[i].text, &name)) sectionLines_[name.toString().toCaseFolded()].push_back(i);
        indexed_ = true;
    }
    const auto it = sectionLines_.constFind(section.toCaseFolded());
    return it == sectionLines_.cend() ? none : *it;
}

int IniFile::sectionEnd(int sectionLine) const {
    int i = sectionLine + 1;
    while (i < int(lines_.size()) && !sectionNameOf<QStringView>(lines_[i].text, nullptr)) ++i;
    return i;
}

int IniFile::findKey(int sectionLine, int end, const QString& key) const {
    QStringView name;
    for (int i = sectionLine + 1; i < end; ++i)
        if (entryOf<QStringView>(lines_[i].text, &name, nullptr) && sameIniName(name, key)) return i;
    return -1;
}

namespace {

// A value as it is read back: at most kMaxIniValueLength characters, never half
// a surrogate pair.
QString valueText(QStringView value) {
    qsizetype length = std::min(value.size(), kMaxIniValueLength);
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
    // A section that appears more than once is read as one. Copies follow
    // each other in file order, each ending where a later one may start.
    for (const int s : sectionCopies(section)) {
        if (missing == 0) break;
        const int end = sectionEnd(s);
        QStringView name, value;
        for (int i = s + 1; i < end && missing > 0; ++i) {
            if (!entryOf<QStringView>(lines_[i].text, &name, &value)) continue;
            if (!byName.isEmpty()) {
                const QString folded = name.toString().toCaseFolded();
                for (auto it = byName.constFind(folded); it != byName.cend() && it.key() == folded; ++it)
                    take(it.value(), value);
                continue;
            }
            for (qsizetype k = 0; k < keys.size(); ++k)
                if (sameIniName(name, keys[k])) take(k, value);
        }
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
    for (const int s : sectionCopies(section)) {
        const int k = findKey(s, sectionEnd(s), key);
        if (k >= 0) {
            QStringView value;
            entryOf<QStringView>(lines_[k].text, nullptr, &value);
            return valueText(value);
        }
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
    if (sectionNameOf<QStringView>(text, &name)) {
        std::vector<int>& sectionAt = sectionLines_[name.toString().toCaseFolded()];
        sectionAt.insert(std::lower_bound(sectionAt.begin(), sectionAt.end(), at), at);
    }
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    if (!iniEntryFits(section, key, value) || !representable(section, key, value)) throwIniWriteError(path_);

    // One pass over the section's lines: every copy of the section is searched
    // for the key, and the end of the first copy remembered for an append.
    const std::vector<int>& copies = sectionCopies(section);
    const int first = copies.empty() ? -1 : copies.front();
    int firstEnd = -1;
    for (const int s : copies) {
        const int end = sectionEnd(s);
        if (firstEnd < 0) firstEnd = end;
        const int k = findKey(s, end, key);
        if (k >= 0) {
            QStringView existingKey;
            entryOf<QStringView>(lines_[k].text, &existingKey, nullptr);
            lines_[k].text = existingKey % QLatin1Char('=') % value;
            return;
        }
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
        if (entryOf<QStringView>(lines_[i].text, nullptr, nullptr)) {
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
    const std::vector<int>& copies = sectionCopies(section);
    if (copies.empty()) return;
    std::vector<bool> erased(lines_.size(), false);
    for (const int s : copies)
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
