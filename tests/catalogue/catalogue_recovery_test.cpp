// SPDX-License-Identifier: GPL-3.0-or-later
// Recovery against journals the game cannot trust: damaged, hostile, linked
// elsewhere, oversized or out of step with the files. Such a journal moves
// and removes nothing; it is set aside (kept) with the change's hidden
// files, the player hears of it once, and the catalogue works again.
#include "catalogue/catalogue_files.h"
#include "catalogue/catalogue_journal.h"
#include "files/app_error.h"
#include "support/app_error_of.h"
#include "test_catalogue_files.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

const QString kJournal = QStringLiteral("data/.change-journal");

std::vector<FaceAnswer> answersWithout(int count, int d) {
    std::vector<FaceAnswer> answers;
    for (int n = 0; n < count; ++n)
        if (n != d) answers.push_back(testAnswer(n));
    return answers;
}

QStringList refusedFolders(const TempAppDir& app) {
    return QDir(app.path() + QStringLiteral("data"))
        .entryList({QStringLiteral("refused-change-*")}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
}

// The bytes of every file under data/, folders set aside included.
QList<QByteArray> everyFileUnderData(const TempAppDir& app) {
    QList<QByteArray> contents;
    QDirIterator it(app.path() + QStringLiteral("data"), QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QFile f(it.next());
        if (f.open(QIODevice::ReadOnly)) contents << f.readAll();
    }
    return contents;
}

// The top level of data/ without the journal.
std::map<QString, QByteArray> withoutJournal(std::map<QString, QByteArray> folder) {
    folder.erase(ChangeFiles::journal);
    return folder;
}

// Recovery refuses the journal in place: the program's open error naming it,
// once; the journal kept in a folder set aside with nothing else of data/
// changed; a second start is silent, and a deletion works again.
void expectSetAsideOnce(const TempAppDir& app, const QByteArray& journalBytes,
                        const std::map<QString, QByteArray>& before, int count) {
    EXPECT_EQ(appErrorOf([&] { recoverCatalogue(app.path()); }), fileOpenErrorText(app.path() + kJournal));
    EXPECT_FALSE(QFileInfo(app.path() + kJournal).exists() || QFileInfo(app.path() + kJournal).isSymLink());
    const QStringList aside = refusedFolders(app);
    ASSERT_EQ(aside.size(), 1);
    const QString keptJournal = app.path() + QStringLiteral("data/") + aside[0] + QStringLiteral("/change-journal");
    if (!QFileInfo(keptJournal).isSymLink()) {
        EXPECT_EQ(app.readBytes(QStringLiteral("data/") + aside[0] + "/change-journal"), journalBytes);
    }
    auto now = snapshotDataFolder(app);
    now.erase(aside[0]);
    EXPECT_TRUE(now == withoutJournal(before));

    EXPECT_EQ(appErrorOf([&] { recoverCatalogue(app.path()); }), QString());
    EXPECT_EQ(appErrorOf([&] { deleteFaceFiles(app.path(), 0, count, answersWithout(count, 0)); }), QString());
    EXPECT_EQ(readFaceCount(app.path()), count - 1);
    EXPECT_EQ(refusedFolders(app), aside);
}

QByteArray oldFormat(const QStringList& lines) { return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8(); }

}  // namespace

// Cut short, three lines, garbage, empty: each is refused without a crash,
// set aside once, and the catalogue can be changed again.
TEST(JournalRecovery, ADamagedJournalIsSetAsideOnceAndChangesWorkAgain) {
    const QByteArray whole = oldFormat({"pomurina-catalogue-change 1", "phase 2", "settings FaceData.ini",
                                        "out face1_0.jpg .change-parked-1_0", "end"});
    const QByteArray damaged[] = {
        "pomurina-catalogue-change 1\nphase 1\nend\n",  // the size check once let this through
        "pomurina-catalogue-change 1\nphase 1\n",
        whole.left(whole.size() / 2),
        whole.left(whole.size() - 1),
        "garbage",
        "",
        "\n\n\n\n",
    };
    for (const QByteArray& text : damaged) {
        SCOPED_TRACE(text.toStdString());
        TempAppDir app;
        writeTestCatalogue(app, 4);
        app.writeBytes(kJournal, text);
        expectSetAsideOnce(app, text, snapshotDataFolder(app), 4);
    }
}

