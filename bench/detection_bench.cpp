// SPDX-License-Identifier: GPL-3.0-or-later
// What finding a face costs: loading the model (time and memory, and the
// memory given back when it is let go), the search and the proposal on a
// 3000 x 2000 photo and on the two test portraits, beside the bare dlib calls
// on the same 3000 x 2000 picture: the detector on the full picture and on
// the 1000-pixel copy, and one landmark fit.
#include "authoring/face_authoring.h"
#include "bench_support.h"
#include "board/board.h"
#include "detection/dlib_gray_picture.h"
#include "detection/face_model.h"
#include "detection/face_model_parts.h"
#include "detection/face_proposal.h"
#include "pictures/face_box_fit.h"
#include "pictures/jpeg_codec.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QThreadPool>
#include <ctime>
#include <benchmark/benchmark.h>

namespace {

QImage testPhoto(const char* name) {
    return QImage(QStringLiteral(POMURINA_TEST_PHOTOS "/") + QLatin1String(name))
        .convertToFormat(QImage::Format_RGB32);
}

// A 3000 x 2000 photograph: the astronaut three times her size (a face of
// about 260 pixels) on a textured background, so the detector has gradients
// to look at everywhere.
const QImage& largePhoto() {
    static const QImage photo = [] {
        QImage picture(3000, 2000, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x)
                row[x] = qRgb(120 + (x * 7 + y * 3) % 60, 110 + ((x / 9) ^ (y / 7)) % 50, 140 + (x * y / 97) % 40);
        }
        QPainter(&picture).drawImage(QRect(700, 250, 1536, 1536), testPhoto("astronaut.png"));
        return picture;
    }();
    return photo;
}

const FaceModel& model() {
    static const std::shared_ptr<const FaceModel> loaded = FaceModel::load(kFaceModelPath);
    return *loaded;
}

// The process's resident memory in MB.
double residentMegabytes() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096 / (1024 * 1024) : 0;
}

void BM_LoadModel(benchmark::State& state) {
    double grown = 0, kept = 0;
    for (auto _ : state) {
        const double before = residentMegabytes();
        std::shared_ptr<const FaceModel> loaded = FaceModel::load(kFaceModelPath);
        grown += residentMegabytes() - before;
        loaded.reset();
        kept += residentMegabytes() - before;
    }
    state.counters["loaded_MB"] = benchmark::Counter(grown, benchmark::Counter::kAvgIterations);
    state.counters["after_release_MB"] = benchmark::Counter(kept, benchmark::Counter::kAvgIterations);
}

// Arg: 0 the 3000 x 2000 photo, 1 the astronaut, 2 Grace Hopper.
QImage photoOf(int which) {
    if (which == 0) return largePhoto();
    return testPhoto(which == 1 ? "astronaut.png" : "grace_hopper.jpg");
}

void BM_FindFaces(benchmark::State& state) {
    const QImage photo = photoOf(int(state.range(0)));
    model();
    for (auto _ : state) benchmark::DoNotOptimize(findFaces(model(), photo));
}

void BM_ProposeFace(benchmark::State& state) {
    const QImage photo = photoOf(int(state.range(0)));
    const FoundFace face = findFaces(model(), photo).faces.at(0);
    const QSize drawSize = fitIntoFaceBox(photo.width(), photo.height());
    for (auto _ : state) benchmark::DoNotOptimize(proposeFace(photo, drawSize, face, false));
}

// The whole click: search, then the proposal for the best face.
void BM_ClickToOutlines(benchmark::State& state) {
    const QImage photo = photoOf(int(state.range(0)));
    const QSize drawSize = fitIntoFaceBox(photo.width(), photo.height());
    model();
    for (auto _ : state) {
        const FaceSearch search = findFaces(model(), photo);
        benchmark::DoNotOptimize(proposeFace(photo, drawSize, search.faces.at(0), false));
    }
}

// The bare dlib calls, on pictures converted beforehand.
void BM_BareDetectorFullPicture(benchmark::State& state) {
    const auto gray = dlibGrayPicture(largePhoto());
    for (auto _ : state) benchmark::DoNotOptimize(model().parts().detector(gray));
}

