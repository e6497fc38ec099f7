// SPDX-License-Identifier: GPL-3.0-or-later
// Catalogue changes against crashes and failing file calls. A change runs in
// a child process that is killed just before its k-th file step, for every k
// until the change completes; then the start-up recovery runs on what the
// child left, and the data folder must be the old catalogue or the new one,
// byte for byte with nothing left over, and load. The same again with one
// file step made to fail instead, in the process itself.
#include "catalogue/catalogue_files.h"
#include "catalogue/catalogue_journal.h"
#include "files/app_error.h"
#include "files/file_ops.h"
#include "support/app_error_of.h"
#include "test_catalogue_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using DataFolder = std::map<QString, QByteArray>;
using Change = std::function<void(const QString& appDir)>;

struct Scenario {
    const char* name;
    int count;                               // faces before the change
    std::function<void(const TempAppDir&)> damage;  // applied to the old catalogue
    Change change;
    int countAfter;
};

std::vector<FaceAnswer> answersWithout(int count, int d) {
    std::vector<FaceAnswer> answers;
    for (int n = 0; n < count; ++n)
        if (n != d) answers.push_back(testAnswer(n));
    return answers;
}

Scenario deletion(const char* name, int count, int d) {
    return {name, count, {}, [=](const QString& app) { deleteFaceFiles(app, d, count, answersWithout(count, d)); },
            count - 1};
}

std::vector<Scenario> scenarios() {
    const NewFacePictures added = testFace(9);
    return {
        {"register over a stray picture", 5,
         [](const TempAppDir& app) { app.writeBytes(QStringLiteral("data/face5_3.jpg"), "stray"); },
         [added](const QString& app) { registerFaceFiles(app, 5, added); }, 6},
        deletion("delete the first face", 5, 0),
        deletion("delete a middle face", 5, 2),
        deletion("delete the last face", 5, 4),
        {"delete before a face with a missing picture", 5,
         [](const TempAppDir& app) { QFile::remove(app.path() + QStringLiteral("data/face3_2.jpg")); },
         [](const QString& app) { deleteFaceFiles(app, 1, 5, answersWithout(5, 1)); }, 4},
    };
}

// The names whose content differs between two data folders.
std::string differences(const DataFolder& a, const DataFolder& b) {
    QStringList names;
    for (const auto& [name, bytes] : a)
        if (!b.count(name) || b.at(name) != bytes) names << name;
    for (const auto& [name, bytes] : b)
        if (!a.count(name)) names << name;
    return names.join(QLatin1Char(' ')).toStdString();
}

// The tests create thousands of small catalogues and sync each step; kills
// and failing calls do not depend on the disk, so they run in memory where
// the system offers a memory file system.
class TempFolderInMemory {
public:
    TempFolderInMemory() : previous_(qgetenv("TMPDIR")) {
        if (QFileInfo(QStringLiteral("/dev/shm")).isWritable()) qputenv("TMPDIR", "/dev/shm");
    }
    ~TempFolderInMemory() {
        if (previous_.isEmpty()) qunsetenv("TMPDIR");
        else qputenv("TMPDIR", previous_);
    }

private:
    QByteArray previous_;
};

void copyDataFolder(const TempAppDir& from, const TempAppDir& to) {
    QDir().mkpath(to.path() + QStringLiteral("data"));
    const QDir source(from.path() + QStringLiteral("data"));
    for (const QString& name : source.entryList(QDir::Files | QDir::Hidden | QDir::System))
        ASSERT_TRUE(QFile::copy(source.filePath(name), to.path() + QStringLiteral("data/") + name));
}

// The two catalogues a change may leave: before it and after it.
struct Outcomes {
    TempAppDir oldApp;
    DataFolder before, after;
};

void prepare(const Scenario& s, Outcomes* o) {
    writeTestCatalogue(o->oldApp, s.count);
    if (s.damage) s.damage(o->oldApp);
    o->before = snapshotDataFolder(o->oldApp);
    TempAppDir done;
    copyDataFolder(o->oldApp, done);
    s.change(done.path());
    o->after = snapshotDataFolder(done);
}

