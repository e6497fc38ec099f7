// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The catalogue pictures the window is about to show, decoded behind it on
// the worker threads at the size they are drawn at and kept in a bounded
// cache. Each client (the thumbnail grid, each palette) says which pictures
// it wants now, most wanted first; what it no longer wants is not decoded,
// so scrolling fast decodes what comes to rest on screen, not everything
// passed over. A picture reaches the cache, and its client hears of it, on
// the window's thread when the event loop comes round or at finish().
#include "play/picture_cache.h"

#include <QObject>
#include <QString>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>
#include <unordered_set>
#include <vector>

class CataloguePictures;

class VisiblePictures {
public:
    // Enough for several screens of every grid at 5,000 faces and more.
    static constexpr qint64 kDefaultBudget = 48ll * 1024 * 1024;

    explicit VisiblePictures(const QString& appDir, qint64 budgetBytes = kDefaultBudget);
    // Stops after the pictures being decoded; nothing more is handed over.
    ~VisiblePictures();
    VisiblePictures(const VisiblePictures&) = delete;
    VisiblePictures& operator=(const VisiblePictures&) = delete;

    // The picture when it is in (a failed one too, with its error), or null.
    const CellPicture* find(const PictureKey& key) { return cache_.find(key); }
    // A picture decoded elsewhere (a game start's first screens).
    void put(const PictureKey& key, CellPicture picture) { cache_.insert(key, std::move(picture)); }

    using Arrival = std::function<void(const PictureKey&, const CellPicture&)>;
    void setArrival(int client, Arrival arrival) { arrivals_[client] = std::move(arrival); }
    // What client wants now, most wanted first, ahead of every other
    // client's waiting pictures. What it wanted before and is not decoded
    // yet is dropped unless wanted again.
    void want(int client, const std::vector<PictureKey>& keys);
    // Whether a picture is waiting or being decoded.
    bool loading() const;
    // Waits for every wanted picture and hands them over now.
    void finish();

    // The catalogue's files may change from changeBegins() to changeEnded():
    // nothing is decoded meanwhile, and nothing decoded before is taken in
    // after it. Once it has ended (and the clients have renumbered their
    // wishes: faceRemoved), the wanted pictures that are not in are decoded,
    // when the event loop comes round or at finish().
    void changeBegins();
    void changeEnded();
    // Face left the catalogue (the later faces moved down a number): so do
    // the pictures kept and the clients' wishes.
    void faceRemoved(int face);
    void forgetFace(int face);

    const PictureCache& cache() const { return cache_; }

private:
    struct Job {
        int client = 0;
        PictureKey key;
        int generation = 0;
    };
    struct Done {
        Job job;
        CellPicture picture;
    };
    void work();
    void decode(const Job& job, CellPicture& out);
    void handOver();
    void renewWishes();

    const QString appDir_;
    PictureCache cache_;
    std::map<int, Arrival> arrivals_;
    std::map<int, std::vector<PictureKey>> wanted_;  // each client's last wish
    std::unordered_set<PictureKey, PictureKeyHash> pending_;  // queued or being decoded
    bool changing_ = false;
    bool renewWishes_ = false;  // after a change, when the event loop comes round

    QObject context_;  // the hand-over is queued to it
    mutable std::mutex mutex_;
    std::condition_variable wake_;  // a job is queued, or the workers stop
    std::condition_variable idle_;  // a job is done
    std::deque<Job> queue_;
    std::vector<Done> done_;
    int running_ = 0;
    int generation_ = 0;
    bool stopping_ = false;
    bool handOverQueued_ = false;
    std::shared_ptr<const CataloguePictures> files_;  // of the current generation
    std::vector<std::thread> threads_;
};