QImage searchCopy() {
    return largePhoto().scaled(1000, 667, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void BM_BareDetector1000(benchmark::State& state) {
    const auto gray = dlibGrayPicture(searchCopy());
    for (auto _ : state) benchmark::DoNotOptimize(model().parts().detector(gray));
}

void BM_BareLandmarkFit(benchmark::State& state) {
    const auto gray = dlibGrayPicture(searchCopy());
    const std::vector<dlib::rectangle> faces = model().parts().detector(gray);
    for (auto _ : state) benchmark::DoNotOptimize(model().parts().landmarks(gray, faces.at(0)));
}

// What the search adds around the detector: the 1000-pixel grey copy.
void BM_SearchCopy(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(dlibGrayPicture(searchCopy()));
}

// The game's window, authoring photo `which` (written as a JPEG and chosen in
// the picture dialog), its model loaded.
struct AuthoringWindow {
    QTemporaryDir dir;
    std::unique_ptr<TForm1> form;
    explicit AuthoringWindow(int which) {
        const QString path = dir.filePath(QStringLiteral("photo.jpg"));
        writeJpegFile(path, photoOf(which));
        form = benchWindow(benchCatalogue(10), path);
        form->A1Click();
        form->finishPendingWork();
        while (!form->faceAuthoring().partFinder().modelReady()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    // Runs the event loop until the search started by a click has ended;
    // reports the longest the window's thread computed for one turn of its
    // event loop (its own CPU time, so waiting for events does not count).
    qint64 clickAndWait() {
        qint64 start = threadCpuNanoseconds();
        form->BitBtnZidoClick();
        qint64 longest = threadCpuNanoseconds() - start;
        while (form->faceAuthoring().partFinder().searching()) {
            start = threadCpuNanoseconds();
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
            longest = std::max(longest, threadCpuNanoseconds() - start);
        }
        start = threadCpuNanoseconds();
        QApplication::processEvents();  // the repaint of the outlined face
        return std::max(longest, threadCpuNanoseconds() - start);
    }
    static qint64 threadCpuNanoseconds() {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
    }
};

// The click in the window: from the press of 「自動で囲む」 to the four
// outlines on the face box, the search on a worker thread; and the longest
// stretch the window's thread was busy meanwhile (taking the proposal over,
// or an event of its own).
void BM_WindowClickToOutlines(benchmark::State& state) {
    AuthoringWindow window(int(state.range(0)));
    qint64 longest = 0;
    for (auto _ : state) longest = std::max(longest, window.clickAndWait());
    state.counters["window_thread_longest_ms"] = double(longest) / 1e6;
}

// The window's own part of a proposal: taking the zoom and the outlines over,
// cutting the part pictures and painting them.
void BM_WindowTakesProposalOver(benchmark::State& state) {
    AuthoringWindow window(int(state.range(0)));
    window.clickAndWait();
    PartFinder& finder = window.form->faceAuthoring().partFinder();
    for (auto _ : state) finder.onChosen(0);
}

// Ten quick visits to the authoring (「顔の追加」 and at once 「キャンセル」),
// then an eleventh: how long 「自動で囲む」 shows 「準備中…」 before it can be
// pressed.
void BM_WindowEleventhVisitAfterTenQuickOnes(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("photo.jpg"));
    writeJpegFile(path, testPhoto("astronaut.png"));
    for (auto _ : state) {
        state.PauseTiming();
        QThreadPool::globalInstance()->waitForDone();
        auto form = benchWindow(benchCatalogue(10), path);
        for (int i = 0; i < 10; ++i) {
            form->A1Click();
            form->finishPendingWork();
            form->BitBtnCancelClick();
        }
        state.ResumeTiming();
        form->A1Click();
        form->finishPendingWork();
        while (!form->BitBtnZido->isEnabled()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(BM_WindowClickToOutlines)->Unit(benchmark::kMillisecond)->DenseRange(0, 2)->UseRealTime();
BENCHMARK(BM_WindowTakesProposalOver)->Unit(benchmark::kMillisecond)->DenseRange(0, 2);
BENCHMARK(BM_WindowEleventhVisitAfterTenQuickOnes)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_LoadModel)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FindFaces)->Unit(benchmark::kMillisecond)->DenseRange(0, 2);
BENCHMARK(BM_ProposeFace)->Unit(benchmark::kMillisecond)->DenseRange(0, 2);
BENCHMARK(BM_ClickToOutlines)->Unit(benchmark::kMillisecond)->DenseRange(0, 2);
BENCHMARK(BM_BareDetectorFullPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareDetector1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareLandmarkFit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchCopy)->Unit(benchmark::kMillisecond);

// main() comes from the bench support library.