// The catalogue loads: its count and answers read, and every picture that
// the old catalogue had for a face (after the change: under its new number)
// decodes.
void expectLoads(const TempAppDir& app, int count) {
    ASSERT_EQ(readFaceCount(app.path()), count);
    EXPECT_EQ(readFaceAnswers(app.path(), count).size(), std::size_t(count));
    for (int face = 0; face < count; ++face)
        for (int kind = 0; kind < 6; ++kind)
            if (app.exists(QStringLiteral("data/face%1_%2.jpg").arg(face).arg(kind))) {
                EXPECT_NO_THROW(readFacePicture(app.path(), face, kind)) << face << "_" << kind;
            }
}

// Runs change on app in a child process killed by SIGKILL just before its
// file step number step; false when the change completed before that step.
bool killedAt(int step, const Change& change, const TempAppDir& app) {
    const pid_t child = fork();
    if (child == 0) {
        int seen = 0;
        setFileStepHook([&](FileStep, const QString&) {
            if (++seen == step) ::kill(::getpid(), SIGKILL);
            return 0;
        });
        try {
            change(app.path());
        } catch (...) {
            _exit(3);
        }
        _exit(0);
    }
    int status = 0;
    EXPECT_EQ(waitpid(child, &status, 0), child);
    if (WIFSIGNALED(status)) {
        EXPECT_EQ(WTERMSIG(status), SIGKILL);
        return true;
    }
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the change failed in the child";
    return false;
}

}  // namespace

// Killed at every file step, each change leaves a catalogue that the next
// start turns into the old or the new one, completely and loadable; the
// kills before the journal give the old one, the later ones the new one
// once the settings are replaced. A second recovery changes nothing.
TEST(CatalogueCrash, KilledAtEveryFileStepTheNextStartHasTheOldOrTheNewCatalogue) {
    TempFolderInMemory inMemory;
    int totalKills = 0;
    for (const Scenario& s : scenarios()) {
        SCOPED_TRACE(s.name);
        Outcomes o;
        prepare(s, &o);
        ASSERT_NE(o.before, o.after);
        int kills = 0, gaveOld = 0, gaveNew = 0;
        bool sawNew = false;
        for (int step = 1;; ++step) {
            SCOPED_TRACE(step);
            TempAppDir app;
            copyDataFolder(o.oldApp, app);
            if (!killedAt(step, s.change, app)) {
                const DataFolder completed = snapshotDataFolder(app);
                EXPECT_TRUE(completed == o.after) << "a completed change leaves " << differences(completed, o.after);
                break;
            }
            ++kills;
            ASSERT_NO_THROW(recoverCatalogue(app.path()));
            const DataFolder recovered = snapshotDataFolder(app);
            const bool isOld = recovered == o.before, isNew = recovered == o.after;
            ASSERT_TRUE(isOld || isNew) << "a broken catalogue after step " << step << ": "
                                        << differences(recovered, o.before) << " / " << differences(recovered, o.after);
            // Once a kill gives the new catalogue, every later one does too.
            EXPECT_FALSE(sawNew && isOld);
            sawNew = sawNew || isNew;
            (isNew ? gaveNew : gaveOld) += 1;
            expectLoads(app, isNew ? s.countAfter : s.count);
            recoverCatalogue(app.path());
            EXPECT_TRUE(snapshotDataFolder(app) == recovered);
        }
        EXPECT_GT(gaveOld, 10);
        EXPECT_GT(gaveNew, 0);
        totalKills += kills;
        std::printf("[ kills    ] %s: %d kill points, %d old, %d new\n", s.name, kills, gaveOld, gaveNew);
    }
    std::printf("[ kills    ] %d kill points in all\n", totalKills);
}

