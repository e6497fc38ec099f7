// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/thumbnail_loader.h"

#include "catalogue/catalogue_pictures.h"
#include "files/app_error.h"
#include "pictures/parallel_work.h"

#include <QMetaObject>
#include <memory>

ThumbnailLoader::~ThumbnailLoader() {
    stopping_ = true;
    stop();
}

void ThumbnailLoader::stop() {
    for (std::thread& t : threads_) t.join();
    threads_.clear();
}

void ThumbnailLoader::start(const QString& appDir, std::vector<int> faces, QSize box, Apply apply) {
    finish();
    apply_ = std::move(apply);
    std::shared_ptr<const CataloguePictures> pictures;
    QString folderError;
    try {
        pictures = std::make_shared<const CataloguePictures>(appDir);
    } catch (const AppError& e) {
        folderError = e.message();  // then every picture fails with it
    }
    auto work = std::make_shared<const std::vector<int>>(std::move(faces));
    auto next = std::make_shared<std::atomic<size_t>>(0);
    // Every core: the window's thread only creates and lays out controls
    // meanwhile, and waits for the disk and the screen.
    const int threads = std::min<int>(workerCount(), int(work->size()));
    for (int t = 0; t < threads; ++t)
        threads_.emplace_back([=, this] {
            for (size_t i; !stopping_ && (i = next->fetch_add(1)) < work->size();) {
                LoadedThumbnail loaded;
                loaded.face = (*work)[i];
                if (!pictures) {
                    loaded.error = folderError;
                } else {
                    try {
                        loaded.picture = pictures->readFitted(loaded.face, 0, box, &loaded.sourceSize);
                    } catch (const AppError& e) {
                        loaded.error = e.message();
                    }
                }
                std::lock_guard lock(mutex_);
                ready_.push_back(std::move(loaded));
                if (!handOverQueued_) {
                    handOverQueued_ = true;
                    QMetaObject::invokeMethod(&context_, [this] { handOver(); }, Qt::QueuedConnection);
                }
            }
        });
}

void ThumbnailLoader::handOver() {
    std::vector<LoadedThumbnail> batch;
    {
        std::lock_guard lock(mutex_);
        batch.swap(ready_);
        handOverQueued_ = false;
    }
    for (LoadedThumbnail& loaded : batch) apply_(std::move(loaded));
}

void ThumbnailLoader::finish() {
    stop();
    handOver();
}
