// SPDX-License-Identifier: GPL-3.0-or-later
// The private-profile file: names without regard to case, integer parsing,
// in-place writes, CP932 on disk, and hostile content that must not hurt.
#include "file_size_limit.h"
#include "files/app_error.h"
#include "files/ini_file.h"
#include "support/app_error_of.h"
#include "support/file_faults.h"
#include "support/temp_app_dir.h"

#include <QFileInfo>
#include <climits>
#include <functional>
#include <gtest/gtest.h>
#include <random>

namespace {

QString saveError(const IniFile& ini) {
    return appErrorOf([&] { ini.save(); });
}

}  // namespace

TEST(IniFile, MissingFileIsCreatedAndCountWrittenAsFacesCountReadsAsFacesCount) {
    TempAppDir dir;
    const QString path = dir.file("data/FaceData.ini");
    IniFile ini(path);
    EXPECT_FALSE(ini.exists());
    EXPECT_EQ(ini.readInteger("faces", "count", 3), 3);
    ini.writeInteger("Faces", "Count", 4);
    ini.writeInteger("0", "X1", 12);
    ini.writeInteger("0", "Y1", -7);
    ini.save();
    EXPECT_EQ(dir.readBytes("data/FaceData.ini"), QByteArray("[Faces]\r\nCount=4\r\n[0]\r\nX1=12\r\nY1=-7\r\n"));

    const IniFile reread(path);
    EXPECT_TRUE(reread.exists());
    EXPECT_EQ(reread.readInteger("faces", "count", 3), 4);
    EXPECT_EQ(reread.readInteger("0", "x1", 0), 12);
    EXPECT_EQ(reread.readInteger("0", "y1", 0), -7);
    EXPECT_EQ(reread.readInteger("1", "X1", 99), 99);
}

TEST(IniFile, IntegersAreDecimalOrHexAndAnythingElseGivesTheDefault) {
    TempAppDir dir;
    dir.writeBytes("a.ini",
                   "[0]\n"
                   "X1=0x1A\nX2=abc\nX3=\nX4=$ff\nY1=-0X10\nY2=+12\nY3=   42   \nY4=x7f\n"
                   "big=2147483648\nsmallest=-2147483648\nlargest=2147483647\n"
                   "hexwrap=0xFFFFFFFF\nhuge=99999999999999999999999\nhexhuge=0x10000000000000000\n"
                   "trailing=12abc\nsignonly=-\nprefixonly=0x\nspaced=1 2\nfullwidth=１２\n");
    const IniFile ini(dir.file("a.ini"));
    EXPECT_EQ(ini.readInteger("0", "X1", 0), 26);
    EXPECT_EQ(ini.readInteger("0", "X2", 0), 0);
    EXPECT_EQ(ini.readInteger("0", "X2", -5), -5);
    EXPECT_EQ(ini.readInteger("0", "X3", 8), 8);
    EXPECT_EQ(ini.readInteger("0", "X4", 0), 255);
    EXPECT_EQ(ini.readInteger("0", "Y1", 0), -16);
    EXPECT_EQ(ini.readInteger("0", "Y2", 0), 12);
    EXPECT_EQ(ini.readInteger("0", "Y3", 0), 42);
    EXPECT_EQ(ini.readInteger("0", "Y4", 0), 127);
    EXPECT_EQ(ini.readInteger("0", "smallest", 0), INT_MIN);
    EXPECT_EQ(ini.readInteger("0", "largest", 0), INT_MAX);
    // Out of range of int is not an integer: no wrap-around to another value.
    for (const char* key : {"big", "hexwrap", "huge", "hexhuge", "trailing", "signonly",
                            "prefixonly", "spaced", "fullwidth"})
        EXPECT_EQ(ini.readInteger("0", key, 31), 31) << key;
}

TEST(IniFile, WritingKeepsTheKeysSpellingAndAppendsAtTheEndOfItsSection) {
    TempAppDir dir;
    dir.writeBytes("a.ini", "; catalogue\r\n[faces]\r\nCOUNT = 3\r\n\r\n; positions\r\n[0]\r\nx1=1\r\n");
    IniFile ini(dir.file("a.ini"));
    ini.writeInteger("Faces", "count", 4);
    ini.writeInteger("FACES", "extra", 1);
    ini.writeInteger("0", "Y1", 7);
    ini.writeInteger("0", "X1", 2);
    ini.writeString("BGM", "MusicFile", "");
    EXPECT_EQ(ini.text(),
              "; catalogue\r\n[faces]\r\nCOUNT=4\r\nextra=1\r\n\r\n; positions\r\n"
              "[0]\r\nx1=2\r\nY1=7\r\n[BGM]\r\nMusicFile=\r\n");
    EXPECT_EQ(ini.readString("bgm", "musicfile", "unset"), "");
}