// A crash can also hit the recovery itself: killed at every step of the
// recovery of every state that a killed deletion leaves, the next recovery
// still ends with the old or the new catalogue, the one the first recovery
// was heading for.
TEST(CatalogueCrash, KilledWhileRecoveringTheNextStartStillFinishes) {
    TempFolderInMemory inMemory;
    const Scenario s = deletion("delete a middle face of four", 4, 1);
    Outcomes o;
    prepare(s, &o);
    int kills = 0;
    for (int step = 1;; ++step) {
        SCOPED_TRACE(step);
        TempAppDir crashed;
        copyDataFolder(o.oldApp, crashed);
        if (!killedAt(step, s.change, crashed)) break;
        TempAppDir direct;
        copyDataFolder(crashed, direct);
        recoverCatalogue(direct.path());
        const DataFolder expected = snapshotDataFolder(direct);
        const Change recover = [](const QString& app) { recoverCatalogue(app); };
        for (int recoveryStep = 1;; ++recoveryStep) {
            SCOPED_TRACE(recoveryStep);
            TempAppDir app;
            copyDataFolder(crashed, app);
            if (!killedAt(recoveryStep, recover, app)) break;
            ++kills;
            ASSERT_NO_THROW(recoverCatalogue(app.path()));
            const DataFolder recovered = snapshotDataFolder(app);
            ASSERT_TRUE(recovered == expected) << differences(recovered, expected);
        }
    }
    EXPECT_GT(kills, 50);
    std::printf("[ kills    ] %d kill points during recovery\n", kills);
}

// One file call failing (EIO or ENOSPC), at every step in turn and the
// reads included: the change either fails with the program's error and the
// old catalogue exactly as it was, at once, or it stands, and the next
// start removes what it could not.
TEST(CatalogueCrash, AFailingFileStepLeavesTheOldCatalogueOrCompletesTheChange) {
    TempFolderInMemory inMemory;
    int injections = 0;
    for (const Scenario& s : scenarios()) {
        if (s.name != std::string("register over a stray picture") && s.name != std::string("delete a middle face"))
            continue;
        SCOPED_TRACE(s.name);
        Outcomes o;
        prepare(s, &o);
        int failures = 0;
        for (int failAt = 1;; ++failAt) {
            SCOPED_TRACE(failAt);
            TempAppDir app;
            copyDataFolder(o.oldApp, app);
            int seen = 0;
            setFileStepHook([&](FileStep, const QString&) { return ++seen == failAt ? (failAt % 2 ? EIO : ENOSPC) : 0; });
            QString error;
            try {
                s.change(app.path());
            } catch (const AppError& e) {
                error = e.message();
            }
            setFileStepHook({});
            if (seen < failAt) break;
            ++injections;
            if (!error.isEmpty()) {
                ++failures;
                const DataFolder left = snapshotDataFolder(app);
                EXPECT_TRUE(left == o.before) << error.toStdString() << ": " << differences(left, o.before);
                static const QRegularExpression programText(
                    QStringLiteral("^(ファイル .+ (は開けません|を作成できません)|.+ に書き込めません)$"));
                EXPECT_TRUE(programText.match(error).hasMatch()) << error.toStdString();
            }
            recoverCatalogue(app.path());
            const DataFolder recovered = snapshotDataFolder(app);
            const DataFolder& expected = error.isEmpty() ? o.after : o.before;
            EXPECT_TRUE(recovered == expected) << differences(recovered, expected);
        }
        EXPECT_GT(failures, 20);
    }
    std::printf("[ faults   ] %d failing file steps\n", injections);
}

