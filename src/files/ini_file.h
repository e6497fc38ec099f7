// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A Windows private-profile (ini) file held in memory: sections of key=value
// lines, names compared without regard to letter case, CP932 text on disk.
// Missing sections and keys give the caller's default, and a missing file is
// an empty one. A file that exists but cannot be read completely (a failing
// existence test, open or read, a read cut short, more than kMaxIniFileBytes)
// raises "ファイル %s は開けません" when it is opened, so nothing is ever
// decided from, or written back over, part of it. A folder in the file's place
// reads as empty, and save() refuses to replace it.
// Every write and erase costs time linear in the size of the file.
#include <QHash>
#include <QLatin1StringView>
#include <QString>
#include <QStringList>
#include <vector>

constexpr qint64 kMaxIniFileBytes = 16 * 1024 * 1024;

class IniFile {
public:
    // Reads the file at path (already resolved).
    explicit IniFile(const QString& path);
    // The file at path as if it held contents (read elsewhere); nothing is
    // read from path, which only names the file in errors and for save().
    IniFile(const QString& path, const QByteArray& contents);

    const QString& path() const { return path_; }
    bool exists() const { return existed_; }

    // Value text after "=", blanks trimmed, at most 2047 characters.
    QString readString(const QString& section, const QString& key, const QString& def) const;
    // Decimal with optional sign; "0x", "0X", "$", "x", "X" after the sign mean
    // hexadecimal. Anything that is not an integer gives def.
    int readInteger(const QString& section, const QString& key, int def) const;
    // Several keys of one section, each as readString / readInteger would
    // give it, in one pass over the section (a catalogue of thousands of
    // sections is read at every start).
    QStringList readStrings(const QString& section, const QStringList& keys, const QString& def) const;
    std::vector<int> readIntegers(const QString& section, const QStringList& keys, int def) const;
    // The names of the sections, each once (as first spelled), in file order.
    QStringList sectionNames() const;

    // In place when the key exists (any letter case), else appended at the end
    // of its section; a missing section is appended at the end of the file.
    // Throws "%s に書き込めません" (leaving the file as it was) for text the
    // file cannot hold: line breaks, characters without a CP932 encoding, "]"
    // in a section name, "=" or surrounding blanks in a key, an empty key.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInteger(const QString& section, const QString& key, int value);
    void eraseSection(const QString& section);

    // The whole file as text. Every line keeps the line end it was read with
    // ("\r\n" or "\n"); new lines take the file's usual one ("\r\n" when
    // there is none yet, or as many CRLF lines as LF ones).
    QString text() const;
    // The file as save() writes it (CP932).
    QByteArray bytes() const;
    // Writes the file (CP932) through a temporary file and a rename.
    void save() const;

private:
    enum class LineEnd : quint8 { None, Lf, CrLf };
    struct Line {
        QString text;
        LineEnd end = LineEnd::None;  // None only for a last line without one
    };
    void parse(const QByteArray& bytes);
    // The "[...]" lines of every copy of section, in file order.
    const std::vector<int>& sectionCopies(const QString& section) const;
    int sectionEnd(int sectionLine) const;          // index after the last line of it
    int findKey(int sectionLine, int end, const QString& key) const;
    void insertLine(int at, const QString& text);
    LineEnd lineEndAt(int i) const;

    QString path_;
    bool existed_ = false;
    bool replaceable_ = true;  // false: a folder stands where the file would be
    std::vector<Line> lines_;
    LineEnd usualEnd_ = LineEnd::CrLf;
    // "[...]" line indices by case-folded section name, ascending; built once
    // and kept up to date through inserted lines, so reading N sections costs
    // O(N), not O(N^2).
    mutable QHash<QString, std::vector<int>> sectionLines_;
    mutable bool indexed_ = false;
};

// The bytes IniFile(path) reads, with its errors: none for a missing file or
// a folder in its place.
QByteArray readIniFileBytes(const QString& path);

// Parses an ini integer as described above; false when text is not one,
// including values outside the range of int (no wrap-around).
bool parseIniInteger(const QString& text, int* value);
bool parseIniInteger(QLatin1StringView text, int* value);
