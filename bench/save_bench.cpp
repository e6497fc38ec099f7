// SPDX-License-Identifier: GPL-3.0-or-later
// Saving a finished face: composing it off screen and writing the JPEG
// (atomically, into Library), beside the bare libjpeg encode of the same
// face picture. A save touches one face whatever the catalogue's size.
#include "bench_support.h"

#include "catalogue/catalogue_files.h"
#include "catalogue/library.h"
#include "files/atomic_write.h"
#include "pictures/jpeg_codec.h"

#include <QDir>
#include <benchmark/benchmark.h>

namespace {

struct SaveInputs {
    QImage face;
    std::vector<PlacedPart> parts;
};

SaveInputs saveInputs() {
    const QString app = benchCatalogue(10);
    SaveInputs in;
    in.face = readFacePicture(app, 0, 5);
    for (int s = 1; s <= 4; ++s) {
        PlacedPart part;
        part.picture = readFacePicture(app, s, s);
        part.side = std::max(part.picture.width(), part.picture.height());
        part.topLeft = QPoint(30 * s, 40 * s);  // the last one sticks out of the face
        in.parts.push_back(part);
    }
    return in;
}

void BM_BareEncode_Face(benchmark::State& state) {
    const SaveInputs in = saveInputs();
    for (auto _ : state) benchmark::DoNotOptimize(encodeJpeg(in.face));
}

void BM_SaveFinishedFace(benchmark::State& state) {
    const SaveInputs in = saveInputs();
    const QString app = benchCatalogue(10);
    QDir(app + QStringLiteral("Library")).removeRecursively();
    for (auto _ : state) {
        const QImage picture = composeSavedFace(in.face, in.parts);
        saveLibraryPicture(librarySavePath(app, QStringLiteral("ベンチ")), picture);
    }
}

// The two halves of a save, to see where its time goes.
void BM_ComposeOnly(benchmark::State& state) {
    const SaveInputs in = saveInputs();
    for (auto _ : state) benchmark::DoNotOptimize(composeSavedFace(in.face, in.parts));
}

void BM_BareAtomicWrite(benchmark::State& state) {
    const SaveInputs in = saveInputs();
    const QByteArray bytes = encodeJpeg(in.face);
    const QString app = benchCatalogue(10);
    for (auto _ : state) writeFileAtomically(app + QStringLiteral("bare.jpg"), bytes);
}

}  // namespace

BENCHMARK(BM_ComposeOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareAtomicWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareEncode_Face)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveFinishedFace)->Unit(benchmark::kMillisecond);