// A journal that is not one the program wrote (cut short, or naming files
// outside the catalogue) is refused without touching anything but itself:
// it is set aside, and a change can be made again.
TEST(CatalogueCrash, ADamagedOrHostileJournalIsRefusedAndNothingMoves) {
    CatalogueJournal j;
    j.phase = 2;
    j.settings = QStringLiteral("FaceData.ini");
    j.settingsBefore = j.settingsAfter = settingsDigest("[faces]\r\ncount=4\r\n");
    j.out.push_back({QStringLiteral("face1_0.jpg"), ChangeFiles::shifted(0, 0)});
    j.in.push_back({ChangeFiles::shifted(0, 0), QStringLiteral("face0_0.jpg")});
    ASSERT_TRUE(parseJournal(journalText(j), &j));
    const QByteArray good = journalText(j);
    QByteArray escaping = good;
    escaping.replace("face0_0.jpg", "../precious.txt");
    for (const QByteArray& text : {good.left(good.size() - 4), escaping, QByteArray("garbage")}) {
        TempAppDir app;
        writeTestCatalogue(app, 4);
        app.writeBytes(QStringLiteral("precious.txt"), "keep");
        const QString journal = app.path() + QStringLiteral("data/") + ChangeFiles::journal;
        const DataFolder before = snapshotDataFolder(app);
        app.writeBytes(QStringLiteral("data/") + ChangeFiles::journal, text);
        try {
            recoverCatalogue(app.path());
            ADD_FAILURE() << "a damaged journal was used";
        } catch (const AppError& e) {
            EXPECT_EQ(e.message(), fileOpenErrorText(journal));
        }
        DataFolder after = snapshotDataFolder(app);
        ASSERT_EQ(after.size(), before.size() + 1);
        const QString aside = std::prev(after.end())->first;
        EXPECT_TRUE(aside.startsWith(QStringLiteral("refused-change-")));
        after.erase(aside);
        EXPECT_TRUE(after == before);
        EXPECT_EQ(app.readBytes(QStringLiteral("precious.txt")), QByteArray("keep"));
        EXPECT_NO_THROW(deleteFaceFiles(app.path(), 0, 4, answersWithout(4, 0)));
        EXPECT_EQ(readFaceCount(app.path()), 3);
    }
}

// A second game process that starts while another one is half-way through a
// change waits for it, instead of taking the change back underneath it.
TEST(CatalogueCrash, AStartDuringAnotherProcesssChangeWaitsForIt) {
    TempFolderInMemory inMemory;
    const Scenario s = deletion("delete a middle face", 5, 2);
    Outcomes o;
    prepare(s, &o);
    TempAppDir app;
    copyDataFolder(o.oldApp, app);
    int resume[2], paused[2];
    ASSERT_EQ(pipe(resume), 0);
    ASSERT_EQ(pipe(paused), 0);
    const pid_t changer = fork();
    if (changer == 0) {
        int seen = 0;
        setFileStepHook([&](FileStep, const QString&) {
            // Step 30 is one of the renames, after the journal.
            if (++seen == 30) {
                char c = 'p';
                if (write(paused[1], &c, 1) != 1 || read(resume[0], &c, 1) != 1) _exit(4);
            }
            return 0;
        });
        try {
            s.change(app.path());
        } catch (...) {
            _exit(3);
        }
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(paused[0], &c, 1), 1);
    const pid_t starter = fork();
    if (starter == 0) {
        try {
            recoverCatalogue(app.path());
        } catch (...) {
            _exit(3);
        }
        _exit(0);
    }
    usleep(300 * 1000);
    int status = 0;
    EXPECT_EQ(waitpid(starter, &status, WNOHANG), 0) << "the start did not wait for the change";
    ASSERT_EQ(write(resume[1], "g", 1), 1);
    ASSERT_EQ(waitpid(changer, &status, 0), changer);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(waitpid(starter, &status, 0), starter);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    const DataFolder result = snapshotDataFolder(app);
    EXPECT_TRUE(result == o.after) << differences(result, o.after);
    for (int fd : {resume[0], resume[1], paused[0], paused[1]}) close(fd);
}

