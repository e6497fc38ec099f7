// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up to a complete face selection, and a game start (click to Placing,
// painted; against a second floor, also the same screen shown and painted
// by plain widgets), each timed alternately with its floor (floors.h): the pictures
// their first screen shows (for a game, of faces dealt at random, as the
// game deals them), read by plain names and decoded on both cores,
// thumbnails and palette parts DCT-scaled to the size they are drawn at. Read the counters: op_ms,
// floor_ms and their median ratio x_floor.
#include "bench_support.h"
#include "floors.h"

#include "board/image_control.h"
#include "main/stretch_watchdog.h"

#include "board/board_texts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <array>
#include <random>
#include <utility>
#include <vector>

namespace {

const QSize kThumbnailBox(100, 140);

QString picturePath(const QString& app, int face, int kind) {
    return app + QStringLiteral("data/face%1_%2.jpg").arg(face).arg(kind);
}

// What the first screen of the face selection shows: three rows of five.
constexpr int kFirstScreenThumbnails = 15;
// And the first screen of a palette: five rows of three.
constexpr int kFirstScreenParts = 15;

// The floor of start-up: a bare window of the game's size with a menu bar,
// shown and painted, and the thumbnails of the first screen read and decoded
// at their drawn size on both cores. With readSettings, the catalogue's
// settings too (FaceData.ini: the count and every face's answers), read once
// and parsed in one pass, as a plain program that needs them would.
void floorFaceSelection(const QString& app, int n, bool readSettings) {
    if (readSettings) {
        static const std::vector<QByteArray> keys = {"COUNT", "X1", "X2", "X3", "X4", "Y1", "Y2", "Y3", "Y4"};
        benchmark::DoNotOptimize(floorReadNumberedSections(floorRead(app + QStringLiteral("data/FaceData.ini")), keys));
    }
    n = std::min(n, kFirstScreenThumbnails);
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

// The faces a deal puts on the first screen of one palette: up to shown of
// them, any but the chosen face, each equally likely. The game's deal is
// random, so with thousands of faces their parts are seldom in memory; a
// floor that read the same few faces every time would read them from memory.
std::vector<int> dealtFaces(int n, int chosen, int shown, std::mt19937& random) {
    std::vector<int> others;
    for (int f = 0; f < n; ++f)
        if (f != chosen) others.push_back(f);
    shown = std::min(shown, int(others.size()));
    for (int i = 0; i < shown; ++i) {
        std::uniform_int_distribution<int> pick(i, int(others.size()) - 1);
        std::swap(others[size_t(i)], others[size_t(pick(random))]);
    }
    others.resize(size_t(shown));
    return others;
}

// The floor of a game start: what its first screen shows. The chosen face's
// four parts (their sizes set the palettes' squares) and its board at full
// size, then the parts of each palette's first screen, dealt as a game deals
// them, decoded DCT-scaled to the square they are drawn in, on both cores.
// Returns the board and the first palette's parts, the pictures in front.
std::pair<QImage, std::vector<QImage>> floorGameStart(const QString& app, int n, std::mt19937& random) {
    std::vector<QImage> own(5);
    floorOnTwoThreads(5, [&](int k) { own[k] = floorDecode(floorRead(picturePath(app, 0, k == 4 ? 5 : k + 1))); });
    std::array<QSize, 4> squares;
    for (int s = 0; s < 4; ++s) {
        const int side = std::max(own[s].width(), own[s].height());
        squares[s] = QSize(side, side);
    }
    std::vector<std::pair<int, int>> parts;  // face, palette
    for (int s = 0; s < 4; ++s)
        for (int face : dealtFaces(n, 0, kFirstScreenParts, random)) parts.emplace_back(face, s);
    std::vector<QImage> pictures(parts.size());
    floorOnTwoThreads(int(parts.size()), [&](int k) {
        const auto [face, s] = parts[size_t(k)];
        pictures[size_t(k)] = floorDecodeThumbnail(floorRead(picturePath(app, face, 1 + s)), squares[size_t(s)]);
    });
    pictures.resize(std::min(pictures.size(), size_t(kFirstScreenParts)));
    return {own[4], pictures};
}

// Pictures painted where they are put.
class PlainPictures : public QWidget {
public:
    using QWidget::QWidget;
    std::vector<std::pair<QPoint, QImage>> pictures;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        for (const auto& [at, picture] : pictures) p.drawImage(at, picture);
    }
};

// The screen a game start shows, of Qt's plain widgets at the game's places
// and sizes: the window with its menus, the board, the four palette tabs
// (the first showing its first screen of cells), the prompt and the two
// buttons, in place of a face selection. Built once, as the game's window
// is; a floor shows it with the pictures just decoded.
class PlainGameScreen {
public:
    PlainGameScreen() {
        for (const char* menu : {"顔の追加/削除(&F)", "遊び方(&G)", "BGM(&B)", "ヘルプ(&H)"})
            window_.menuBar()->addMenu(QString::fromUtf8(menu))->addAction(QStringLiteral("…"));
        auto* client = new QWidget;
        client->setFixedSize(722, 524);
        window_.setCentralWidget(client);
        selection_ = new QScrollArea(client);
        selection_->setGeometry(8, 48, 706, 470);
        prompt_ = new QLabel(Texts::ChooseFace, client);
        QFont big = prompt_->font();
        big.setPointSize(14);
        big.setBold(true);
        prompt_->setFont(big);
        prompt_->setGeometry(32, 8, 457, 42);
        board_ = new PlainPictures(client);
        board_->setGeometry(8, 120, 300, 300);
        tabs_ = new QTabWidget(client);
        tabs_->setGeometry(312, 48, 401, 449);
        for (int s = 1; s <= 4; ++s) {
            auto* box = new QScrollArea;
            auto* cells = new PlainPictures;
            cells->resize(379, 90 * 1700);
            box->setWidget(cells);
            tabs_->addTab(box, Texts::partKind(s));
            if (s == 1) firstPalette_ = cells;
        }
        judge_ = new QPushButton(Texts::Hantei, client);
        judge_->setGeometry(520, 8, 81, 33);
        cancel_ = new QPushButton(Texts::Cancel, client);
        cancel_->setGeometry(620, 8, 81, 33);
        leave();
        window_.show();
        QApplication::processEvents();
    }