// Journals in the old format that the previous version's parser accepted but
// whose steps the files do not bear out: a picture moved in from a hidden
// name that is not there, the same step twice. Recovery used to move the
// catalogue's pictures to hidden names and sweep them away.
TEST(JournalRecovery, AJournalWhoseStepsDoNotMatchTheFilesMovesAndRemovesNoPicture) {
    const QByteArray hostile[] = {
        oldFormat({"pomurina-catalogue-change 1", "phase 2", "settings FaceData.ini",
                   "in .change-shifted-1_0 face2_0.jpg", "end"}),
        oldFormat({"pomurina-catalogue-change 1", "phase 2", "settings FaceData.ini",
                   "out face2_0.jpg .change-shifted-1_0", "in .change-shifted-1_0 face1_0.jpg",
                   "in .change-shifted-1_0 face1_0.jpg", "end"}),
        oldFormat({"pomurina-catalogue-change 1", "phase 2", "settings FaceData.ini",
                   "in .change-added-2_3 face2_3.jpg", "end"}),
        oldFormat({"pomurina-catalogue-change 1", "phase 1", "settings FaceData.ini",
                   "out face3_0.jpg .change-parked-3_0", "out face3_0.jpg .change-parked-3_1", "end"}),
    };
    for (const QByteArray& text : hostile) {
        SCOPED_TRACE(text.toStdString());
        TempAppDir app;
        writeTestCatalogue(app, 4);
        // What an interrupted change could have left: the settings aside.
        app.writeBytes(QStringLiteral("data/.change-old-settings"), app.readBytes(QStringLiteral("data/FaceData.ini")));
        app.writeBytes(QStringLiteral("data/.change-new-settings"), "[faces]\r\ncount=4\r\n");
        app.writeBytes(kJournal, text);
        const auto before = snapshotDataFolder(app);
        EXPECT_EQ(appErrorOf([&] { recoverCatalogue(app.path()); }), fileOpenErrorText(app.path() + kJournal));
        // Every picture stays under its own name.
        auto now = snapshotDataFolder(app);
        for (const auto& [name, bytes] : before)
            if (name.startsWith(QStringLiteral("face"))) {
                EXPECT_EQ(now[name], bytes) << name.toStdString();
            }
        // The change's own files went aside with the journal, nothing lost.
        const QList<QByteArray> kept = everyFileUnderData(app);
        for (const auto& [name, bytes] : before) EXPECT_TRUE(kept.contains(bytes)) << name.toStdString();
        ASSERT_EQ(refusedFolders(app).size(), 1);
        const QString aside = QStringLiteral("data/") + refusedFolders(app)[0] + QLatin1Char('/');
        EXPECT_EQ(app.readBytes(aside + "change-journal"), text);
        EXPECT_EQ(app.readBytes(aside + "change-old-settings"), before.at(QStringLiteral(".change-old-settings")));
        EXPECT_EQ(appErrorOf([&] { recoverCatalogue(app.path()); }), QString());
        EXPECT_EQ(readFaceCount(app.path()), 4);
    }
}

// A journal that is a symbolic link is not the game's own: the file it points
// to, outside data/, is neither read nor rewritten; the link goes aside.
TEST(JournalRecovery, ASymlinkedJournalIsNeverFollowed) {
    TempAppDir app;
    writeTestCatalogue(app, 4);
    const QByteArray outside = oldFormat({"pomurina-catalogue-change 1", "phase 2", "settings FaceData.ini", "end"});
    app.writeBytes(QStringLiteral("outside.txt"), outside);
    ASSERT_TRUE(QFile::link(QStringLiteral("../outside.txt"), app.path() + kJournal));
    const auto before = snapshotDataFolder(app);

    EXPECT_EQ(appErrorOf([&] { recoverCatalogue(app.path()); }), fileOpenErrorText(app.path() + kJournal));
    EXPECT_EQ(app.readBytes(QStringLiteral("outside.txt")), outside);
    ASSERT_EQ(refusedFolders(app).size(), 1);
    const QFileInfo kept(app.path() + QStringLiteral("data/") + refusedFolders(app)[0] + QStringLiteral("/change-journal"));
    EXPECT_TRUE(kept.isSymLink());
    EXPECT_EQ(appErrorOf([&] { recoverCatalogue(app.path()); }), QString());
    auto now = snapshotDataFolder(app);
    now.erase(refusedFolders(app)[0]);
    EXPECT_TRUE(now == withoutJournal(before));
}