namespace {

// The journal a crashed change left, rewritten as the previous version wrote
// it; false when the crash came before the journal.
bool rewriteJournalInTheOldFormat(const TempAppDir& app) {
    const QString name = QStringLiteral("data/") + ChangeFiles::journal;
    CatalogueJournal j;
    if (!app.exists(name)) return false;
    EXPECT_TRUE(parseJournal(app.readBytes(name), &j));
    j.version = 1;
    j.settingsBefore = j.settingsAfter = QByteArray();
    app.writeBytes(name, journalText(j));
    return true;
}

// Makes one rename of the journal's current phase look both done and not
// done: its source and its target are both there.
void putBothEndsOfARename(const TempAppDir& app) {
    CatalogueJournal j;
    ASSERT_TRUE(parseJournal(app.readBytes(QStringLiteral("data/") + ChangeFiles::journal), &j));
    const std::vector<CatalogueRename>& renames = j.phase == 1 ? j.out : j.in;
    ASSERT_FALSE(renames.empty());
    const QString from = QStringLiteral("data/") + renames.back().from, to = QStringLiteral("data/") + renames.back().to;
    if (app.exists(to)) app.writeBytes(from, app.readBytes(to));
    else app.writeBytes(to, app.readBytes(from));
}

}  // namespace

// A change that the previous version's crash interrupted left a journal
// without digests or checksum: when its steps agree with the files it is
// still finished or taken back, exactly as before.
TEST(CatalogueCrash, AChangeInterruptedUnderThePreviousVersionIsStillFinishedOrTakenBack) {
    TempFolderInMemory inMemory;
    for (const Scenario& s : scenarios()) {
        if (s.name != std::string("register over a stray picture") && s.name != std::string("delete a middle face"))
            continue;
        SCOPED_TRACE(s.name);
        Outcomes o;
        prepare(s, &o);
        int oldJournals = 0;
        for (int step = 1;; ++step) {
            SCOPED_TRACE(step);
            TempAppDir app;
            copyDataFolder(o.oldApp, app);
            if (!killedAt(step, s.change, app)) break;
            if (!rewriteJournalInTheOldFormat(app)) continue;
            ++oldJournals;
            ASSERT_EQ(appErrorOf([&] { recoverCatalogue(app.path()); }), QString());
            const DataFolder recovered = snapshotDataFolder(app);
            EXPECT_TRUE(recovered == o.before || recovered == o.after) << differences(recovered, o.before);
        }
        EXPECT_GE(oldJournals, 20);
    }
}

// At every kill point with a journal, a rename of the current phase made to
// look both done and not done (its two ends both there) gets the journal
// refused, in either version: no picture is moved or removed, and the
// change's hidden files go aside with the journal.
TEST(CatalogueCrash, AJournalOutOfStepWithTheFilesIsSetAsideAtEveryKillPoint) {
    TempFolderInMemory inMemory;
    const Scenario s = deletion("delete a middle face", 5, 2);
    Outcomes o;
    prepare(s, &o);
    int refused = 0;
    for (int step = 1;; ++step) {
        SCOPED_TRACE(step);
        TempAppDir app;
        copyDataFolder(o.oldApp, app);
        if (!killedAt(step, s.change, app)) break;
        if (!app.exists(QStringLiteral("data/") + ChangeFiles::journal)) continue;
        if (step % 2) rewriteJournalInTheOldFormat(app);
        putBothEndsOfARename(app);
        const DataFolder crashed = snapshotDataFolder(app);
        EXPECT_EQ(appErrorOf([&] { recoverCatalogue(app.path()); }),
                  fileOpenErrorText(app.path() + QStringLiteral("data/") + ChangeFiles::journal));
        ++refused;
        DataFolder now = snapshotDataFolder(app);
        for (const auto& [name, bytes] : crashed) {
            if (ChangeFiles::isChangeFile(name)) {
                EXPECT_FALSE(now.count(name)) << name.toStdString();
                const QString aside = std::prev(now.end())->first + QLatin1Char('/') + name.mid(1);
                EXPECT_EQ(app.readBytes(QStringLiteral("data/") + aside), bytes) << aside.toStdString();
            } else {
                EXPECT_EQ(now[name], bytes) << name.toStdString();
            }
        }
    }
    EXPECT_GT(refused, 20);
}
