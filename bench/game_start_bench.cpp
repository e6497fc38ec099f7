// Start-up to a complete face selection, and a game start (click to Placing,
// painted), each beside its floor (floors.h): the pictures they must show,
// read by plain names and decoded on both cores, thumbnails DCT-scaled to
// the size they are drawn at.
#include "bench_support.h"
#include "floors.h"

#include "board/image_control.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <benchmark/benchmark.h>
#include <vector>

namespace {

const QSize kThumbnailBox(100, 140);

QString picturePath(const QString& app, int face, int kind) {
    return app + QStringLiteral("data/face%1_%2.jpg").arg(face).arg(kind);
}

// A bare window of the game's size with a menu bar, shown and painted, and
// every thumbnail read and decoded at its drawn size on both cores.
void BM_Floor_FaceSelection(benchmark::State& state) {
    const int n = int(state.range(0));
    const QString app = benchCatalogue(n);
    for (auto _ : state) {
        QMainWindow w;
        w.menuBar()->addMenu(QStringLiteral("メニュー"));
        auto* client = new QWidget;
        client->setFixedSize(722, 524);
        w.setCentralWidget(client);
        w.show();
        QApplication::processEvents();
        std::vector<QImage> thumbnails(n);
        floorOnTwoThreads(n, [&](int i) {
            thumbnails[i] = floorDecodeThumbnail(floorRead(picturePath(app, i, 0)), kThumbnailBox);
        });
        w.repaint();
        benchmark::DoNotOptimize(thumbnails.data());
    }
}

void BM_StartUpToFaceSelect(benchmark::State& state) {
    const QString app = benchCatalogue(int(state.range(0)));
    for (auto _ : state) {
        auto form = benchWindow(app);
        benchmark::DoNotOptimize(form.get());
    }
}

// The 4 x N part pictures and the chosen face's board, read and decoded at
// full size on both cores.
void BM_Floor_GameStart(benchmark::State& state) {
    const int n = int(state.range(0));
    const QString app = benchCatalogue(n);
    for (auto _ : state) {
        std::vector<QImage> pictures(4 * n + 1);
        floorOnTwoThreads(4 * n + 1, [&](int k) {
            const QString path = k == 4 * n ? picturePath(app, 0, 5) : picturePath(app, k / 4, 1 + k % 4);
            pictures[k] = floorDecode(floorRead(path));
        });
        benchmark::DoNotOptimize(pictures.data());
    }
}

void BM_GameStart(benchmark::State& state) {
    const QString app = benchCatalogue(int(state.range(0)));
    auto form = benchWindow(app);
    for (auto _ : state) {
        form->ImgFace0Click(form->Thumbnails[0]);
        QApplication::processEvents();  // the palettes are painted as a player sees them
        state.PauseTiming();
        form->BitBtnCancelClick();
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(BM_Floor_FaceSelection)->Arg(10)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StartUpToFaceSelect)->Arg(10)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Floor_GameStart)->Arg(10)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_GameStart)->Arg(10)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond)->UseRealTime();