// No catalogue needs a journal of many megabytes: one beyond what deleting
// the first face of the largest catalogue writes is refused without being
// read, however well formed its lines.
TEST(JournalRecovery, AJournalLargerThanTheLargestCatalogueNeedsIsRefusedUnread) {
    TempAppDir app;
    writeTestCatalogue(app, 4);
    QByteArray text = "pomurina-catalogue-change 1\nphase 1\nsettings FaceData.ini\n";
    while (text.size() < 10 * 1024 * 1024) text += "out face1_0.jpg .change-parked-1_0\n";
    text += "end\n";
    app.writeBytes(kJournal, text);
    expectSetAsideOnce(app, text, snapshotDataFolder(app), 4);
}

// A change made by another game since this one read the catalogue (its count
// differs now) is never built upon: registering over that game's new face or
// deleting by stale numbers is refused with the settings' write error, and
// nothing changes.
TEST(CatalogueChange, AChangeRefusesACatalogueThatChangedSinceItWasRead) {
    TempAppDir app;
    writeTestCatalogue(app, 5);
    const auto before = snapshotDataFolder(app);
    const QString refused = iniWriteErrorText(faceDataPath(app.path()));

    EXPECT_EQ(appErrorOf([&] { registerFaceFiles(app.path(), 4, testFace(8)); }), refused);
    EXPECT_TRUE(snapshotDataFolder(app) == before);
    EXPECT_EQ(appErrorOf([&] { registerFaceFiles(app.path(), 6, testFace(8)); }), refused);
    EXPECT_TRUE(snapshotDataFolder(app) == before);
    EXPECT_EQ(appErrorOf([&] { deleteFaceFiles(app.path(), 0, 6, answersWithout(6, 0)); }), refused);
    EXPECT_TRUE(snapshotDataFolder(app) == before);
    EXPECT_EQ(appErrorOf([&] { deleteFaceFiles(app.path(), 0, 4, answersWithout(4, 0)); }), refused);
    EXPECT_TRUE(snapshotDataFolder(app) == before);

    // The count it read: both go ahead.
    EXPECT_EQ(appErrorOf([&] { registerFaceFiles(app.path(), 5, testFace(5)); }), QString());
    EXPECT_EQ(appErrorOf([&] { deleteFaceFiles(app.path(), 0, 6, answersWithout(6, 0)); }), QString());
    EXPECT_EQ(readFaceCount(app.path()), 5);
}

// Without a journal, a parked or shifted picture is one only a journal could
// have placed (a change renames nothing before its journal is on disk, and
// takes the journal away last). Lost the journal somehow, the pictures are
// set aside, never swept; new pictures never moved in and settings copies go.
TEST(JournalRecovery, PicturesAtHiddenNamesWithoutAJournalAreSetAsideNotSwept) {
    TempAppDir app;
    writeTestCatalogue(app, 4);
    const QByteArray face3 = pictureBytes(app, 3, 0);
    ASSERT_TRUE(QFile::rename(app.path() + QStringLiteral("data/face3_0.jpg"), app.path() + QStringLiteral("data/.change-shifted-2_0")));
    app.writeBytes(QStringLiteral("data/.change-parked-1_4"), "parked");
    app.writeBytes(QStringLiteral("data/.change-added-4_0"), "new");
    app.writeBytes(QStringLiteral("data/.change-old-settings"), "old");
    app.writeBytes(QStringLiteral("data/.FaceData.ini.tmp-a1B2c3"), "half");

    EXPECT_EQ(appErrorOf([&] { recoverCatalogue(app.path()); }), QString());
    ASSERT_EQ(refusedFolders(app).size(), 1);
    const QString aside = QStringLiteral("data/") + refusedFolders(app)[0] + QLatin1Char('/');
    EXPECT_EQ(app.readBytes(aside + "change-shifted-2_0"), face3);
    EXPECT_EQ(app.readBytes(aside + "change-parked-1_4"), QByteArray("parked"));
    const auto now = snapshotDataFolder(app);
    for (const auto& [name, bytes] : now)
        EXPECT_FALSE(name.startsWith(QLatin1Char('.'))) << name.toStdString();
    EXPECT_EQ(now.size(), 4u * 6 - 1 + 1 + 1);
}
