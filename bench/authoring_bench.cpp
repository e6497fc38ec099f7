// SPDX-License-Identifier: GPL-3.0-or-later
// What authoring costs: registering and deleting a face on catalogues of 10,
// 100, 500, 2,000 and 5,000 faces, and one mouse move of a 2,000-point freehand stroke, each
// timed alternately with its floor (floors.h; counters op_ms, floor_ms,
// x_floor).
// Through the window, a registration and a deletion are timed from the click
// to the face selection, with the longest wait of the window's thread.
#include "bench_support.h"
#include "floors.h"

#include "authoring/face_authoring.h"
#include "authoring/face_deleting.h"
#include "catalogue/catalogue_files.h"
#include "files/ini_file.h"
#include "files/watched_folder.h"
#include "main/stretch_watchdog.h"
#include "pictures/face_box_redraw.h"
#include "pictures/jpeg_codec.h"
#include "pictures/outline.h"
#include "pictures/stretch.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>

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

void renamePlain(const QString& from, const QString& to) {
    std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData());
}

// The benchmark catalogue as it was before an operation, to put it back
// while the clock is stopped.
struct CatalogueBefore {
    QString app;
    int count = 0;
    QByteArray settings;
    std::array<QByteArray, 6> firstFace;

    explicit CatalogueBefore(const QString& appDir, int faces) : app(appDir), count(faces) {
        settings = readAll(app + QStringLiteral("data/FaceData.ini"));
        for (int k = 0; k <= 5; ++k) firstFace[k] = readAll(plainPicturePath(app, 0, k));
    }
    // After face 0 went: every face takes back the pictures of the one before it.
    void restoreAfterDeletingTheFirst() const {
        for (int i = count - 1; i >= 1; --i)
            for (int k = 0; k <= 5; ++k) renamePlain(plainPicturePath(app, i - 1, k), plainPicturePath(app, i, k));
        for (int k = 0; k <= 5; ++k) writeAll(plainPicturePath(app, 0, k), firstFace[k]);
        writeAll(app + QStringLiteral("data/FaceData.ini"), settings);
    }
    void restoreAfterRegistering() const {
        for (int k = 0; k <= 5; ++k) QFile::remove(plainPicturePath(app, count, k));
        writeAll(app + QStringLiteral("data/FaceData.ini"), settings);
    }
};

// A registration on disk (registerFaceFiles), against its floor: the six
// pictures encoded on both cores, written synced under temporary names with
// the new settings, renamed into place, and one sync of the folder.
void BM_RegisterFace(benchmark::State& state) {
    const int count = int(state.range(0));
    const QString app = benchCatalogue(count);
    const QString data = app + QStringLiteral("data/");
    const CatalogueBefore before(app, count);
    const NewFacePictures face = newFace();
    const auto floor = [&] {
        std::array<QByteArray, 6> encoded;
        floorOnTwoThreads(6, [&](int k) { encoded[k] = encodeJpeg(face.pictures[k]); });
        const QByteArray settings = before.settings + "[" + QByteArray::number(count) + "]\r\nX1=70\r\nX2=170\r\n"
                                    "X3=125\r\nX4=110\r\nY1=70\r\nY2=70\r\nY3=110\r\nY4=160\r\n";
        for (int k = 0; k <= 5; ++k) floorWriteSynced(data + QStringLiteral(".new%1").arg(k), encoded[k]);
        floorWriteSynced(data + QStringLiteral(".new-settings"), settings);
        for (int k = 0; k <= 5; ++k) renamePlain(data + QStringLiteral(".new%1").arg(k), plainPicturePath(app, count, k));
        renamePlain(data + QStringLiteral(".new-settings"), data + QStringLiteral("FaceData.ini"));
        floorSyncFolder(data);
    };
    measureAgainstFloor(
        state, [&] { registerFaceFiles(app, count, face); }, floor, [&] { before.restoreAfterRegistering(); });
}
BENCHMARK(BM_RegisterFace)->Arg(10)->Arg(100)->Arg(500)->Arg(2000)->Arg(5000)->Iterations(21)->Unit(benchmark::kMillisecond)->UseManualTime();

