// What authoring costs: registering and deleting a face on catalogues of 10,
// 100 and 500 faces beside the bare encode of the six pictures and bare file
// copies and renames of the same size; and one mouse move of a 2,000-point
// freehand stroke (the face box redrawn and the whole stroke drawn again)
// beside one bare stretched draw of the picture.
#include "bench_support.h"

#include "catalogue/catalogue_files.h"
#include "pictures/face_box_redraw.h"
#include "pictures/jpeg_codec.h"
#include "pictures/outline.h"
#include "pictures/stretch.h"

#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

QImage texturedPicture(int w, int h, int seed) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 5 + seed * 17) & 255, (y * 3 + x + seed) & 255, ((x * y) >> 4 ^ seed) & 255));
    return img;
}

// The six pictures of a registration at their usual sizes: a 300 x 225 face
// and parts of about 60 x 40.
NewFacePictures newFace() {
    NewFacePictures face;
    face.pictures[0] = texturedPicture(300, 225, 1);
    face.pictures[5] = texturedPicture(300, 225, 2);
    for (int k = 1; k <= 4; ++k) face.pictures[k] = texturedPicture(60, 40, 2 + k);
    face.answer = {70, 170, 125, 110, 70, 70, 110, 160};
    return face;
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

// A picture's path spelled out, without the case-insensitive lookup that
// the catalogue layer does for every name.
QString plainPicturePath(const QString& app, int face, int kind) {
    return app + QStringLiteral("data/face%1_%2.jpg").arg(face).arg(kind);
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
}

void BM_RegisterFace(benchmark::State& state) {
    const int count = int(state.range(0));
    const QString app = benchCatalogue(count);
    const QString ini = faceDataPath(app);
    const QByteArray iniBefore = readAll(ini);
    const NewFacePictures face = newFace();
    for (auto _ : state) {
        registerFaceFiles(app, count, face);
        state.PauseTiming();
        for (int k = 0; k <= 5; ++k) QFile::remove(facePicturePath(app, count, k));
        writeAll(ini, iniBefore);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RegisterFace)->Arg(10)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond);

// The floor of a registration: encoding its six pictures.
void BM_BareEncodeSixPictures(benchmark::State& state) {
    const NewFacePictures face = newFace();
    for (auto _ : state)
        for (const QImage& picture : face.pictures) benchmark::DoNotOptimize(encodeJpeg(picture));
}
BENCHMARK(BM_BareEncodeSixPictures)->Unit(benchmark::kMillisecond);

// The other floor: writing the six encoded pictures as plain file copies.
void BM_BareCopySixFiles(benchmark::State& state) {
    const QString app = benchCatalogue(10);
    for (auto _ : state) {
        for (int k = 0; k <= 5; ++k)
            QFile::copy(plainPicturePath(app, 0, k), app + QStringLiteral("data/copy_%1.jpg").arg(k));
        state.PauseTiming();
        for (int k = 0; k <= 5; ++k) QFile::remove(app + QStringLiteral("data/copy_%1.jpg").arg(k));
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BareCopySixFiles)->Unit(benchmark::kMillisecond);

// Deleting the first face: every later face moves down one index.
void BM_DeleteFirstFace(benchmark::State& state) {
    const int count = int(state.range(0));
    const QString app = benchCatalogue(count);
    const QString ini = faceDataPath(app);
    const QByteArray iniBefore = readAll(ini);
    std::array<QByteArray, 6> lastFace;
    for (int k = 0; k <= 5; ++k) lastFace[k] = readAll(facePicturePath(app, count - 1, k));
    const std::vector<FaceAnswer> answersAfter = readFaceAnswers(app, count - 1);
    for (auto _ : state) {
        deleteFaceFiles(app, 0, count, answersAfter);
        state.PauseTiming();
        // Every face of the generated catalogue holds the same pictures, so
        // putting the last one back restores the catalogue.
        for (int k = 0; k <= 5; ++k) writeAll(facePicturePath(app, count - 1, k), lastFace[k]);
        writeAll(ini, iniBefore);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_DeleteFirstFace)->Arg(10)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond);

// The floor of that deletion: the same number of bare renames (six per
// later face) and six copies, by plain names.
void BM_BareRenamesOfADeletion(benchmark::State& state) {
    const int count = int(state.range(0));
    const QString app = benchCatalogue(count);
    for (auto _ : state) {
        for (int i = 1; i < count; ++i)
            for (int k = 0; k <= 5; ++k)
                QFile::rename(plainPicturePath(app, i, k), app + QStringLiteral("data/moved%1_%2.jpg").arg(i).arg(k));
        for (int k = 0; k <= 5; ++k)
            QFile::copy(plainPicturePath(app, 0, k), app + QStringLiteral("data/copy_%1.jpg").arg(k));
        state.PauseTiming();
        for (int i = 1; i < count; ++i)
            for (int k = 0; k <= 5; ++k)
                QFile::rename(app + QStringLiteral("data/moved%1_%2.jpg").arg(i).arg(k), plainPicturePath(app, i, k));
        for (int k = 0; k <= 5; ++k) QFile::remove(app + QStringLiteral("data/copy_%1.jpg").arg(k));
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BareRenamesOfADeletion)->Arg(10)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond);

// A freehand stroke of 2,000 points wandering over the face box.
OutlinePointList longStroke() {
    OutlinePointList points;
    for (int i = 0; i < 2000; ++i) {
        const double t = i * 0.02;
        points.emplace_back(150 + int(120 * std::cos(t) * std::sin(t * 0.37)), 112 + int(100 * std::sin(t)));
    }
    return points;
}

// One mouse move late in a long stroke: the picture redrawn over the face
// box and all 2,000 points drawn again as a dotted polyline.
void BM_StrokeMouseMove(benchmark::State& state) {
    const QImage photo = texturedPicture(1200, 900, 7);
    const QSize drawSize(300, 225);
    const OutlinePointList stroke = longStroke();
    QImage faceBox = blankFaceBox();
    for (auto _ : state) {
        redrawFaceBox(faceBox, photo, drawSize);
        drawDottedStroke(faceBox, stroke);
        benchmark::DoNotOptimize(faceBox.constBits());
    }
}
BENCHMARK(BM_StrokeMouseMove)->Unit(benchmark::kMicrosecond);

// The floor: one stretched draw of the picture into the face box.
void BM_BareStretchDraw(benchmark::State& state) {
    const QImage photo = texturedPicture(1200, 900, 7);
    QImage faceBox = blankFaceBox();
    for (auto _ : state) {
        stretchDraw(faceBox, QRect(0, 0, 300, 225), photo);
        benchmark::DoNotOptimize(faceBox.constBits());
    }
}
BENCHMARK(BM_BareStretchDraw)->Unit(benchmark::kMicrosecond);

}  // namespace

// main() comes from the bench support library.