TEST(IniFile, ErasingASectionRemovesItsLineAndEntriesAndEveryCopyOfIt) {
    TempAppDir dir;
    dir.writeBytes("a.ini", "[faces]\ncount=3\n[2]\nX1=5\nY1=6\n[3]\nX1=7\n[2]\nX2=9\n");
    IniFile ini(dir.file("a.ini"));
    // A repeated section reads as one.
    EXPECT_EQ(ini.readInteger("2", "X2", 0), 9);
    ini.eraseSection("2");
    EXPECT_EQ(ini.text(), "[faces]\ncount=3\n[3]\nX1=7\n");
    EXPECT_EQ(ini.readInteger("2", "X1", -1), -1);
    EXPECT_EQ(ini.readInteger("2", "X2", -1), -1);
    ini.eraseSection("missing");
    EXPECT_EQ(ini.text(), "[faces]\ncount=3\n[3]\nX1=7\n");
}

TEST(IniFile, JapaneseTextIsCp932OnDiskAndStrayBytesSurviveARewrite) {
    TempAppDir dir;
    // "表" and "ソ" end in 0x5C, the byte of a backslash; line 2 holds bytes
    // that are not CP932 at all and must come back unchanged.
    const QByteArray original = "[BGM]\r\nMusicFile=C:\\\x95\x5c\x83\x5c.mid\r\n"
                                "junk=\x81\x0d\xff\xfe\x80 end\r\n";
    dir.writeBytes("BGM.ini", original);
    IniFile ini(dir.file("BGM.ini"));
    EXPECT_EQ(ini.readString("bgm", "musicfile", ""), QStringLiteral("C:\\表ソ.mid"));
    ini.writeString("BGM", "Title", QStringLiteral("ポムリナ"));
    ini.save();
    EXPECT_EQ(dir.readBytes("BGM.ini"),
              original + "Title=\x83\x7c\x83\x80\x83\x8a\x83\x69\r\n");
    EXPECT_EQ(IniFile(dir.file("BGM.ini")).readString("BGM", "Title", ""), QStringLiteral("ポムリナ"));
}

TEST(IniFile, TextTheFileCannotHoldIsRefusedWithoutChangingIt) {
    TempAppDir dir;
    IniFile ini(dir.file("a.ini"));
    ini.writeInteger("faces", "count", 3);
    const QString before = ini.text();
    // A line break would plant new sections or keys; "😀" has no CP932 bytes.
    const QStringList bad[] = {{"faces", "count", "3\r\n[faces]\r\ncount=99"}, {"faces", "a=b", "1"},
                               {"fa]ces", "k", "1"}, {"faces", "", "1"},
                               {"faces", "k", QStringLiteral("music😀.mid")}};
    for (const QStringList& entry : bad) {
        try {
            ini.writeString(entry[0], entry[1], entry[2]);
            ADD_FAILURE() << entry.join('|').toStdString() << " was accepted";
        } catch (const AppError& e) {
            EXPECT_EQ(e.message(), iniWriteErrorText(dir.file("a.ini")));
        }
    }
    EXPECT_EQ(ini.text(), before);
}

TEST(IniFile, GarbageLinesWithoutEqualsAndKeysBeforeAnySectionReadAsDefaults) {
    TempAppDir dir;
    dir.writeBytes("a.ini", "count=9\n[faces\ncount\n=4\n;count=5\n[faces]\ncount\n[0]\nX1=" +
                                QByteArray(5000, '7') + "\n");
    const IniFile ini(dir.file("a.ini"));
    EXPECT_EQ(ini.readInteger("faces", "count", 3), 3);
    EXPECT_EQ(ini.readString("0", "X1", "").size(), 2047);
    EXPECT_EQ(ini.readInteger("0", "X1", -1), -1);

    // Random binary content: reads give defaults and writing still works.
    std::mt19937 bytesSource(20240601);
    QByteArray noise(256 * 1024, '\0');
    for (char& b : noise) b = char(bytesSource() & 0xff);
    noise.replace('[', '(');
    dir.writeBytes("noise.ini", noise);
    IniFile garbage(dir.file("noise.ini"));
    EXPECT_EQ(garbage.readInteger("faces", "count", 3), 3);
    garbage.writeInteger("faces", "count", 5);
    garbage.save();
    EXPECT_EQ(IniFile(dir.file("noise.ini")).readInteger("faces", "count", 3), 5);
    EXPECT_TRUE(dir.readBytes("noise.ini").startsWith(noise.left(noise.indexOf('\n'))));
}