// Deleting the first face on disk (deleteFaceFiles): every later face moves
// down one number. Its floor makes the same renames and syncs in plain calls:
// the old and new settings and a journal of the same size written synced,
// the deleted face's pictures and every later one renamed out to hidden
// names, the folder synced, the journal rewritten, every later picture
// renamed in one number down, the folder synced, the settings renamed into
// place and the folder synced, then the hidden leftovers removed.
void BM_DeleteFirstFace(benchmark::State& state) {
    const int count = int(state.range(0));
    const QString app = benchCatalogue(count);
    const QString data = app + QStringLiteral("data/");
    const CatalogueBefore before(app, count);
    std::vector<FaceAnswer> answersAfter = readFaceAnswers(app, count);
    answersAfter.erase(answersAfter.begin());
    const auto hidden = [&](int face, int kind) { return data + QStringLiteral(".moved%1_%2").arg(face).arg(kind); };
    // A journal as long as one that lists every rename.
    const QByteArray journal(12 * count * 40, 'j');
    const auto floor = [&] {
        // The game watches its data folder between changes (inotify), which
        // makes every rename there a little dearer; the floor's thousands of
        // renames are made unwatched. (The deletion after a floor then lists
        // the folder to watch it again, which the game does not need to.)
        stopWatching(catalogueFolder(app));
        floorWriteSynced(data + QStringLiteral(".old-settings"), before.settings);
        floorWriteSynced(data + QStringLiteral(".new-settings"), before.settings);
        floorWriteSynced(data + QStringLiteral(".journal"), journal);
        floorSyncFolder(data);
        for (int i = 0; i < count; ++i)
            for (int k = 0; k <= 5; ++k) renamePlain(plainPicturePath(app, i, k), hidden(i, k));
        floorSyncFolder(data);
        floorWriteSynced(data + QStringLiteral(".journal-2"), journal);
        renamePlain(data + QStringLiteral(".journal-2"), data + QStringLiteral(".journal"));
        floorSyncFolder(data);
        for (int i = 1; i < count; ++i)
            for (int k = 0; k <= 5; ++k) renamePlain(hidden(i, k), plainPicturePath(app, i - 1, k));
        floorSyncFolder(data);
        renamePlain(data + QStringLiteral(".new-settings"), data + QStringLiteral("FaceData.ini"));
        floorSyncFolder(data);
        for (int k = 0; k <= 5; ++k) QFile::remove(hidden(0, k));
        QFile::remove(data + QStringLiteral(".journal"));
        floorSyncFolder(data);
        QFile::remove(data + QStringLiteral(".old-settings"));
    };
    measureAgainstFloor(
        state, [&] { deleteFaceFiles(app, 0, count, answersAfter); }, floor,
        [&] { before.restoreAfterDeletingTheFirst(); });
}
BENCHMARK(BM_DeleteFirstFace)->Arg(10)->Arg(100)->Arg(500)->Arg(2000)->Arg(5000)->Iterations(9)->Unit(benchmark::kMillisecond)->UseManualTime();

// ---- Through the window ----

// Events handled until done() holds, then a little longer, so that the
// watchdog's last heartbeat is taken.
void processUntil(const std::function<bool()>& done) {
    while (!done()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 3) QApplication::processEvents();
}

void outlinePart(TForm1& form, int slot, QRect box) {
    switch (slot) {
    case 1: form.LblRMeMouseDown(Qt::LeftButton); break;
    case 2: form.LblLMeMouseDown(Qt::LeftButton); break;
    case 3: form.LblHanaMouseDown(Qt::LeftButton); break;
    default: form.LblKutiMouseDown(Qt::LeftButton); break;
    }
    form.ImgFace1MouseDown(Qt::LeftButton, box.left(), box.top());
    form.ImgFace1MouseMove(box.right(), box.top());
    form.ImgFace1MouseMove(box.right(), box.bottom());
    form.ImgFace1MouseMove(box.left(), box.bottom());
    form.ImgFace1MouseUp(Qt::LeftButton, box.left(), box.bottom());
}

// From the click on "登録" (four parts outlined on a 400 x 300 photograph)
// until the face selection is back with the new face.
void BM_WindowRegisterFace(benchmark::State& state) {
    const int count = int(state.range(0));
    const QString app = benchCatalogue(count);
    const CatalogueBefore before(app, count);
    const QString photo = app + QStringLiteral("photo.jpg");
    writeJpegFile(photo, texturedPicture(400, 300, 11));
    StretchWatchdog watchdog(0);
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto form = benchWindow(app, photo);
        form->A1Click();
        form->finishPendingWork();
        const QRect boxes[] = {{70, 70, 50, 40}, {170, 70, 50, 40}, {125, 110, 50, 50}, {110, 160, 80, 40}};
        for (int s = 1; s <= 4; ++s) outlinePart(*form, s, boxes[s - 1]);
        processUntil([] { return true; });
        watchdog.reset();
        state.ResumeTiming();
        form->BitBtnTorokuClick();
        processUntil([&] { return !form->faceAuthoring().adding(); });
        state.PauseTiming();
        longest = std::max(longest, watchdog.longestMilliseconds());
        if (form->catalogue.faceCount != count + 1) state.SkipWithError("the face was not registered");
        form.reset();
        before.restoreAfterRegistering();
        state.ResumeTiming();
    }
    state.counters["longest_wait_ms"] = longest;
}
BENCHMARK(BM_WindowRegisterFace)->Arg(10)->Arg(100)->Arg(500)->Arg(2000)->Arg(5000)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

