// SPDX-License-Identifier: GPL-3.0-or-later
#include "authoring/photo_loading.h"

#include "authoring/authoring_look.h"
#include "detection/face_search.h"
#include "pictures/photo_decoding.h"
#include "pictures/picture_bytes.h"
#include "pictures/picture_limits.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

namespace {

// The first of the files whose content is a picture of a kind the game
// reads; when none is, the first file, which then tells why.
QString firstPicture(const QStringList& files) {
    for (const QString& path : files) {
        const PictureBytes head = readPictureHead(path, kPictureFormatHeadBytes);
        if (head.status == PictureBytes::Read && pictureFormatOf(head.bytes) != PictureFormat::Unknown) return path;
    }
    return files.value(0);
}

LoadedPhoto decoded(const DecodedPhoto& photo) {
    LoadedPhoto loaded;
    loaded.kind = pictureKindOf(photo.format);
    loaded.picture = photo.picture;
    return loaded;
}

LoadedPhoto loadFile(const QString& path) {
    try {
        return decoded(decodePhotoFile(path, kPhotographUsedLongSide, kPhotographMaxPixels));
    } catch (const UnreadablePicture& e) {
        // The bitmap reader's own word, as before.
        if (e.format == PictureFormat::Bitmap) throwFileOpenError(path);
        throw AppError(AuthoringTexts::photoUnreadable(path));
    }
}

LoadedPhoto loadGiven(const PhotoSource& source) {
    if (!source.files.isEmpty()) return loadFile(firstPicture(source.files));
    try {
        if (!source.data.isEmpty())
            return decoded(decodePhoto(source.data, kPhotographUsedLongSide, kPhotographMaxPixels));
        LoadedPhoto loaded;
        loaded.kind = PictureKind::Bitmap;
        loaded.picture = preparedPhoto(source.picture, kPhotographUsedLongSide, kPhotographMaxPixels);
        return loaded;
    } catch (const UnreadablePicture&) {
        throw AppError(AuthoringTexts::PastedPhotoUnreadable);
    }
}

}  // namespace

LoadedPhoto loadPhoto(const PhotoSource& source) {
    try {
        return loadGiven(source);
    } catch (const AppError& e) {
        LoadedPhoto failed;
        failed.error = e;
        return failed;
    } catch (const std::exception&) {
        // Out of memory for the picture.
        LoadedPhoto failed;
        failed.error = source.files.isEmpty() ? AppError(AuthoringTexts::PastedPhotoUnreadable)
                                              : AppError(fileOpenErrorText(source.files.value(0)));
        return failed;
    }
}

PhotoLoading::PhotoLoading() {
    // The latest choice never queues behind an earlier one still decoding.
    pool_.setMaxThreadCount(2);
}

PhotoLoading::~PhotoLoading() {
    watcher_.reset();
    pool_.waitForDone();
}

void PhotoLoading::start(const PhotoSource& source, std::function<void(const LoadedPhoto&)> done) {
    const bool wasRunning = running();
    watcher_ = std::make_unique<QFutureWatcher<LoadedPhoto>>();
    done_ = std::move(done);
    QObject::connect(watcher_.get(), &QFutureWatcherBase::finished, watcher_.get(), [this] { deliver(); });
    watcher_->setFuture(QtConcurrent::run(&pool_, loadPhoto, source));
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
