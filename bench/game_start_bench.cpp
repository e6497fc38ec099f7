// Start-up to the face selection, and a game start (click to Placing), each
// beside the bare libjpeg decode of the pictures they must read.
#include "bench_support.h"

#include "board/image_control.h"
#include "catalogue/catalogue_files.h"
#include "pictures/jpeg_codec.h"

#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <benchmark/benchmark.h>

namespace {

void BM_BareDecode_Thumbnails(benchmark::State& state) {
    const QString app = benchCatalogue(int(state.range(0)));
    for (auto _ : state)
        for (int i = 0; i < state.range(0); ++i) benchmark::DoNotOptimize(decodeJpegFile(facePicturePath(app, i, 0)));
}

// An empty main window of the game's size with a menu bar, shown and painted.
void BM_BareWindowShown(benchmark::State& state) {
    for (auto _ : state) {
        QMainWindow w;
        w.menuBar()->addMenu(QStringLiteral("メニュー"));
        auto* client = new QWidget;
        client->setFixedSize(722, 524);
        w.setCentralWidget(client);
        w.show();
        QApplication::processEvents();
        w.repaint();
    }
}

void BM_StartUpToFaceSelect(benchmark::State& state) {
    const QString app = benchCatalogue(int(state.range(0)));
    for (auto _ : state) {
        auto form = benchWindow(app);
        benchmark::DoNotOptimize(form.get());
    }
}

void BM_BareDecode_GameStart(benchmark::State& state) {
    const int n = int(state.range(0));
    const QString app = benchCatalogue(n);
    for (auto _ : state) {
        for (int i = 0; i < n; ++i)
            for (int s = 1; s <= 4; ++s) benchmark::DoNotOptimize(decodeJpegFile(facePicturePath(app, i, s)));
        benchmark::DoNotOptimize(decodeJpegFile(facePicturePath(app, 0, 5)));
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

BENCHMARK(BM_BareDecode_Thumbnails)->Arg(10)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareWindowShown)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StartUpToFaceSelect)->Arg(10)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareDecode_GameStart)->Arg(10)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GameStart)->Arg(10)->Arg(100)->Arg(500)->Unit(benchmark::kMillisecond);
