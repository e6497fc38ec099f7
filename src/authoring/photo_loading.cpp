// SPDX-License-Identifier: GPL-3.0-or-later
#include "authoring/photo_loading.h"

#include "detection/face_search.h"
#include "pictures/jpeg_codec.h"
#include "pictures/picture_file.h"
#include "pictures/picture_limits.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

LoadedPhoto loadPhoto(const QString& path, PictureKind kind) {
    LoadedPhoto photo;
    photo.kind = kind;
    try {
        if (kind == PictureKind::Bitmap) photo.picture = loadBitmapFile(path, kPhotographMaxPixels);
        if (kind == PictureKind::Jpeg)
            photo.picture = decodeJpegFileReduced(path, kPhotographUsedLongSide, kPhotographMaxPixels);
    } catch (const AppError& e) {
        photo.error = e;
    } catch (const std::exception&) {
        photo.error = AppError(fileOpenErrorText(path));  // out of memory for the picture
    }
    return photo;
}

PhotoLoading::PhotoLoading() {
    // The latest choice never queues behind an earlier one still decoding.
    pool_.setMaxThreadCount(2);
}

PhotoLoading::~PhotoLoading() {
    watcher_.reset();
    pool_.waitForDone();
}

void PhotoLoading::start(const QString& path, PictureKind kind, std::function<void(const LoadedPhoto&)> done) {
    const bool wasRunning = running();
    watcher_ = std::make_unique<QFutureWatcher<LoadedPhoto>>();
    done_ = std::move(done);
    QObject::connect(watcher_.get(), &QFutureWatcherBase::finished, watcher_.get(), [this] { deliver(); });
    watcher_->setFuture(QtConcurrent::run(&pool_, loadPhoto, path, kind));
    if (!wasRunning && onRunningChanged) onRunningChanged(true);
}

void PhotoLoading::cancel() {
    if (!running()) return;
    watcher_.reset();
    done_ = nullptr;
    if (onRunningChanged) onRunningChanged(false);
}

void PhotoLoading::finish() {
    if (!running()) return;
    watcher_->waitForFinished();
    deliver();
}

void PhotoLoading::deliver() {
    // finish() may have delivered it already. The watcher stays until the
    // next load: this may run inside its own signal.
    if (!running()) return;
    const LoadedPhoto photo = watcher_->result();
    const auto done = std::move(done_);
    done_ = nullptr;
    if (onRunningChanged) onRunningChanged(false);
    done(photo);
}
