// SPDX-License-Identifier: GPL-3.0-or-later
// Choosing and filling the game's folder at start-up, on a fake install in a
// temporary folder: <root>/usr/games/pomurina with its read-only copy in
// <root>/usr/share/pomurina/, and a player's data folder under <root>/home/.
#include "desktop/user_dialogs.h"
#include "fake_install.h"
#include "files/app_error.h"
#include "files/app_home.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QSet>
#include <gtest/gtest.h>

namespace {

using Tree = QMap<QString, QByteArray>;

// Every file under folder (hidden ones too) with its bytes, by relative path.
Tree treeOf(const QString& folder) {
    Tree tree;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        tree.insert(QDir(folder).relativeFilePath(path), f.readAll());
    }
    return tree;
}

QStringList entriesOf(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

class RecordingDialogs : public UserDialogs {
public:
    QStringList errors;
    bool confirm(const QString&) override { return false; }
    void notice(const QString&) override {}
    void showError(const QString& text) override { errors << text; }
    QString openFile(const QString&, const QString&) override { return {}; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
};

}  // namespace

// Portable only where the player may write beside the executable; POMURINA_HOME
// wins over both; a read-only game folder is itself the copy to start from.
TEST(AppHome, TheExecutablesFolderOnlyWhenItHoldsAWritableDataFolder) {
    FakeInstall install;
    // A game folder spelling its catalogue folder "Data".
    install.root.writeBytes("game/Data/FaceData.ini", "[faces]\r\ncount=3\r\n");
    install.root.writeBytes("game/Data/face0_0.jpg", "own");
    const QString gameExe = install.root.file("game/pomurina");

    AppHome home = openAppHome(install.setting(gameExe));
    EXPECT_EQ(home.kind, AppHomeKind::Portable);
    EXPECT_EQ(home.appDir, install.root.path() + "game/");
    EXPECT_TRUE(home.error.isEmpty());
    EXPECT_TRUE(home.notice.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(install.player())) << "a portable game touches no other folder";

    AppHomeSetting chosen = install.setting(gameExe);
    chosen.homeOverride = install.root.file("mine");
    home = openAppHome(chosen);
    EXPECT_EQ(home.kind, AppHomeKind::Chosen);
    EXPECT_EQ(home.appDir, install.root.path() + "mine/");
    // Filled from the game folder it was started from.
    EXPECT_EQ(install.root.readBytes("mine/data/face0_0.jpg"), QByteArray("own"));

    // The same game folder, read-only for this player: their own folder,
    // filled from the game folder.
    install.readOnly.insert(QDir::cleanPath(install.root.file("game/Data")));
    home = openAppHome(install.setting(gameExe));
    EXPECT_EQ(home.kind, AppHomeKind::PlayerFolder);
    EXPECT_EQ(home.appDir, install.player());
    EXPECT_EQ(install.root.readBytes("home/.local/share/pomurina/data/face0_0.jpg"), QByteArray("own"));
    // ... and the player is told where the game plays now.
    EXPECT_EQ(home.notice, readOnlyGameFolderText(install.root.file("game"), QDir::cleanPath(install.player())));
    EXPECT_TRUE(home.notice.contains(QStringLiteral("/home/.local/share/pomurina"))) << home.notice.toStdString();

    // Installed under a prefix: bin/ holds no data folder.
    FakeInstall installed;
    home = openAppHome(installed.setting());
    EXPECT_EQ(home.kind, AppHomeKind::PlayerFolder);
    EXPECT_EQ(home.appDir, installed.player());
    EXPECT_TRUE(home.error.isEmpty());
    EXPECT_TRUE(home.notice.isEmpty()) << "an installed game plays in the player's folder as a matter of course";
}

// The first start copies the whole installed copy; later starts, also after an
// upgrade of the package, replace nothing and only bring back what is missing.
TEST(AppHome, FirstStartFillsThePlayersFolderAndLaterStartsReplaceNothing) {
    FakeInstall install;
    const AppHome first = openAppHome(install.setting());
    ASSERT_EQ(first.kind, AppHomeKind::PlayerFolder);
    EXPECT_TRUE(first.error.isEmpty()) << first.error.toStdString();
    EXPECT_EQ(treeOf(install.player()), treeOf(install.share()));
    EXPECT_EQ(entriesOf(install.player()), QStringList({"data", "logo.bmp", "title.bmp", "作品について.txt"}))
        << "nothing left aside";

    const Tree seeded = treeOf(install.player());
    EXPECT_EQ(openAppHome(install.setting()).appDir, install.player());
    EXPECT_EQ(treeOf(install.player()), seeded);
    EXPECT_EQ(entriesOf(install.player()).size(), 4);

    // The player plays and registers faces; the package is upgraded.
    install.root.writeBytes("home/.local/share/pomurina/data/FaceData.ini", "[faces]\r\ncount=4\r\n");
    install.root.writeBytes("home/.local/share/pomurina/data/BGM.ini", "[BGM]\r\nBGM=1\r\n");
    install.root.writeBytes("home/.local/share/pomurina/Library/花子.jpg", "saved");
    QFile::remove(install.root.file("home/.local/share/pomurina/title.bmp"));
    install.root.writeBytes("usr/share/pomurina/data/FaceData.ini", "[faces]\r\ncount=5\r\n");
    install.root.writeBytes("usr/share/pomurina/data/face4_0.jpg", "new sample");
    install.root.writeBytes("usr/share/pomurina/logo.bmp", "new logo");
    install.root.writeBytes("usr/share/pomurina/title.bmp", "new title");
    const Tree played = treeOf(install.player());

    const AppHome upgraded = openAppHome(install.setting());
    EXPECT_EQ(upgraded.kind, AppHomeKind::PlayerFolder);
    Tree expected = played;
    expected.insert("title.bmp", "new title");  // missing, so brought back
    EXPECT_EQ(treeOf(install.player()), expected);
}

// A copy cut short (a crash, a full disk) leaves the catalogue either absent
// or unfinished without a settings file; the next start finishes it. Pictures
// that are not the installed ones belong to the player and get nothing added.
TEST(AppHome, AnInterruptedFillIsFinishedButAPlayersOwnPicturesGetNothingAdded) {
    FakeInstall install;
    install.root.writeBytes("home/.local/share/pomurina/.pomurina-seeding-a1B2c3/face0_0.jpg", "jp");
    install.root.writeBytes("home/.local/share/pomurina/data/BGM.ini", "[BGM]\r\nBGM=0\r\n");
    for (int k = 0; k < 3; ++k)
        install.root.writeBytes(QStringLiteral("home/.local/share/pomurina/data/face0_%1.jpg").arg(k),
                                install.root.readBytes(QStringLiteral("usr/share/pomurina/data/face0_%1.jpg").arg(k)));
    const AppHome home = openAppHome(install.setting());
    EXPECT_EQ(home.kind, AppHomeKind::PlayerFolder);
    EXPECT_TRUE(home.error.isEmpty()) << home.error.toStdString();
    Tree expected = treeOf(install.share());
    expected.insert("data/BGM.ini", "[BGM]\r\nBGM=0\r\n");
    EXPECT_EQ(treeOf(install.player()), expected);

    AppHomeSetting own = install.setting();
    own.homeOverride = install.root.file("own");
    install.root.writeBytes("own/data/face0_0.jpg", "the player's own picture");
    install.root.writeBytes("own/data/face0_1.jpg", install.root.readBytes("usr/share/pomurina/data/face0_1.jpg"));
    const AppHome chosen = openAppHome(own);
    EXPECT_EQ(chosen.kind, AppHomeKind::Chosen);
    EXPECT_EQ(chosen.appDir, install.root.path() + "own/");
    EXPECT_EQ(entriesOf(install.root.file("own/data")), QStringList({"face0_0.jpg", "face0_1.jpg"}));
}

// A player's folder that cannot be made is reported in the program's own
// words, and the game reads the installed copy instead.
TEST(AppHome, AFolderThatCannotBeMadeIsReportedAndTheInstalledCopyIsRead) {
    FakeInstall install;
    install.root.writeBytes("blocker", "a file where a folder should be");
    AppHomeSetting blocked = install.setting();
    blocked.userDataFolder = install.root.file("blocker/pomurina");
    RecordingDialogs dialogs;
    EXPECT_EQ(startAppHome(blocked, dialogs), std::optional<QString>(install.share()));
    EXPECT_EQ(dialogs.errors, QStringList{fileCreateErrorText(install.root.file("blocker/pomurina"))});

    // The folder exists but its data folder cannot be made.
    install.root.writeBytes("home/.local/share/pomurina/data", "a file named data");
    const AppHome home = openAppHome(install.setting());
    EXPECT_EQ(home.kind, AppHomeKind::InstalledCopy);
    EXPECT_EQ(home.appDir, install.share());
    EXPECT_TRUE(home.error.startsWith(QStringLiteral("ファイル ")) && home.error.endsWith(QStringLiteral(" を作成できません")))
        << home.error.toStdString();
    EXPECT_EQ(install.root.readBytes("home/.local/share/pomurina/title.bmp"), QByteArray("title"));
}
