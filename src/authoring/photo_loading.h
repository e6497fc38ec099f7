// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The photograph chosen for a new face, decoded on a worker thread so that
// the window never waits for it (a 48-megapixel JPEG takes a few hundred
// milliseconds): a JPEG at the DCT scale that the search and the face box
// use (kPhotographUsedLongSide), a bitmap whole. Only the latest choice is
// delivered: one chosen while an earlier one decodes replaces it.
#include "authoring/picture_kind.h"
#include "files/app_error.h"

#include <QImage>
#include <QString>
#include <QThreadPool>
#include <functional>
#include <memory>
#include <optional>

template <typename T> class QFutureWatcher;

struct LoadedPhoto {
    PictureKind kind = PictureKind::None;
    QImage picture;
    std::optional<AppError> error;  // why it could not be read
};

// Decodes the photograph at path as kind says. Never throws.
LoadedPhoto loadPhoto(const QString& path, PictureKind kind);

class PhotoLoading {
public:
    PhotoLoading();
    // A decode still running is waited for.
    ~PhotoLoading();
    PhotoLoading(const PhotoLoading&) = delete;
    PhotoLoading& operator=(const PhotoLoading&) = delete;

    // From start until the latest photograph is delivered or cancelled.
    bool running() const { return bool(done_); }
    // Decodes path on a worker thread, then runs done on this thread as soon
    // as the event loop comes round or finish() is called; an earlier load
    // not yet delivered is dropped.
    void start(const QString& path, PictureKind kind, std::function<void(const LoadedPhoto&)> done);
    // Drops the load not yet delivered.
    void cancel();
    // Waits for the latest load and delivers it now.
    void finish();

    // Told true when a load starts and false once none is pending.
    std::function<void(bool running)> onRunningChanged;

private:
    void deliver();

    QThreadPool pool_;
    std::unique_ptr<QFutureWatcher<LoadedPhoto>> watcher_;
    std::function<void(const LoadedPhoto&)> done_;
};
