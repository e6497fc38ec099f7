// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/app_error.h"
#include "music/bgm_settings.h"
#include "support/app_error_of.h"
#include "support/file_faults.h"
#include "support/temp_app_dir.h"

#include <QFileInfo>
#include <gtest/gtest.h>

// The file is written as a Windows private-profile file: keys in this order,
// CRLF lines, a Japanese path as plain Shift-JIS bytes.
TEST(BgmSettings, JapanesePathsAreWrittenAsPlainShiftJisInKeyOrder) {
    TempAppDir app;
    writeBgmSettings(app.path(), true, QStringLiteral("/home/a/音楽/曲.mid"), QStringLiteral("/home/a/音楽"));
    const QByteArray expected =
        "[BGM]\r\nMusic=1\r\nMusicName=/home/a/\x89\xb9\x8a\x79/\x8b\xc8.mid\r\nMusicFolda=/home/a/\x89\xb9\x8a\x79\r\n";
    EXPECT_EQ(app.readBytes("data/BGM.ini"), expected);

    const BgmSettings read = readBgmSettings(app.path());
    EXPECT_TRUE(read.musicOn);
    EXPECT_EQ(read.musicName, QStringLiteral("/home/a/音楽/曲.mid"));
    EXPECT_EQ(read.musicFolder, QStringLiteral("/home/a/音楽"));

    // Written again: values change in place, the folder written empty.
    writeBgmSettings(app.path(), false, QStringLiteral("/m/b.mid"), QString());
    EXPECT_EQ(app.readBytes("data/BGM.ini"), QByteArray("[BGM]\r\nMusic=0\r\nMusicName=/m/b.mid\r\nMusicFolda=\r\n"));
}

// Paths that Shift-JIS cannot hold, or that a read would change, come back
// exactly as written; the escape marker itself cannot be mistaken.
TEST(BgmSettings, PathsShiftJisCannotHoldRoundTripExactly) {
    const QStringList paths = {
        QStringLiteral("/home/a/🎵/노래.mid"),
        QStringLiteral("/home/a/two\nlines.mid"),
        QStringLiteral("  /home/a/blank ends.mid "),
        QStringLiteral("utf-8:/looks/escaped.mid"),
        QStringLiteral("/home/a/100%25 sure.mid"),
    };
    for (const QString& path : paths) {
        TempAppDir app;
        writeBgmSettings(app.path(), true, path, path);
        const BgmSettings read = readBgmSettings(app.path());
        EXPECT_EQ(read.musicName, path);
        EXPECT_EQ(read.musicFolder, path);
        const QByteArray disk = app.readBytes("data/BGM.ini");
        EXPECT_EQ(disk.count('\n'), 4) << "one line per key: " << disk.constData();
    }
    // A hand-written value with the marker but no valid escape stays as it is.
    EXPECT_EQ(decodeSettingsPath(QStringLiteral("utf-8:%FF%FE")), QStringLiteral("utf-8:%FF%FE"));
    EXPECT_EQ(encodeSettingsPath(QStringLiteral("/plain/パス.mid")), QStringLiteral("/plain/パス.mid"));
}

// Reading follows the private-profile rules: names in any letter case, a
// missing or malformed value gives the default, "Music" is any non-zero number.
TEST(BgmSettings, ReadingToleratesCaseAndMissingOrMalformedValues) {
    TempAppDir app;
    EXPECT_FALSE(bgmSettingsExist(app.path()));
    const BgmSettings none = readBgmSettings(app.path());
    EXPECT_FALSE(none.musicOn);
    EXPECT_TRUE(none.musicName.isEmpty());
    EXPECT_TRUE(none.musicFolder.isEmpty());

    app.writeBytes("Data/bgm.INI", "[bgm]\r\nmusic=2\r\nmusicname= /x/y.mid \r\n");
    EXPECT_TRUE(bgmSettingsExist(app.path()));
    BgmSettings read = readBgmSettings(app.path());
    EXPECT_TRUE(read.musicOn);
    EXPECT_EQ(read.musicName, QStringLiteral("/x/y.mid"));
    EXPECT_TRUE(read.musicFolder.isEmpty());

    app.writeBytes("Data/bgm.INI", "[BGM]\r\nMusic=on\r\n");
    EXPECT_FALSE(readBgmSettings(app.path()).musicOn);
}

