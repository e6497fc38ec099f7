// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The photograph given for a new face (chosen in the picture dialog, dropped
// on the window or pasted), decoded on a worker thread so that the window
// never waits for it (a 12-megapixel HEIC takes about a second): upright, in
// sRGB and no larger than the search and the face box use
// (kPhotographUsedLongSide). Only the latest one is delivered: one given
// while an earlier one decodes replaces it.
#include "authoring/picture_kind.h"
#include "files/app_error.h"

#include <QByteArray>
#include <QImage>
#include <QString>
#include <QStringList>
#include <QThreadPool>
#include <functional>
#include <memory>
#include <optional>

template <typename T> class QFutureWatcher;

// What the player gave: files (the first of them that holds a picture of a
// kind the game reads is loaded), else a picture's data, else a picture
// another program handed over already decoded.
struct PhotoSource {
    QStringList files;
    QByteArray data;
    QImage picture;
};

struct LoadedPhoto {
    PictureKind kind = PictureKind::None;
    QImage picture;
    std::optional<AppError> error;  // why it could not be read
};

// Decodes the photograph source gives, with the caps of kPhotographMaxPixels.
// The errors name the file: 「ファイル %1 は写真として読めません。」 for one
// that holds no picture, a damaged one or one beyond the caps; the JPEG and
// bitmap readers keep their own texts ("JPEG エラー #n", 「ファイル %1 は開けません」),
// as does a file that cannot be opened. Pasted data that cannot be read is
// 「貼り付けた画像は写真として読めません。」. Never throws.
LoadedPhoto loadPhoto(const PhotoSource& source);

class PhotoLoading {
public:
    PhotoLoading();
    // A decode still running is waited for.
    ~PhotoLoading();
    PhotoLoading(const PhotoLoading&) = delete;
    PhotoLoading& operator=(const PhotoLoading&) = delete;

    // From start until the latest photograph is delivered or cancelled.
    bool running() const { return bool(done_); }
    // Decodes source on a worker thread, then runs done on this thread as
    // soon as the event loop comes round or finish() is called; an earlier
    // load not yet delivered is dropped.
    void start(const PhotoSource& source, std::function<void(const LoadedPhoto&)> done);
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
