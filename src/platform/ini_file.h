#pragma once
// A Windows private-profile (ini) file held in memory: sections of key=value
// lines, names compared without regard to letter case, CP932 text on disk.
// Reads never fail (missing file, section or key give the caller's default);
// save() replaces the file atomically and throws "%s に書き込めません" on failure.
// A file that exists but cannot be read (or is larger than kMaxIniFileBytes)
// reads as empty and is never overwritten: save() refuses it.
#include <QHash>
#include <QString>
#include <QStringList>
#include <vector>

constexpr qint64 kMaxIniFileBytes = 16 * 1024 * 1024;

class IniFile {
public:
    // Reads the file at path (already resolved); a missing file is an empty one.
    explicit IniFile(const QString& path);

    const QString& path() const { return path_; }
    bool exists() const { return existed_; }

    // Value text after "=", blanks trimmed, at most 2047 characters.
    QString readString(const QString& section, const QString& key, const QString& def) const;
    // Decimal with optional sign; "0x", "0X", "$", "x", "X" after the sign mean
    // hexadecimal. Anything that is not an integer gives def.
    int readInteger(const QString& section, const QString& key, int def) const;

    // In place when the key exists (any letter case), else appended at the end
    // of its section; a missing section is appended at the end of the file.
    // Throws "%s に書き込めません" (leaving the file as it was) for text the
    // file cannot hold: line breaks, characters without a CP932 encoding, "]"
    // in a section name, "=" or surrounding blanks in a key, an empty key.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void eraseSection(const QString& section);

    // The whole file as text, lines ended with "\r\n".
    QString text() const;
    // Writes the file (CP932) through a temporary file and a rename.
    void save() const;

private:
    struct Line {
        QString raw;  // the line as read or written
    };
    int findSection(const QString& section) const;  // index of the "[...]" line or -1
    int findSection(const QString& section, int from) const;
    int sectionEnd(int sectionLine) const;          // index after the last line of it
    int findKey(int sectionLine, const QString& key) const;

    QString path_;
    bool existed_ = false;
    bool readable_ = true;  // false: existing content unknown, so never replaced
    std::vector<QString> lines_;
    // "[...]" line indices by case-folded section name, ascending; rebuilt
    // after a change of lines_, so reading N sections costs O(N), not O(N^2).
    mutable QHash<QString, std::vector<int>> sectionLines_;
    mutable bool indexed_ = false;
};

// Parses an ini integer as described above; false when text is not one,
// including values outside the range of int (no wrap-around).
bool parseIniInteger(const QString& text, int* value);
