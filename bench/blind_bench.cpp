// SPDX-License-Identifier: GPL-3.0-or-later
// The cloth of a blindfolded game: its redraw while a part is being dragged,
// beside the redraw of one palette, which a seeing game pays on every scroll
// (each drawn with its children into an off-screen picture, so both pay the
// same painting and neither depends on the window system's buffering); and
// drawing the cloth once at the start of a game. One frame at 120 Hz is
// 8.3 ms; the cloth's redraw should cost no more than the palette's.
#include "bench_support.h"

#include "board/image_control.h"
#include "board/scroll_box.h"
#include "board/ui_fonts.h"
#include "play/cloth.h"
#include "play/game_screen.h"

#include <QAction>
#include <QApplication>
#include <QTabWidget>
#include <benchmark/benchmark.h>

namespace {

// A game on face 0 with the right-eye palette in front.
std::unique_ptr<TForm1> gameWindow(int faces, bool blindfolded) {
    auto form = benchWindow(benchCatalogue(faces));
    // Set without the menu handler, so the shared catalogue gets no Play.ini.
    form->Blind1->setChecked(blindfolded);
    form->ImgFace0Click(0);
    form->finishPendingWork();
    if (blindfolded)
        for (int i = 0; i < 3; ++i) form->BlindTimerTimer();
    QApplication::processEvents();
    return form;
}

void BM_PaletteRedraw(benchmark::State& state) {
    auto form = gameWindow(int(state.range(0)), false);
    if (!form->SBRMe->isVisible()) state.SkipWithError("no palette");
    QImage target(form->SBRMe->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) form->SBRMe->render(&target);
}

void BM_ClothRedrawDuringDrag(benchmark::State& state) {
    auto form = gameWindow(int(state.range(0)), true);
    if (!form->ImgMekakushi->isVisible()) state.SkipWithError("no cloth");
    // A nose taken from its palette: the drag stays open for the whole run.
    form->PageControl1->setCurrentIndex(2);
    form->PartsMouseDown(PartRef{3, 1}, Qt::LeftButton, 1, 1);
    if (!form->game().state().dragging) state.SkipWithError("no drag");
    QImage target(form->ImgMekakushi->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) form->ImgMekakushi->render(&target);
    if (QWidget* grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
}

void BM_DrawCloth(benchmark::State& state) {
    const QFont font = uiFontPixels(24, true);
    for (auto _ : state) benchmark::DoNotOptimize(drawCloth(QSize(260, 300), font));
}

}  // namespace

BENCHMARK(BM_PaletteRedraw)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClothRedrawDuringDrag)->Arg(10)->Arg(100)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DrawCloth)->Unit(benchmark::kMicrosecond);
