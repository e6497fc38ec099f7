// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The party's writes into Parties.ini, on a thread of their own, one after
// the other in the order they were asked for: a sync of the disk can take
// longer than a frame, and the window neither waits for it nor refuses a
// press meanwhile. A write that fails is told on the window's thread.
#include "party/party_record.h"

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <functional>
#include <mutex>
#include <utility>
#include <vector>

class PartyRecordWriter {
public:
    // Must be created on the window's thread; onError is called there, with
    // the id of the party whose write failed.
    explicit PartyRecordWriter(std::function<void(const QString& error, int partyId)> onError);
    // Every write asked for is done before it goes.
    ~PartyRecordWriter();
    PartyRecordWriter(const PartyRecordWriter&) = delete;
    PartyRecordWriter& operator=(const PartyRecordWriter&) = delete;

    void write(const QString& appDir, const KeptParty& party);
    // Waits for the writes asked for and tells their errors now (tests and
    // benchmarks, which run no event loop).
    void finish();

private:
    void tellErrors();

    std::function<void(const QString&, int)> onError_;
    QObject context_;  // errors are queued to it; gone with this object
    QThreadPool pool_;
    std::mutex mutex_;
    std::vector<std::pair<QString, int>> errors_;
};
