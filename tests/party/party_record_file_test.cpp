// SPDX-License-Identifier: GPL-3.0-or-later
// The record held as its bytes: the same bytes and parties as IniFile's edit
// entry by entry, a hand-made record of ten thousand parties trimmed in one
// pass, and the writer's thread: a party's writes still waiting merged into
// one, the record shown as last written, a file changed by another hand read
// again.
#include "files/app_error.h"
#include "files/file_ops.h"
#include "files/shift_jis.h"
#include "party/party_record_file.h"
#include "party/party_record_writer.h"
#include "support/ini_party_record.h"
#include "support/temp_app_dir.h"

#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>

namespace {

KeptParty partyOf(int id, PartyState state, std::initializer_list<std::int64_t> scores, const char* first = "太郎") {
    Party party({{QString::fromUtf8(first), false}, {QStringLiteral("花子"), true}}, 1);
    party.chooseFace(2);
    for (std::int64_t score : scores) party.recordTurn({score, score > 900});
    return KeptParty{id, QStringLiteral("2026-01-02 10:30"), state, party};
}

// A party of two over one round as a hand might write it; one that did not
// finish has its second turn still to play.
QByteArray sectionOf(int id, const char* state = "finished", const char* end = "\r\n") {
    const bool finished = qstrcmp(state, "finished") == 0;
    return "[Party" + QByteArray::number(id) + "]" + end + "Date=2026-01-02 10:30" + end + "State=" + state + end +
           "Players=2" + end + "Rounds=1" + end + "Name1=a" + end + "Name2=b" + end + "Blind1=0" + end + "Blind2=1" +
           end + "Face1=0" + end + "Score1_1=5" + end +
           (finished ? "Score1_2=" + QByteArray::number(id % 1000) + end : QByteArray());
}

}  // namespace

// Each file tries a rule of the edit or the reading: no file yet; LF lines
// with a last line without its end; copies of a section in other cases and
// with blanks, a name with a leading zero that is no party's, a lone "\r"
// ending the file; CP932 text, a section line after an ideographic space,
// stray bytes, a State that is no state; more parties of each kind than are
// kept. Written with each party, the bytes are IniFile's byte for byte, and
// the parties read are IniFile's.
TEST(PartyRecordFile, EditsAndReadsAsIniFileDoes) {
    QByteArray crowded = "[Other]\r\n";
    for (int id = 1; id <= 104; ++id) crowded += sectionOf(id);
    for (int id = 105; id <= 206; ++id) crowded += sectionOf(id, "unfinished");
    const QByteArray files[] = {
        "",
        "[Other]\nx=1\n" + sectionOf(2, "finished", "\n") + "[Party3]\nDate=2026-01-02 10:30\nState=playing\nPlayers=2\nRounds=1\n"
            "Name1=a\nName2=b\nBlind1=0\nBlind2=0",
        "; kept by hand\r\n[PARTY5]\r\nState=finished\r\n[ party5 ]\r\nDate=2026-01-02 10:30\r\n[Party05]\r\n"
            "State=finished\r\n" + sectionOf(6) + "tail\r",
        toShiftJis(QStringLiteral("　[Party7]\r\nState=終わり\r\n[Party8]\r\n名前=太郎\r\n")) + "\x81\r\nx=\xff\xfe\r\n" +
            sectionOf(9) + "[Party9]\r\nScore1_2=77\r\nstate=playing\r\n",
        crowded,
    };
    const KeptParty parties[] = {partyOf(5, PartyState::Finished, {700, 800}), partyOf(7, PartyState::Playing, {950}),
                                 partyOf(300, PartyState::Unfinished, {}, "x/..\\y"),
                                 partyOf(301, PartyState::Finished, {1, 2})};
    for (const QByteArray& file : files) {
        SCOPED_TRACE(file.left(80).toStdString());
        const IniFile before(QStringLiteral("/nowhere/Parties.ini"), file);
        const PartyRecordFile record(file);
        EXPECT_EQ(record.bytes(), file);
        EXPECT_EQ(record.reading().parties, partiesInIniFile(before).parties);
        EXPECT_EQ(record.reading().nextId, partiesInIniFile(before).nextId);
        for (const char* key : {"State", "STATE", "Date", "Score1_2", "Name1"})
            for (int id : {5, 6, 7, 9})
                EXPECT_EQ(record.entry(id, QString::fromLatin1(key), "-"),
                          before.readString(QStringLiteral("Party%1").arg(id), QString::fromLatin1(key), "-"));
        for (const KeptParty& party : parties) {
            SCOPED_TRACE(party.id);
            PartyRecordFile edited(file);
            IniFile reference = before;
            edited.keep(party, QString());
            keepPartyInIniFile(reference, party);
            EXPECT_EQ(edited.bytes(), reference.bytes());
            const PartiesReading read = edited.reading();
            EXPECT_EQ(read.parties, partiesInIniFile(reference).parties);
            EXPECT_EQ(read.nextId, partiesInIniFile(reference).nextId);
            EXPECT_NE(std::find(read.parties.begin(), read.parties.end(), party), read.parties.end());
        }
    }
    // Text the file cannot hold changes nothing.
    PartyRecordFile record(files[2]);
    KeptParty broken = partyOf(5, PartyState::Playing, {});
    broken.date = QStringLiteral("2026-01-02\r\n[Party1]");
    EXPECT_THROW(record.keep(broken, QStringLiteral("/nowhere/Parties.ini")), AppError);
    EXPECT_EQ(record.bytes(), files[2]);
}

