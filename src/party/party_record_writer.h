// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The record of the parties, read and written on a thread of its own, so
// that the window neither waits for a sync of the disk nor parses the record:
// the writes go one after the other in the order they were asked for, and
// the window shows the record as the thread last read or wrote it (view()).
// The thread keeps the file's bytes (PartyRecordFile) between writes, so a
// turn's write encodes only that party's section; it reads the file again
// only when the file changed under it. A write that fails is told on the
// window's thread, with the id of the party it was for.
//
// At the window's close the thread only finishes the writes asked for: a
// party whose write is still waiting when a newer state of it is asked for
// is written once, in its newest state, and a read still waiting is dropped.
#include "party/party_record.h"
#include "party/party_record_file.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

// The record as the writer's thread last read or wrote it.
struct PartyRecordView {
    // "ファイル %s は開けません" when the record could not be read: the window
    // then writes nothing over it.
    QString error;
    // The newest finished parties (as many as are kept) and every one still
    // playing (PartyRecordFile::shown).
    PartiesReading parties;
    std::vector<int> ids;  // of every party section of the file
};

class PartyRecordWriter {
public:
    // Must be created on the window's thread; onError is called there, with
    // the id of the party whose write failed.
    explicit PartyRecordWriter(std::function<void(const QString& error, int partyId)> onError);
    // Finishes the writes asked for (a read still waiting is dropped).
    ~PartyRecordWriter();
    PartyRecordWriter(const PartyRecordWriter&) = delete;
    PartyRecordWriter& operator=(const PartyRecordWriter&) = delete;

    // Reads the record behind the window (at start-up, or again after it
    // could not be read).
    void read(const QString& appDir);
    void write(const QString& appDir, const KeptParty& party);

    // The record as last read or written. Waits when it has never been read
    // (it then reads appDir's), and while the thread makes it anew after the
    // last write (a fraction of a millisecond), never for a write itself.
    std::shared_ptr<const PartyRecordView> view(const QString& appDir);
    // An id for a new party: none of the file's, nor one of a write asked for.
    int freeId(const QString& appDir);

    // Waits for the reads and writes asked for (each on disk; the view the
    // thread then makes is waited for by view()) and tells their errors now
    // (tests and benchmarks, which run no event loop).
    void finish();

private:
    struct Job {
        bool write = false;  // else a read
        QString appDir;
        KeptParty party;
    };
    void enqueue(Job job);  // with mutex_ held
    void run();
    // Runs the job; true when the record kept changed (or was read), and
    // unreadable names the error when the record could not be read.
    bool runJob(const Job& job, QString* unreadable);
    // Makes the view of the record kept, when one is due.
    void makeView();
    void publish(std::shared_ptr<const PartyRecordView> view);  // with mutex_ held
    // The record of path, read again unless the bytes kept are the file's.
    PartyRecordFile& recordAt(const QString& path);
    void tell(const QString& error, int partyId);
    void tellErrors();

    std::function<void(const QString&, int)> onError_;
    QObject context_;  // errors are queued to it; gone with this object

    std::mutex mutex_;
    std::condition_variable wake_, done_;
    std::deque<Job> queue_;
    bool busy_ = false;
    std::atomic<bool> closing_{false};
    std::vector<int> pendingIds_;  // of the writes asked for and not yet in view_
    std::vector<int> doneIds_;     // of the writes done since view_ was made
    std::shared_ptr<const PartyRecordView> view_;
    bool viewDue_ = false;  // view_ is to be made again from the record kept
    std::vector<std::pair<QString, int>> errors_;
    std::thread thread_;

    // The writer thread's own: the record as last read or written, and what
    // the file was like then (its identity, size and times), so that a file
    // changed by another hand is read again.
    struct FileStamp {
        bool exists = false;
        qint64 device = 0, inode = 0, size = 0, modifiedNs = 0, changedNs = 0;
        bool operator==(const FileStamp&) const = default;
    };
    static FileStamp stampOf(const QString& path);
    std::optional<PartyRecordFile> record_;
    QString recordPath_;
    FileStamp stamp_;
};