// A file that cannot be read completely is never taken in part: opening it
// raises the open error, so a "read, change, save" (as registering a face
// does with FaceData.ini) stops before anything is written back.
TEST(IniFile, AFileThatCannotBeReadCompletelyStopsTheChangeAndStaysAsItWas) {
    TempAppDir dir;
    QByteArray original = "[faces]\r\ncount=12\r\n";
    for (int face = 0; face < 12; ++face)
        original += "[" + QByteArray::number(face) + "]\r\nX1=" + QByteArray::number(100 + face) + "\r\nY1=77\r\n";
    ASSERT_GT(original.size(), 200);
    dir.writeBytes("data/FaceData.ini", original);
    const QString path = dir.file("data/FaceData.ini");
    const auto registerFace = [&] {
        IniFile ini(path);
        ini.writeInteger("Faces", "Count", ini.readInteger("faces", "count", 3) + 1);
        ini.writeInteger("12", "X1", 5);
        ini.save();
    };

    const struct {
        const char* what;
        FileFaultHook hook;
    } faults[] = {
        {"EIO after 200 bytes", FileFaults::readCutShort("FaceData.ini", 200, EIO)},
        {"end of file after 200 bytes", FileFaults::readCutShort("FaceData.ini", 200, 0)},
        {"EIO on the first read", FileFaults::readCutShort("FaceData.ini", 0, EIO)},
        {"EIO on open", FileFaults::failing(FileCall::Open, "FaceData.ini", EIO)},
        {"EACCES on the existence test", FileFaults::failing(FileCall::Probe, "FaceData.ini", EACCES)},
        {"ENOMEM on the existence test", FileFaults::failing(FileCall::Probe, "FaceData.ini", ENOMEM)},
    };
    for (const auto& fault : faults) {
        SCOPED_TRACE(fault.what);
        {
            FileFaults injected(fault.hook);
            EXPECT_EQ(appErrorOf(registerFace), fileOpenErrorText(path));
        }
        EXPECT_EQ(dir.readBytes("data/FaceData.ini"), original);
    }

    // Only "no such file" means absent.
    {
        FileFaults injected(FileFaults::failing(FileCall::Probe, "FaceData.ini", ENOENT));
        EXPECT_FALSE(IniFile(path).exists());
    }
    // Without faults the same change goes through: the faults were the cause.
    registerFace();
    EXPECT_EQ(IniFile(path).readInteger("faces", "count", 3), 13);

    // A file larger than any settings file is refused the same way.
    QByteArray huge = "[faces]\r\ncount=7\r\n";
    huge += QByteArray(kMaxIniFileBytes, 'x');
    dir.writeBytes("big.ini", huge);
    EXPECT_EQ(appErrorOf([&] { IniFile ini(dir.file("big.ini")); }), fileOpenErrorText(dir.file("big.ini")));
    EXPECT_EQ(QFileInfo(dir.file("big.ini")).size(), huge.size());
}

// Lines keep the end they were read with; new lines take the file's usual
// one, CRLF for a new file or a tie.
TEST(IniFile, WritingKeepsTheLineEndsOfTheFile) {
    TempAppDir dir;
    const auto rewritten = [&](const QByteArray& before, const std::function<void(IniFile&)>& change) {
        dir.writeBytes("a.ini", before);
        IniFile ini(dir.file("a.ini"));
        change(ini);
        ini.save();
        return dir.readBytes("a.ini");
    };
    const auto registerAndDelete = [](IniFile& ini) {
        ini.writeInteger("faces", "count", 2);  // in place
        ini.writeInteger("1", "X2", 9);         // appended inside a section
        ini.eraseSection("0");
        ini.writeInteger("2", "X1", 4);         // a new section at the end
    };

    EXPECT_EQ(rewritten("[faces]\ncount=3\n[0]\nX1=1\n[1]\nX1=2\n", registerAndDelete),
              "[faces]\ncount=2\n[1]\nX1=2\nX2=9\n[2]\nX1=4\n");
    EXPECT_EQ(rewritten("[faces]\r\ncount=3\r\n[0]\r\nX1=1\r\n[1]\r\nX1=2\r\n", registerAndDelete),
              "[faces]\r\ncount=2\r\n[1]\r\nX1=2\r\nX2=9\r\n[2]\r\nX1=4\r\n");
    // Mixed: untouched lines keep theirs, new ones take the more common end;
    // a last line without an end gets one only when lines follow it.
    EXPECT_EQ(rewritten("[faces]\r\ncount=3\n[1]\nX1=2", registerAndDelete),
              "[faces]\r\ncount=2\n[1]\nX1=2\nX2=9\n[2]\nX1=4\n");
    EXPECT_EQ(rewritten("[faces]\r\ncount=3\n; note", [](IniFile& ini) { ini.writeInteger("faces", "count", 1); }),
              "[faces]\r\ncount=1\n; note");
    EXPECT_EQ(rewritten("[a]\nk=1\r\n", [](IniFile& ini) { ini.writeInteger("b", "k", 2); }),
              "[a]\nk=1\r\n[b]\r\nk=2\r\n");
    // Saving without a change writes the file back byte for byte.
    const QByteArray odd = "\r\n[x]\r\r\n k = v \n\n;c\r\nz";
    EXPECT_EQ(rewritten(odd, [](IniFile&) {}), odd);
}