// A hand-made record of ten thousand finished parties, 150 unfinished and
// one still playing: what the window is shown is the newest hundred finished
// and the one playing, and the first write leaves the newest hundred
// finished and the newest 99 others beside the party written.
TEST(PartyRecordFile, TenThousandPartiesAreTrimmedInOnePass) {
    QByteArray file = "; kept by hand\r\n";
    for (int id = 1; id <= 10'000; ++id) file += sectionOf(id);
    for (int id = 10'001; id <= 10'150; ++id) file += sectionOf(id, "unfinished");
    file += sectionOf(10'151, "playing");
    PartyRecordFile record(file);
    std::vector<int> ids;
    const PartiesReading shown = record.shown(&ids);
    ASSERT_EQ(shown.parties.size(), 101u);
    EXPECT_EQ(shown.parties.front().id, 10'151) << "newest first";
    EXPECT_EQ(shown.parties.back().id, 9'901);
    EXPECT_EQ(shown.nextId, 10'152);
    EXPECT_EQ(ids.size(), 10'151u);

    record.keep(partyOf(10'152, PartyState::Playing, {}), QString());
    const PartiesReading kept = record.reading();
    ASSERT_EQ(kept.parties.size(), 200u);
    EXPECT_EQ(kept.parties[0].id, 9'901);
    EXPECT_EQ(kept.parties[100].id, 10'053) << "the newest 99 that did not finish (the one playing among them), then the party written";
    EXPECT_EQ(kept.parties.back().id, 10'152);
    EXPECT_TRUE(record.bytes().startsWith("; kept by hand\r\n[Party9901]\r\n"));
}

// The writer's thread: while a write waits for the disk, three newer states
// of the party are asked for, and only the newest is written after it; the
// record shown is the one written, read from nowhere; a file changed by
// another hand meanwhile is read again before the next write, which keeps
// what that hand wrote.
TEST(PartyRecordWriter, MergesAPartysWaitingWritesAndReadsAFileChangedByAnotherHand) {
    TempAppDir dir;
    dir.writeBytes(QStringLiteral("data/Parties.ini"), sectionOf(1));
    std::mutex mutex;
    std::condition_variable changed;
    int writes = 0;
    bool held = true;
    const FileStepHook previous = setFileStepHook([&](FileStep step, const QString& path) {
        if (step != FileStep::Rename || !path.endsWith(QStringLiteral("Parties.ini"))) return 0;
        std::unique_lock<std::mutex> lock(mutex);
        ++writes;
        changed.notify_all();
        changed.wait(lock, [&] { return !held; });
        return 0;
    });
    QStringList errors;
    {
        PartyRecordWriter writer([&](const QString& error, int) { errors << error; });
        KeptParty party = partyOf(writer.freeId(dir.path()), PartyState::Playing, {});
        EXPECT_EQ(party.id, 2);
        writer.write(dir.path(), party);
        {
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait(lock, [&] { return writes == 1; });
        }
        for (std::int64_t score : {100, 200}) {
            party.party.recordTurn({score, false});
            writer.write(dir.path(), party);
        }
        party.state = PartyState::Finished;
        writer.write(dir.path(), party);
        EXPECT_EQ(writer.freeId(dir.path()), 3) << "the id of a write still waiting is taken";
        {
            const std::lock_guard<std::mutex> lock(mutex);
            held = false;
        }
        changed.notify_all();
        writer.finish();
        EXPECT_EQ(writes, 2);
        EXPECT_EQ(readParties(dir.path()).parties.back(), party);
        EXPECT_EQ(writer.view(dir.path())->parties.parties.front(), party);

        dir.writeBytes(QStringLiteral("data/Parties.ini"), dir.readBytes(QStringLiteral("data/Parties.ini")) + sectionOf(7));
        writer.write(dir.path(), partyOf(8, PartyState::Playing, {}));
        writer.finish();
        const PartiesReading now = readParties(dir.path());
        ASSERT_EQ(now.parties.size(), 4u);
        EXPECT_EQ(now.parties[2].id, 7);
        EXPECT_EQ(writer.view(dir.path())->parties.nextId, 9);
    }
    setFileStepHook(previous);
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}
