#include "platform/ini_file.h"

#include "platform/app_error.h"
#include "platform/atomic_write.h"
#include "platform/shift_jis.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <limits>

namespace {

constexpr qsizetype kMaxValueLength = 2047;

// The name of a "[name]" line (text up to the first "]", blanks trimmed).
bool sectionNameOf(const QString& line, QString* name) {
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('['))) return false;
    qsizetype close = t.indexOf(QLatin1Char(']'));
    if (close < 0) close = t.size();
    *name = t.mid(1, close - 1).trimmed();
    return true;
}

// A "key=value" line; comments (";"), blank lines, section lines and lines
// without "=" are not entries.
bool entryOf(const QString& line, QString* key, QString* value) {
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('[')))
        return false;
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    if (eq <= 0) return false;
    *key = t.left(eq).trimmed();
    if (key->isEmpty()) return false;
    if (value) *value = t.mid(eq + 1).trimmed();
    return true;
}

bool sameName(const QString& a, const QString& b) {
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
    const QFileInfo info(path);
    existed_ = info.exists();
    if (!existed_) return;
    QFile file(path);
    if (info.size() > kMaxIniFileBytes || !file.open(QIODevice::ReadOnly)) {
        readable_ = false;
        return;
    }
    const QByteArray bytes = file.read(kMaxIniFileBytes + 1);
    if (bytes.size() > kMaxIniFileBytes || file.error() != QFileDevice::NoError) {
        readable_ = false;
        return;
    }
    QList<QByteArray> rawLines = bytes.split('\n');
    if (bytes.endsWith('\n')) rawLines.removeLast();
    lines_.reserve(rawLines.size());
    for (QByteArray& raw : rawLines) {
        if (raw.endsWith('\r')) raw.chop(1);
        lines_.push_back(fromShiftJisKeepingStrayBytes(raw));
    }
}

int IniFile::findSection(const QString& section) const { return findSection(section, 0); }

int IniFile::findSection(const QString& section, int from) const {
    if (!indexed_) {
        sectionLines_.clear();
        QString name;
        for (int i = 0; i < int(lines_.size()); ++i)
            if (sectionNameOf(lines_[i], &name)) sectionLines_[name.toCaseFolded()].push_back(i);
        indexed_ = true;
    }
    const auto it = sectionLines_.constFind(section.toCaseFolded());
    if (it == sectionLines_.cend()) return -1;
    const auto at = std::lower_bound(it->begin(), it->end(), from);
    return at == it->end() ? -1 : *at;
}

int IniFile::sectionEnd(int sectionLine) const {
    QString name;
    int i = sectionLine + 1;
    while (i < int(lines_.size()) && !sectionNameOf(lines_[i], &name)) ++i;
    return i;
}

int IniFile::findKey(int sectionLine, const QString& key) const {
    const int end = sectionEnd(sectionLine);
    QString name;
    for (int i = sectionLine + 1; i < end; ++i)
        if (entryOf(lines_[i], &name, nullptr) && sameName(name, key)) return i;
    return -1;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const {
    // A section that appears more than once is read as one: the first entry
    // of the key in any of them counts.
    for (int s = findSection(section); s >= 0; s = findSection(section, sectionEnd(s))) {
        const int k = findKey(s, key);
        if (k < 0) continue;
        QString name;
        QString value;
        entryOf(lines_[k], &name, &value);
        qsizetype length = std::min(value.size(), kMaxValueLength);
        if (length < value.size() && value.at(length - 1).isHighSurrogate()) --length;
        return value.left(length);
    }
    return def;
}

int IniFile::readInteger(const QString& section, const QString& key, int def) const {
    int value = 0;
    return parseIniInteger(readString(section, key, QString()), &value) ? value : def;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    const bool fits = !hasLineBreak(section) && !section.contains(QLatin1Char(']')) &&
                      !hasLineBreak(key) && !key.contains(QLatin1Char('=')) &&
                      !key.isEmpty() && key == key.trimmed() &&
                      !key.startsWith(QLatin1Char('[')) && !key.startsWith(QLatin1Char(';')) &&
                      !hasLineBreak(value) &&
                      representableInShiftJis(section + key + value);
    if (!fits) throwIniWriteError(path_);

    for (int s = findSection(section); s >= 0; s = findSection(section, sectionEnd(s))) {
        const int k = findKey(s, key);
        if (k < 0) continue;
        QString existingKey;
        entryOf(lines_[k], &existingKey, nullptr);
        lines_[k] = existingKey + QLatin1Char('=') + value;
        return;
    }
    const QString entry = key + QLatin1Char('=') + value;
    const int s = findSection(section);
    if (s < 0) {
        lines_.push_back(QLatin1Char('[') + section + QLatin1Char(']'));
        lines_.push_back(entry);
        if (indexed_) sectionLines_[section.toCaseFolded()].push_back(int(lines_.size()) - 2);
        return;
    }
    // After the section's last entry, so blank lines and comments that lead
    // into the next section stay in front of it.
    int insertAt = s + 1;
    QString name;
    for (int i = s + 1; i < sectionEnd(s); ++i)
        if (entryOf(lines_[i], &name, nullptr)) insertAt = i + 1;
    lines_.insert(lines_.begin() + insertAt, entry);
    // Section lines after the new entry move down by one.
    if (indexed_)
        for (std::vector<int>& at : sectionLines_)
            for (int& line : at)
                if (line >= insertAt) ++line;
}

void IniFile::writeInteger(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

void IniFile::eraseSection(const QString& section) {
    // Every occurrence goes, so no stray copy of the section is read later.
    for (int s = findSection(section); s >= 0; s = findSection(section, s)) {
        lines_.erase(lines_.begin() + s, lines_.begin() + sectionEnd(s));
        indexed_ = false;
    }
}

QString IniFile::text() const {
    QString all;
    for (const QString& line : lines_) all += line + QLatin1String("\r\n");
    return all;
}

void IniFile::save() const {
    if (!readable_) throwIniWriteError(path_);
    QByteArray bytes;
    for (const QString& line : lines_) {
        bytes += toShiftJisKeepingStrayBytes(line);
        bytes += "\r\n";
    }
    if (!tryWriteFileAtomically(path_, bytes)) throwIniWriteError(path_);
}
