// SPDX-License-Identifier: GPL-3.0-or-later
#include "pictures/upright_bands.h"

#include "pictures/orientation.h"
#include "pictures/parallel_work.h"

#include <algorithm>
#include <new>

UprightBands::UprightBands(QImage& stored, int orientation, const QColorSpace& space)
    : stored_(stored), orientation_(orientation >= 2 && orientation <= 8 ? orientation : 1) {
    if (space.isValid() && space != QColorSpace(QColorSpace::SRgb)) {
        toSrgb_ = space.transformationToColorSpace(QColorSpace::SRgb);
        toSrgb_.map(QRgb(0));  // its tables are made before two threads share it
    }
    if (orientation_ == 1 && !converts()) return;
    upright_ = orientation_ == 1 ? stored_ : QImage(orientedSize(stored_.size(), orientation_), QImage::Format_RGB32);
    if (upright_.isNull()) throw std::bad_alloc();
    // Both threads work on views of the pixels, taken here once.
    storedBits_ = stored_.bits();
    uprightBits_ = upright_.bits();
    if (workerCount() > 1) helper_ = std::thread([this] { work(); });
}

UprightBands::~UprightBands() {
    if (helper_.joinable()) stop();
}

void UprightBands::stop() {
    // The decoder gave up: the bands it never wrote are never waited for. A
    // waiting helper wakes only for a count that changed.
    stopped_.store(true);
    decodedRows_.store(-1);
    decodedRows_.notify_all();
    helper_.join();
}

void UprightBands::rowsDecoded(int count) {
    if (!storedBits_) return;
    decodedRows_.store(count, std::memory_order_release);
    decodedRows_.notify_all();
}

void UprightBands::work() {
    for (int band; (band = nextBand_.fetch_add(1)) < bandCount();) {
        const int needed = std::min(stored_.height(), (band + 1) * kBandRows);
        for (int rows = decodedRows_.load(std::memory_order_acquire); rows < needed;
             rows = decodedRows_.load(std::memory_order_acquire)) {
            if (stopped_.load()) return;
            decodedRows_.wait(rows);
        }
        processBand(band);
    }
}

void UprightBands::processBand(int band) {
    const int first = band * kBandRows;
    const qsizetype line = stored_.bytesPerLine();
    QImage rows(storedBits_ + first * line, stored_.width(), std::min(kBandRows, stored_.height() - first), line,
                QImage::Format_RGB32);
    if (converts()) rows.applyColorTransform(toSrgb_);
    if (orientation_ == 1) return;
    QImage target(uprightBits_, upright_.width(), upright_.height(), upright_.bytesPerLine(), QImage::Format_RGB32);
    placeOriented(rows, first, stored_.size(), orientation_, target);
}

QImage UprightBands::finish() {
    if (!storedBits_) return stored_;
    rowsDecoded(stored_.height());
    work();
    // Every row is written: the helper finishes the band it took, if any.
    if (helper_.joinable()) helper_.join();
    return upright_;
}
