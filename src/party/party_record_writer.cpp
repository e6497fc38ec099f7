// SPDX-License-Identifier: GPL-3.0-or-later
#include "party/party_record_writer.h"

#include "files/app_error.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <algorithm>
#include <sys/stat.h>

PartyRecordWriter::PartyRecordWriter(std::function<void(const QString&, int)> onError) : onError_(std::move(onError)) {}

PartyRecordWriter::~PartyRecordWriter() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        closing_ = true;
        // Nobody looks at the record any more: only the writes are finished.
        std::erase_if(queue_, [](const Job& job) { return !job.write; });
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void PartyRecordWriter::enqueue(Job job) {
    queue_.push_back(std::move(job));
    if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
    wake_.notify_one();
}

void PartyRecordWriter::read(const QString& appDir) {
    const std::lock_guard<std::mutex> lock(mutex_);
    const bool waiting = std::any_of(queue_.begin(), queue_.end(), [&](const Job& job) { return !job.write && job.appDir == appDir; });
    if (!waiting) enqueue(Job{false, appDir, {}});
}

void PartyRecordWriter::write(const QString& appDir, const KeptParty& party) {
    const std::lock_guard<std::mutex> lock(mutex_);
    // A write of the party still waiting takes its newest state instead:
    // each write holds the whole party.
    for (Job& job : queue_)
        if (job.write && job.appDir == appDir && job.party.id == party.id) {
            job.party = party;
            return;
        }
    pendingIds_.push_back(party.id);
    enqueue(Job{true, appDir, party});
}

std::shared_ptr<const PartyRecordView> PartyRecordWriter::view(const QString& appDir) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!view_ && std::none_of(queue_.begin(), queue_.end(), [](const Job& job) { return !job.write; }))
        enqueue(Job{false, appDir, {}});
    // A write under way is not waited for (a sync of the disk can take longer
    // than a frame): the record is then shown as before it. Only the making
    // of the view after the last write is.
    done_.wait(lock, [&] { return view_ != nullptr && !(viewDue_ && queue_.empty() && !busy_); });
    return view_;
}

int PartyRecordWriter::freeId(const QString& appDir) {
    view(appDir);
    const std::lock_guard<std::mutex> lock(mutex_);
    std::vector<int> ids = view_->ids;
    ids.insert(ids.end(), pendingIds_.begin(), pendingIds_.end());
    return nextPartyId(std::move(ids));
}

void PartyRecordWriter::finish() {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        done_.wait(lock, [&] { return queue_.empty() && !busy_; });
    }
    tellErrors();
}

void PartyRecordWriter::run() {
    for (;;) {
        Job job;
        {
            std::unique_lock<std::mutex> lock(mutex_);
            wake_.wait(lock, [&] { return !queue_.empty() || closing_; });
            if (queue_.empty()) return;
            job = std::move(queue_.front());
            queue_.pop_front();
            busy_ = true;
        }
        QString unreadable;
        const bool changed = runJob(job, &unreadable);
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            if (job.write) doneIds_.push_back(job.party.id);
            viewDue_ = viewDue_ || changed;
            if (!unreadable.isEmpty()) {
                auto view = std::make_shared<PartyRecordView>();
                view->error = unreadable;
                publish(std::move(view));
            }
            busy_ = false;
        }
        done_.notify_all();
        makeView();
    }
}

void PartyRecordWriter::makeView() {
    // Made once the job's write is on disk, and only when no other job
    // waits (the view would be made again after it); never at the close.
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!viewDue_ || !queue_.empty() || closing_) return;
        if (!record_) {
            // A write failed and left nothing kept: what is shown stays.
            viewDue_ = false;
            publish(view_);
            done_.notify_all();
            return;
        }
    }
    auto view = std::make_shared<PartyRecordView>();
    view->parties = record_->shown(&view->ids);
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        viewDue_ = false;
        publish(std::move(view));
    }
    done_.notify_all();
}

void PartyRecordWriter::publish(std::shared_ptr<const PartyRecordView> view) {
    view_ = std::move(view);
    // The writes done so far are in it: their ids are the file's now.
    for (const int id : doneIds_) {
        const auto pending = std::find(pendingIds_.begin(), pendingIds_.end(), id);
        if (pending != pendingIds_.end()) pendingIds_.erase(pending);
    }
    doneIds_.clear();
}

bool PartyRecordWriter::runJob(const Job& job, QString* unreadable) {
    QString path;
    PartyRecordFile* record = nullptr;
    try {
        path = partiesPath(job.appDir);
        if (job.write) QDir().mkpath(QFileInfo(path).absolutePath());
        record = &recordAt(path);
    } catch (const AppError& e) {
        if (job.write) tell(e.message(), job.party.id);
        *unreadable = e.message();
        return false;
    }
    if (job.write) {
        try {
            record->keep(job.party, path);
            record->save(path);
            stamp_ = stampOf(path);
        } catch (const AppError& e) {
            // The file is as it was, or not known to be: it is read again
            // before the next write.
            record_.reset();
            tell(e.message(), job.party.id);
            return false;
        }
    }
    return true;
}

PartyRecordWriter::FileStamp PartyRecordWriter::stampOf(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return {};
    const auto ns = [](const timespec& t) { return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec; };
    return {true, qint64(st.st_dev), qint64(st.st_ino), qint64(st.st_size), ns(st.st_mtim), ns(st.st_ctim)};
}

PartyRecordFile& PartyRecordWriter::recordAt(const QString& path) {
    // Looked at before the read: a change while it reads shows next time.
    const FileStamp now = stampOf(path);
    if (record_ && path == recordPath_ && now == stamp_) return *record_;
    record_.reset();
    record_ = PartyRecordFile::read(path);
    recordPath_ = path;
    stamp_ = now;
    return *record_;
}

void PartyRecordWriter::tell(const QString& error, int partyId) {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        errors_.emplace_back(error, partyId);
    }
    QMetaObject::invokeMethod(&context_, [this] { tellErrors(); }, Qt::QueuedConnection);
}

void PartyRecordWriter::tellErrors() {
    std::vector<std::pair<QString, int>> errors;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        errors.swap(errors_);
    }
    for (const auto& [error, partyId] : errors)
        if (onError_) onError_(error, partyId);
}
