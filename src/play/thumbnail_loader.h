// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The thumbnails' pictures decoded behind the window on all cores, each at
// the size it is drawn at: every picture is handed to the window's thread as
// soon as it is ready, so the grid fills in while the window stays
// responsive, and finish() waits for the rest.
#include <QImage>
#include <QObject>
#include <QSize>
#include <QString>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

struct LoadedThumbnail {
    int face = 0;
    QImage picture;    // as drawn in the box; null when it could not be read
    QSize sourceSize;  // the picture's own size
    QString error;     // the program's error text when it could not be read
};

class ThumbnailLoader {
public:
    using Apply = std::function<void(LoadedThumbnail&&)>;

    ThumbnailLoader() = default;
    // Stops after the pictures being decoded; nothing more is handed over.
    ~ThumbnailLoader();
    ThumbnailLoader(const ThumbnailLoader&) = delete;
    ThumbnailLoader& operator=(const ThumbnailLoader&) = delete;

    // Decodes picture 0 of each of faces as drawn in box; apply runs on this
    // thread for each, in the order they are ready. Any earlier load is
    // finished first.
    void start(const QString& appDir, std::vector<int> faces, QSize box, Apply apply);
    bool running() const { return !threads_.empty(); }
    // Waits for every picture and hands over those still waiting.
    void finish();

private:
    void handOver();
    void stop();

    QObject context_;  // the hand-over is queued to it
    Apply apply_;
    std::vector<std::thread> threads_;
    std::atomic<bool> stopping_{false};
    std::mutex mutex_;
    std::vector<LoadedThumbnail> ready_;
    bool handOverQueued_ = false;
};