// A settings file that cannot be replaced gives the program's own message
// and leaves what was there.
TEST(BgmSettings, UnwritableFileRaisesTheWriteError) {
    TempAppDir app;
    app.file("data/BGM.ini/blocker");  // a folder where the file should be
    try {
        writeBgmSettings(app.path(), true, QStringLiteral("/a.mid"), QString());
        FAIL() << "no error raised";
    } catch (const AppError& error) {
        EXPECT_EQ(error.message(), iniWriteErrorText(bgmSettingsPath(app.path())));
    }
    EXPECT_TRUE(QFileInfo(app.path() + "data/BGM.ini").isDir());
}

// Without a data folder the file is still written, not lost.
TEST(BgmSettings, MissingDataFolderIsCreated) {
    TempAppDir app;
    writeBgmSettings(app.path(), false, QStringLiteral("/a.mid"), QString());
    EXPECT_EQ(readBgmSettings(app.path()).musicName, QStringLiteral("/a.mid"));
}

// Data\BGM.ini is one file whatever else lies beside it: the folder "Data"
// is the catalogue's folder "data", and the exact spelling BGM.ini wins over
// bgm.ini. A file that cannot be read (EIO, a read cut short, an existence
// test that fails) is reported and never rewritten from a partial read.
TEST(BgmSettings, OneFileWhateverTheSpellingNeverRewrittenWhenUnreadable) {
    TempAppDir app;
    const QByteArray real = "[BGM]\nMusic=1\nMusicName=/music/real.mid\nMusicFolda=\n; kept as it is\n";
    const QByteArray decoy = "[BGM]\r\nMusic=0\r\nMusicName=/music/decoy.mid\r\n";
    app.writeBytes("data/BGM.ini", real);
    app.writeBytes("data/bgm.ini", decoy);
    app.writeBytes("Data/BGM.ini", decoy);
    const QString path = app.path() + "data/BGM.ini";
    EXPECT_EQ(bgmSettingsPath(app.path()), path);

    for (const FileFaultHook& fault : {FileFaults::readCutShort("BGM.ini", 20, EIO), FileFaults::readCutShort("BGM.ini", 20, 0),
                                       FileFaults::failing(FileCall::Open, "BGM.ini", EIO)}) {
        FileFaults injected(fault);
        EXPECT_EQ(appErrorOf([&] { readBgmSettings(app.path()); }), fileOpenErrorText(path));
        EXPECT_EQ(appErrorOf([&] { writeBgmSettings(app.path(), false, "/music/new.mid", QString()); }),
                  fileOpenErrorText(path));
    }
    {
        FileFaults injected(FileFaults::failing(FileCall::Probe, "data/BGM.ini", EACCES));
        EXPECT_EQ(appErrorOf([&] { bgmSettingsExist(app.path()); }), fileOpenErrorText(path));
        EXPECT_EQ(appErrorOf([&] { writeBgmSettings(app.path(), false, "/music/new.mid", QString()); }),
                  fileOpenErrorText(path));
    }
    EXPECT_EQ(app.readBytes("data/BGM.ini"), real);

    EXPECT_TRUE(bgmSettingsExist(app.path()));
    EXPECT_EQ(readBgmSettings(app.path()).musicName, QStringLiteral("/music/real.mid"));
    writeBgmSettings(app.path(), false, QStringLiteral("/music/new.mid"), QString());
    // Changed in place, LF line ends and the comment kept.
    EXPECT_EQ(app.readBytes("data/BGM.ini"), QByteArray("[BGM]\nMusic=0\nMusicName=/music/new.mid\nMusicFolda=\n; kept as it is\n"));
    EXPECT_EQ(app.readBytes("data/bgm.ini"), decoy);
    EXPECT_EQ(app.readBytes("Data/BGM.ini"), decoy);
}
