// SPDX-License-Identifier: GPL-3.0-or-later
// The edit on the bytes gives what IniFile gives, byte for byte, or declines.
#include "files/ini_append.h"
#include "files/ini_file.h"

#include <gtest/gtest.h>

namespace {

using Entries = std::vector<std::pair<QString, QString>>;

// What IniFile saves after the same writes.
QByteArray throughIniFile(const QByteArray& bytes, const QString& section, const QString& key, const QString& value,
                          const QString& newSection, const Entries& entries) {
    IniFile ini(QStringLiteral("/nowhere/FaceData.ini"), bytes);
    ini.writeString(section, key, value);
    for (const auto& [k, v] : entries) ini.writeString(newSection, k, v);
    return ini.bytes();
}

}  // namespace

TEST(IniAppend, ReadsAndWritesAsIniFileDoes) {
    const Entries entries = {{"X1", "70"}, {"X2", "-5"}, {"Y1", "0x10"}};
    // Each file tries a rule of the reading: a key before any section, a
    // commented count, the key only in the second copy of its section, blanks
    // around names, a lone "\r" inside a line, LF and CRLF mixed (the most
    // common end wins, CRLF on a tie), and a last line without its end.
    const QByteArray files[] = {
        "[Faces]\r\nCount=5\r\n[0]\r\nX1=1\r\n",
        "count=1\n[faces]\n;count=2\n[0]\nX1=1\n[ FACES ]\n  cOUNT =  3  \n",
        "[faces]\r\ncount=4\n[faces]\ncount=5\r\n\r\n[1]\r\nX1=1",
        "[Faces]\rx\r\ncount\t=\t6\r\r\n",
        "",
    };
    for (const QByteArray& file : files) {
        SCOPED_TRACE(file.toStdString());
        std::optional<IniAppend> quick = IniAppend::of(file);
        ASSERT_TRUE(quick.has_value());
        const IniFile slow(QStringLiteral("/nowhere/FaceData.ini"), file);
        const std::optional<QString> count = quick->readString("FACES", "Count");
        EXPECT_EQ(count.value_or("missing"), slow.readString("FACES", "Count", "missing"));
        if (!count) {
            EXPECT_FALSE(quick->replaceString("Faces", "Count", "7"));
            EXPECT_EQ(quick->bytes(), file) << "nothing changed";
            continue;
        }
        ASSERT_TRUE(quick->replaceString("Faces", "Count", "7"));
        ASSERT_TRUE(quick->appendSection("12", entries));
        EXPECT_EQ(quick->bytes(), throughIniFile(file, "Faces", "Count", "7", "12", entries));
        EXPECT_EQ(quick->readString("12", "y1"), QString("0x10")) << "the new section is found again";
    }
}

TEST(IniAppend, DeclinesWhatItCannotDoExactly) {
    const QByteArray file = "[Faces]\r\nCount=5\r\n[ 7 ]\r\nX1=1\r\n";
    IniAppend quick = *IniAppend::of(file);
    EXPECT_FALSE(quick.appendSection("7", {{"X1", "2"}})) << "the section is there";
    EXPECT_FALSE(quick.appendSection("8", {{"X1", "2"}, {"x1", "3"}})) << "a key twice";
    EXPECT_FALSE(quick.appendSection("8", {{"X1", "2\r\nX2=3"}})) << "a line break";
    EXPECT_FALSE(quick.appendSection("8", {{"X1", "\u9854"}})) << "not ASCII";
    EXPECT_FALSE(quick.replaceString("Faces", "Total", "1")) << "no such key";
    EXPECT_FALSE(quick.replaceString("Faces", "Count", "a]b\n")) << "a line break";
    EXPECT_EQ(quick.bytes(), file);
    EXPECT_FALSE(IniAppend::of("[Faces]\r\n; \x8a\xe7\r\nCount=5\r\n")) << "Shift-JIS text is IniFile's";
}