    // From the face selection to the game's screen, painted.
    void show(const QImage& board, const std::vector<QImage>& parts) {
        board_->pictures = {{QPoint(0, 0), board}};
        firstPalette_->pictures.clear();
        for (size_t i = 0; i < parts.size(); ++i)
            firstPalette_->pictures.emplace_back(QPoint(8 + int(i % 3) * 130, 10 + int(i / 3) * 90), parts[i]);
        selection_->hide();
        prompt_->setText(Texts::PlacingPrompt);
        for (QWidget* w : std::initializer_list<QWidget*>{board_, tabs_, judge_, cancel_}) w->show();
        QApplication::processEvents();
    }

    void leave() {
        for (QWidget* w : std::initializer_list<QWidget*>{board_, tabs_, judge_, cancel_}) w->hide();
        prompt_->setText(Texts::ChooseFace);
        selection_->show();
        QApplication::processEvents();
    }

private:
    QMainWindow window_;
    QScrollArea* selection_ = nullptr;
    QLabel* prompt_ = nullptr;
    PlainPictures* board_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    PlainPictures* firstPalette_ = nullptr;
    QPushButton* judge_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

// From nothing to the face selection complete (every thumbnail in), shown
// and painted; the title's ticks are called at once. Against the floor of
// start-up alone, or (OnePassFloor) with the settings read in one pass too.
void startUp(benchmark::State& state, bool readSettings) {
    const int n = int(state.range(0));
    const QString app = benchCatalogue(n);
    std::unique_ptr<TForm1> form;
    measureAgainstFloor(
        state, [&] { form = benchWindow(app); }, [&] { floorFaceSelection(app, n, readSettings); },
        [&] { form.reset(); });
}

void BM_StartUpToFaceSelect(benchmark::State& state) { startUp(state, false); }
void BM_StartUpToFaceSelectOnePassFloor(benchmark::State& state) { startUp(state, true); }

// A click on thumbnail 0 until the palettes and the board are painted, and
// the longest wait of the window's thread meanwhile. The floor decodes what
// the first screen shows; with shown, it also shows that screen (a plain
// one, PlainGameScreen) and paints it.
void gameStart(benchmark::State& state, bool shown) {
    const int n = int(state.range(0));
    const QString app = benchCatalogue(n);
    auto form = benchWindow(app);
    std::unique_ptr<PlainGameScreen> plain;
    if (shown) plain = std::make_unique<PlainGameScreen>();
    bool started = false;
    StretchWatchdog watchdog(0);
    double longest = 0;
    // Seeded anew on every run, as the game's deal is from the clock.
    std::mt19937 random(std::random_device{}());
    measureAgainstFloor(
        state,
        [&] {
            watchdog.reset();
            form->ImgFace0Click(0);
            // The pictures may be decoded behind the window: the game shows
            // once they are in, and is painted as a player sees it.
            while (!form->ImgFace1->isVisible()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
            QApplication::processEvents();
            started = true;
        },
        [&] {
            const auto [board, parts] = floorGameStart(app, n, random);
            if (plain) plain->show(board, parts);
        },
        [&] {
            if (plain) plain->leave();
            if (!started) return;
            started = false;
            // The watchdog's last heartbeat is taken before the game is left.
            QElapsedTimer settle;
            settle.start();
            while (settle.elapsed() < 3) QApplication::processEvents();
            longest = std::max(longest, watchdog.longestMilliseconds());
            form->BitBtnCancelClick();
            QApplication::processEvents();
        });
    state.counters["longest_wait_ms"] = longest;
}

void BM_GameStart(benchmark::State& state) { gameStart(state, false); }
void BM_GameStartShownFloor(benchmark::State& state) { gameStart(state, true); }

}  // namespace

BENCHMARK(BM_StartUpToFaceSelect)->Arg(10)->Arg(100)->Arg(500)->Iterations(15)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_StartUpToFaceSelect)->Arg(2000)->Arg(5000)->Arg(10000)->Iterations(5)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_StartUpToFaceSelectOnePassFloor)->Arg(500)->Iterations(15)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_StartUpToFaceSelectOnePassFloor)->Arg(5000)->Arg(10000)->Iterations(9)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_GameStart)->Arg(10)->Arg(100)->Arg(500)->Iterations(41)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_GameStart)->Arg(2000)->Arg(5000)->Iterations(9)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_GameStartShownFloor)->Arg(10)->Arg(500)->Iterations(41)->Unit(benchmark::kMillisecond)->UseManualTime();
BENCHMARK(BM_GameStartShownFloor)->Arg(2000)->Arg(5000)->Iterations(9)->Unit(benchmark::kMillisecond)->UseManualTime();
