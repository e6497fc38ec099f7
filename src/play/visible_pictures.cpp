// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/visible_pictures.h"

#include "catalogue/catalogue_pictures.h"
#include "files/app_error.h"
#include "pictures/parallel_work.h"

#include <QMetaObject>
#include <algorithm>

VisiblePictures::VisiblePictures(const QString& appDir, qint64 budgetBytes) : appDir_(appDir), cache_(budgetBytes) {}

VisiblePictures::~VisiblePictures() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        queue_.clear();
    }
    wake_.notify_all();
    for (std::thread& t : threads_) t.join();
}

void VisiblePictures::want(int client, const std::vector<PictureKey>& keys) {
    wanted_[client] = keys;
    if (changing_) return;  // the files are not what they will be
    std::lock_guard lock(mutex_);
    // The client's earlier wishes that wait still are let go of.
    for (auto it = queue_.begin(); it != queue_.end();) {
        if (it->client == client) {
            pending_.erase(it->key);
            it = queue_.erase(it);
        } else {
            ++it;
        }
    }
    std::vector<Job> jobs;
    for (const PictureKey& key : keys)
        if (!cache_.contains(key) && pending_.insert(key).second) jobs.push_back(Job{client, key, generation_});
    if (jobs.empty()) return;
    queue_.insert(queue_.begin(), jobs.begin(), jobs.end());
    // Every core: the window's thread only paints meanwhile.
    while (int(threads_.size()) < workerCount()) threads_.emplace_back([this] { work(); });
    wake_.notify_all();
}

void VisiblePictures::work() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return stopping_ || !queue_.empty(); });
        if (stopping_) return;
        Done done{queue_.front(), {}};
        queue_.pop_front();
        ++running_;
        lock.unlock();
        decode(done.job, done.picture);
        lock.lock();
        --running_;
        done_.push_back(std::move(done));
        if (!handOverQueued_) {
            handOverQueued_ = true;
            QMetaObject::invokeMethod(&context_, [this] { handOver(); }, Qt::QueuedConnection);
        }
        idle_.notify_all();
    }
}

void VisiblePictures::decode(const Job& job, CellPicture& out) {
    try {
        std::shared_ptr<const CataloguePictures> files;
        {
            std::lock_guard lock(mutex_);
            if (!files_) files_ = std::make_shared<const CataloguePictures>(appDir_);
            files = files_;
        }
        const PictureKey& key = job.key;
        if (key.box.isEmpty()) {
            out.picture = files->read(key.face, key.kind);
            out.sourceSize = out.picture.size();
        } else {
            out.picture = files->readFitted(key.face, key.kind, key.box, &out.sourceSize);
        }
    } catch (const AppError& e) {
        out = CellPicture{QImage(), QSize(), e.message()};
    }
}

bool VisiblePictures::loading() const {
    std::lock_guard lock(mutex_);
    return !queue_.empty() || running_ > 0 || !done_.empty();
}

void VisiblePictures::finish() {
    // A picture dropped at the hand-over (decoded before a change) is asked
    // for again: waited for too.
    for (;;) {
        renewWishes();
        {
            std::unique_lock lock(mutex_);
            idle_.wait(lock, [this] { return queue_.empty() && running_ == 0; });
        }
        handOver();
        std::lock_guard lock(mutex_);
        if (queue_.empty() && running_ == 0 && done_.empty()) return;
    }
}

void VisiblePictures::handOver() {
    std::vector<Done> batch;
    int generation;
    {
        std::lock_guard lock(mutex_);
        batch.swap(done_);
        handOverQueued_ = false;
        generation = generation_;
    }
    std::vector<int> askAgain;
    for (Done& done : batch) {
        pending_.erase(done.job.key);
        // Decoded before or while the files changed: perhaps another face's
        // picture. Asked for again once the change is over.
        if (done.job.generation != generation || changing_) {
            if (!changing_) askAgain.push_back(done.job.client);
            continue;
        }
        cache_.insert(done.job.key, std::move(done.picture));
        const auto arrival = arrivals_.find(done.job.client);
        if (const CellPicture* in = cache_.find(done.job.key); in && arrival != arrivals_.end() && arrival->second)
            arrival->second(done.job.key, *in);
    }
    for (int client : askAgain) {
        const std::vector<PictureKey> keys = wanted_[client];
        want(client, keys);
    }
}

void VisiblePictures::changeBegins() {
    changing_ = true;
    std::lock_guard lock(mutex_);
    ++generation_;
    files_.reset();
    for (const Job& job : queue_) pending_.erase(job.key);
    queue_.clear();
}

void VisiblePictures::changeEnded() {
    {
        std::lock_guard lock(mutex_);
        ++generation_;
        files_.reset();
    }
    changing_ = false;
    // After what follows the change on this thread (renumbering the wishes).
    renewWishes_ = true;
    QMetaObject::invokeMethod(&context_, [this] { renewWishes(); }, Qt::QueuedConnection);
}

void VisiblePictures::renewWishes() {
    if (!renewWishes_ || changing_) return;
    renewWishes_ = false;
    // Pictures being decoded when the change began are dropped when they
    // come in and asked for again then; until then they count as pending,
    // so that they are not decoded twice at once.
    const auto wishes = wanted_;
    for (const auto& [client, keys] : wishes) want(client, keys);
}

void VisiblePictures::faceRemoved(int face) {
    cache_.faceRemoved(face);
    for (auto& [client, keys] : wanted_) {
        std::vector<PictureKey> renumbered;
        for (PictureKey key : keys) {
            if (key.face == face) continue;
            if (key.face > face) --key.face;
            renumbered.push_back(key);
        }
        keys = std::move(renumbered);
    }
}

void VisiblePictures::forgetFace(int face) {
    cache_.forgetFace(face);
    for (auto& [client, keys] : wanted_)
        keys.erase(std::remove_if(keys.begin(), keys.end(), [face](const PictureKey& k) { return k.face == face; }),
                   keys.end());
}
