// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A photograph turned upright and converted to sRGB while its decoder is
// still writing it: each band of rows, once written, is converted and
// placed upright by a helper thread, so that on a machine of two cores the
// work after decoding overlaps the decoding itself; what is left when the
// decoder is done is shared by both threads.
#include <QColorSpace>
#include <QColorTransform>
#include <QImage>
#include <atomic>
#include <thread>

class UprightBands {
public:
    // stored: the picture the decoder writes (RGB32, allocated whole),
    // orientation: its Exif orientation, space: its colour space (none, or
    // sRGB's, converts nothing). The helper starts at once when there is
    // work for it and more than one core.
    UprightBands(QImage& stored, int orientation, const QColorSpace& space);
    // A helper still running (the decoder gave up) is stopped and waited for.
    ~UprightBands();
    UprightBands(const UprightBands&) = delete;
    UprightBands& operator=(const UprightBands&) = delete;

    // Rows a band holds: a band stays in the cache through its conversion
    // and its placing, and is small enough for Qt to convert it on the
    // thread that asks.
    static constexpr int kBandRows = 16;

    bool converts() const { return !toSrgb_.isIdentity(); }
    // The decoder has written rows 0 .. count - 1 (tell it a band at a time).
    void rowsDecoded(int count);
    // Every row written: the bands left, on this thread and the helper's;
    // then the picture upright and in sRGB (stored itself when it is not
    // turned). Throws std::bad_alloc when there is no memory for it.
    QImage finish();

private:
    int bandCount() const { return (stored_.height() + kBandRows - 1) / kBandRows; }
    // Takes bands until none is left; waits for each to be decoded.
    void work();
    void processBand(int band);
    // Stops the helper of a decode given up and waits for it.
    void stop();

    QImage& stored_;
    const int orientation_;
    QColorTransform toSrgb_;
    QImage upright_;
    uchar* storedBits_ = nullptr;
    uchar* uprightBits_ = nullptr;
    std::atomic<int> decodedRows_{0};
    std::atomic<int> nextBand_{0};
    std::atomic<bool> stopped_{false};
    std::thread helper_;
};