TEST(IniFile, AFailedSaveLeavesTheOldFileAndReportsTheIniText) {
    TempAppDir dir;
    const QByteArray old = "[faces]\r\ncount=3\r\n";
    dir.writeBytes("data/FaceData.ini", old);
    IniFile ini(dir.file("data/FaceData.ini"));
    ini.writeString("faces", "padding", QString(4096, QLatin1Char('p')));
    {
        FileSizeLimit limit(1024);
        EXPECT_EQ(saveError(ini), iniWriteErrorText(dir.file("data/FaceData.ini")));
    }
    EXPECT_EQ(dir.readBytes("data/FaceData.ini"), old);

    IniFile nowhere(dir.path() + "no such folder/FaceData.ini");
    nowhere.writeInteger("faces", "count", 3);
    EXPECT_EQ(saveError(nowhere), iniWriteErrorText(dir.path() + "no such folder/FaceData.ini"));
}

// Several keys read in one pass give what reading them one by one gives:
// copies of a section read as one, the first entry of a key winning, names
// without regard to case or blanks, long values cut, bad integers defaulted.
TEST(IniFile, ReadingSeveralKeysAtOnceMatchesReadingThemOneByOne) {
    TempAppDir dir;
    const QByteArray longValue(3000, '7');
    dir.writeBytes("a.ini", "[0]\r\nX1=5\r\n x2 = 0x10 \r\n;X3=1\r\nX1=6\r\n[1]\r\nX2=oops\r\n[ 0 ]\r\nX3=-4\r\nX2=99\r\n"
                            "[1]\r\nX2=8\r\nY1=" + longValue + "\r\n[2]\r\n");
    const IniFile ini(dir.file("a.ini"));
    const QStringList keys = {"X1", "X2", "X3", "Y1", "Y9"};
    for (const QString section : {"0", "1", "2", "3"}) {
        SCOPED_TRACE(section.toStdString());
        const QStringList strings = ini.readStrings(section, keys, "none");
        const std::vector<int> integers = ini.readIntegers(section, keys, -1);
        for (qsizetype k = 0; k < keys.size(); ++k) {
            EXPECT_EQ(strings[k], ini.readString(section, keys[k], "none")) << keys[k].toStdString();
            EXPECT_EQ(integers[size_t(k)], ini.readInteger(section, keys[k], -1)) << keys[k].toStdString();
        }
    }
    EXPECT_EQ(ini.readIntegers("0", keys, -1), (std::vector<int>{5, 16, -4, -1, -1}));
    EXPECT_EQ(ini.readStrings("1", {"x2"}, {}), QStringList{"oops"}) << "the first copy's entry counts";
    EXPECT_EQ(ini.readStrings("1", {"Y1"}, {})[0].size(), 2047);
}

// Many keys at once are looked up by name: the same answers as one by one,
// letter case, repeated keys and copies of the section included; and the
// sections are named once each, in file order.
TEST(IniFile, ManyKeysAtOnceMatchReadingThemOneByOneAndSectionsAreNamedOnce) {
    TempAppDir dir;
    dir.writeBytes("a.ini", "[P]\r\nName1=a\r\nname1=b\r\nSCORE1_1=7\r\n[q]\r\nx=1\r\n[p]\r\nName2=c\r\nName1=d\r\n");
    const IniFile ini(dir.file("a.ini"));
    QStringList keys;
    for (int i = 1; i <= 8; ++i) keys << QStringLiteral("Name%1").arg(i) << QStringLiteral("Score1_%1").arg(i);
    keys << "name1" << "X";
    ASSERT_GT(keys.size(), 12);
    const QStringList strings = ini.readStrings("P", keys, "none");
    for (qsizetype k = 0; k < keys.size(); ++k)
        EXPECT_EQ(strings[k], ini.readString("P", keys[k], "none")) << keys[k].toStdString();
    EXPECT_EQ(strings.mid(0, 4), (QStringList{"a", "7", "c", "none"}));
    EXPECT_EQ(strings[16], "a");
    EXPECT_EQ(ini.sectionNames(), (QStringList{"P", "q"}));
}
