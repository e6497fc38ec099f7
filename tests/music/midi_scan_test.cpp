// SPDX-License-Identifier: GPL-3.0-or-later
#include "music/midi_scan.h"
#include "support/temp_app_dir.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// The order the file system itself lists a folder in.
QStringList listingOrder(const QString& folder) {
    QStringList names;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    while (it.hasNext()) names << it.next().section(QLatin1Char('/'), -1);
    return names;
}

}  // namespace

// Only a lower-case ".mid" after the last dot counts; hidden files count; a
// folder's own name does not, but its contents are scanned.
TEST(MidiScan, OnlyLowerCaseMidExtensionIsTakenHiddenFilesToo) {
    TempAppDir app;
    for (const char* name : {"a.mid", ".hidden.mid", ".mid", "b.MID", "c.Mid", "d.mid.bak", "e.midi", "mid",
                             "f.txt.mid", "folder.mid/inner.mid"})
        app.writeBytes(QStringLiteral("m/") + name, "x");
    QStringList found;
    scanMidiFolder(app.path() + "m", found);
    found.sort();
    const QString m = app.path() + "m/";
    EXPECT_EQ(found, (QStringList{m + ".hidden.mid", m + ".mid", m + "a.mid", m + "f.txt.mid",
                                  m + "folder.mid/inner.mid"}));
}

// Depth first in listing order: a subfolder's files come in at the place
// where the subfolder is listed, its own subfolders likewise.
TEST(MidiScan, SubfoldersAreScannedWhereTheyAreMet) {
    TempAppDir app;
    for (const char* name : {"1.mid", "2.mid", "s/3.mid", "s/t/4.mid", "s/5.mid", "6.mid", "u/7.mid", "8.mid"})
        app.writeBytes(QStringLiteral("m/") + name, "x");
    std::function<QStringList(const QString&)> expected = [&](const QString& folder) {
        QStringList paths;
        for (const QString& name : listingOrder(folder)) {
            const QString path = folder + "/" + name;
            paths += QFileInfo(path).isDir() ? expected(path) : QStringList{path};
        }
        return paths;
    };
    QStringList found;
    int pumps = 0;
    scanMidiFolder(app.path() + "m/", found, [&] { ++pumps; });
    EXPECT_EQ(found, expected(app.path() + "m"));
    EXPECT_EQ(found.size(), 8);
    EXPECT_EQ(pumps, 4) << "once per folder: m, s, s/t, u";

    scanMidiFolder(app.path() + "m", found);
    EXPECT_EQ(found.size(), 16) << "appends; no duplicates are removed";
}

// Links to folders are not followed, so a loop ends; links to files count.
// A missing folder finds nothing.
TEST(MidiScan, FolderLinksAreNotFollowedSoLoopsEnd) {
    TempAppDir app;
    app.writeBytes("m/sub/a.mid", "x");
    app.writeBytes("elsewhere/b.mid", "x");
    ASSERT_TRUE(QFile::link(app.path() + "m", app.path() + "m/sub/loop"));
    ASSERT_TRUE(QFile::link(app.path() + "elsewhere", app.path() + "m/linked"));
    ASSERT_TRUE(QFile::link(app.path() + "elsewhere/b.mid", app.path() + "m/link.mid"));
    QStringList found;
    scanMidiFolder(app.path() + "m", found);
    found.sort();
    EXPECT_EQ(found, (QStringList{app.path() + "m/link.mid", app.path() + "m/sub/a.mid"}));

    QStringList none;
    scanMidiFolder(app.path() + "nowhere", none);
    scanMidiFolder(QString(), none);
    EXPECT_TRUE(none.isEmpty());
}

// A folder that cannot be read is passed over; the rest is still found.
TEST(MidiScan, UnreadableSubfolderIsSkipped) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the super-user";
    TempAppDir app;
    app.writeBytes("m/locked/a.mid", "x");
    app.writeBytes("m/b.mid", "x");
    QFile::setPermissions(app.path() + "m/locked", QFileDevice::Permissions());
    QStringList found;
    scanMidiFolder(app.path() + "m", found);
    QFile::setPermissions(app.path() + "m/locked", QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(found, QStringList{app.path() + "m/b.mid"});
}