// From the confirmed "削除" of face 0 until the face selection is back.
void BM_WindowDeleteFirstFace(benchmark::State& state) {
    const int count = int(state.range(0));
    const QString app = benchCatalogue(count);
    const CatalogueBefore before(app, count);
    StretchWatchdog watchdog(0);
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto form = benchWindow(app);
        form->D1Click();
        form->ImgFace0Click(0);
        processUntil([] { return true; });
        watchdog.reset();
        state.ResumeTiming();
        form->BitBtnTorokuClick();
        processUntil([&] { return !form->faceDeleting().active(); });
        state.PauseTiming();
        longest = std::max(longest, watchdog.longestMilliseconds());
        if (form->catalogue.faceCount != count - 1) state.SkipWithError("the face was not deleted");
        form.reset();
        before.restoreAfterDeletingTheFirst();
        state.ResumeTiming();
    }
    state.counters["longest_wait_ms"] = longest;
}
BENCHMARK(BM_WindowDeleteFirstFace)->Arg(10)->Arg(100)->Arg(500)->Arg(2000)->Arg(5000)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

// A 48-megapixel photograph (8000 x 6000, a camera's largest) chosen in
// 「顔の追加」: from the choice to the face box showing it, and the longest
// wait of the window's thread meanwhile. The face model is left out: this
// measures the photograph alone.
void BM_WindowChoose48MegapixelPhoto(benchmark::State& state) {
    const QString app = benchCatalogue(10);
    const QString photo = QDir::tempPath() + QStringLiteral("/pomurina-bench-48mp.jpg");
    if (!QFile::exists(photo)) writeJpegFile(photo, texturedPicture(8000, 6000, 5));
    auto form = benchWindow(app, photo);
    form->faceAuthoring().partFinder().setModelPath(app + QStringLiteral("no-model.dat"));
    StretchWatchdog watchdog(0);
    double longest = 0;
    for (auto _ : state) {
        state.PauseTiming();
        processUntil([] { return true; });
        watchdog.reset();
        state.ResumeTiming();
        form->A1Click();
        processUntil([&] { return form->faceAuthoring().adding(); });
        state.PauseTiming();
        longest = std::max(longest, watchdog.longestMilliseconds());
        if (form->faceAuthoring().state().drawHeight != 225) state.SkipWithError("the photograph was not shown");
        form->BitBtnCancelClick();
        state.ResumeTiming();
    }
    state.counters["longest_wait_ms"] = longest;
}
BENCHMARK(BM_WindowChoose48MegapixelPhoto)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

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
// box and all 2,000 points drawn again as a dotted polyline. The floor: the
// picture, fitted once, copied into the face box, and the same dotted line.
void BM_StrokeMouseMove(benchmark::State& state) {
    const QImage photo = texturedPicture(1200, 900, 7);
    const QImage fitted = stretchNearest(photo, 300, 225);
    const QSize drawSize(300, 225);
    const OutlinePointList stroke = longStroke();
    QImage faceBox = blankFaceBox();
    const auto repeat = [](const std::function<void()>& once) {
        for (int i = 0; i < 20; ++i) once();  // 20 moves a sample: long enough to time
    };
    measureAgainstFloor(
        state,
        [&] {
            repeat([&] {
                redrawFaceBox(faceBox, photo, drawSize);
                drawDottedStroke(faceBox, stroke);
            });
        },
        [&] {
            repeat([&] {
                {
                    QPainter p(&faceBox);
                    p.setCompositionMode(QPainter::CompositionMode_Source);
                    p.drawImage(0, 0, fitted);
                }
                drawDottedStroke(faceBox, stroke);
            });
        });
    benchmark::DoNotOptimize(faceBox.constBits());
}
BENCHMARK(BM_StrokeMouseMove)->Iterations(101)->Unit(benchmark::kMillisecond)->UseManualTime();

}  // namespace

// main() comes from the bench support library.
