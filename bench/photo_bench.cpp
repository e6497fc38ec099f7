// SPDX-License-Identifier: GPL-3.0-or-later
// Photographs from phones: a 12-megapixel HEIC (4032 x 3024, stored sideways
// with the container's quarter turn, in Display P3) and a 12-megapixel JPEG
// (the same, Exif orientation 6, with a Display P3 ICC profile and without),
// each decoded as
// 「顔の追加」 decodes it (decodePhotoFile: read, kind told, decoded, turned
// upright, converted to sRGB, made RGB32), timed alternately with its floor:
// the library's own decode and turn at the same size (libheif's decode with
// its transformations into RGB; libjpeg-turbo's full decode and Qt's quarter
// turn), after a plain read of the file. Through the window, each is chosen
// in 「顔の追加」 and the longest wait of the window's thread is reported until
// the face box shows it.
#include "bench_support.h"
#include "floors.h"

#include "authoring/face_authoring.h"
#include "detection/face_search.h"
#include "main/stretch_watchdog.h"
#include "pictures/jpeg_codec.h"
#include "pictures/photo_decoding.h"
#include "pictures/picture_limits.h"

#include <QApplication>
#include <QColorSpace>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QRadialGradient>
#include <QtEndian>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <ctime>
#include <random>

#include <libheif/heif.h>

namespace {

constexpr int kWidth = 4032, kHeight = 3024;

// Something like a photograph: soft gradients, a few blurred shapes and
// sensor noise, so that the coded file has a phone's size and detail.
QImage phoneScene() {
    QImage scene(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&scene);
    QLinearGradient sky(0, 0, 0, kHeight);
    sky.setColorAt(0, QColor(120, 160, 210));
    sky.setColorAt(1, QColor(210, 190, 160));
    painter.fillRect(scene.rect(), sky);
    std::mt19937 random(7);
    for (int i = 0; i < 40; ++i) {
        const QPointF centre(random() % kWidth, random() % kHeight);
        QRadialGradient blob(centre, 150 + random() % 500);
        blob.setColorAt(0, QColor(random() % 256, random() % 256, random() % 256, 200));
        blob.setColorAt(1, Qt::transparent);
        painter.fillRect(scene.rect(), blob);
    }
    painter.end();
    for (int y = 0; y < kHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(scene.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            const int n = int(random() % 9) - 4;
            const QRgb c = row[x];
            row[x] = qRgb(qBound(0, qRed(c) + n, 255), qBound(0, qGreen(c) + n, 255), qBound(0, qBlue(c) + n, 255));
        }
    }
    return scene;
}

QByteArray exifOrientationSix() {
    QByteArray tiff("II*\0\x08\0\0\0\x01\0", 10);
    tiff += QByteArray::fromHex("1201" "0300" "01000000" "0600" "0000") + QByteArray(4, '\0');
    return QByteArray("Exif\0\0", 6) + tiff;
}

QByteArray segment(char marker, const QByteArray& payload) {
    QByteArray length(2, '\0');
    qToBigEndian(quint16(payload.size() + 2), length.data());
    return QByteArray("\xff") + marker + length + payload;
}

QString fixture(const char* name) { return QDir::tempPath() + QStringLiteral("/pomurina-bench-") + QLatin1String(name); }

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

// The JPEG a phone writes of a portrait: stored sideways, Exif 6, in Display
// P3 (an iPhone's) or sRGB without a profile (most others').
QString phoneJpegFile(bool displayP3) {
    const QString path = fixture(displayP3 ? "12mp-exif6-p3.jpg" : "12mp-exif6.jpg");
    if (QFile::exists(path)) return path;
    const QByteArray coded = encodeJpeg(phoneScene());
    const QByteArray icc = QColorSpace(QColorSpace::DisplayP3).iccProfile();
    writeFile(path, coded.left(2) + segment('\xe1', exifOrientationSix()) +
                        (displayP3 ? segment('\xe2', QByteArray("ICC_PROFILE\0\1\1", 14) + icc) : QByteArray()) +
                        coded.mid(2));
    return path;
}

heif_error appendTo(heif_context*, const void* data, size_t size, void* sink) {
    static_cast<QByteArray*>(sink)->append(static_cast<const char*>(data), qsizetype(size));
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
}

// The HEIC a phone writes of a portrait: stored sideways with the
// container's quarter turn, Display P3. (x265's fastest preset: encoding
// 12 megapixels takes long enough even so; the file is kept between runs.)
QString phoneHeicFile() {
    const QString path = fixture("12mp-turned-p3.heic");
    if (QFile::exists(path)) return path;
    const QImage scene = phoneScene();
    heif_context* context = heif_context_alloc();
    heif_encoder* encoder = nullptr;
    heif_context_get_encoder_for_format(context, heif_compression_HEVC, &encoder);
    heif_encoder_set_lossy_quality(encoder, 85);
    heif_encoder_set_parameter_string(encoder, "preset", "ultrafast");
    heif_image* image = nullptr;
    heif_image_create(kWidth, kHeight, heif_colorspace_RGB, heif_chroma_interleaved_RGB, &image);
    heif_image_add_plane(image, heif_channel_interleaved, kWidth, kHeight, 8);
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(image, heif_channel_interleaved, &stride);
    for (int y = 0; y < kHeight; ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(scene.constScanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            uint8_t* p = plane + y * stride + x * 3;
            p[0] = uint8_t(qRed(row[x])), p[1] = uint8_t(qGreen(row[x])), p[2] = uint8_t(qBlue(row[x]));
        }
    }
    const QByteArray icc = QColorSpace(QColorSpace::DisplayP3).iccProfile();
    heif_image_set_raw_color_profile(image, "prof", icc.constData(), size_t(icc.size()));
    heif_encoding_options* options = heif_encoding_options_alloc();
    options->image_orientation = heif_orientation_rotate_90_cw;
    heif_context_encode_image(context, image, encoder, options, nullptr);
    QByteArray bytes;
    heif_writer writer{1, appendTo};
    heif_context_write(context, &writer, &bytes);
    heif_encoding_options_free(options);
    heif_image_release(image);
    heif_encoder_release(encoder);
    heif_context_free(context);
    writeFile(path, bytes);
    return path;
}

void decodeAgainstFloor(benchmark::State& state, const QString& path, const std::function<void()>& floor) {
    QSize shown;
    measureAgainstFloor(
        state,
        [&] { shown = decodePhotoFile(path, kPhotographUsedLongSide, kPhotographMaxPixels).picture.size(); },
        floor);
    if (shown != QSize(kHeight, kWidth)) state.SkipWithError("the photograph was not decoded upright");
    state.counters["file_mb"] = double(QFile(path).size()) / (1 << 20);
}

void BM_DecodePhoneHeic12Megapixels(benchmark::State& state) {
    const QString path = phoneHeicFile();
    decodeAgainstFloor(state, path, [&] {
        const QByteArray bytes = floorRead(path);
        heif_context* context = heif_context_alloc();
        heif_context_read_from_memory_without_copy(context, bytes.constData(), size_t(bytes.size()), nullptr);
        heif_image_handle* handle = nullptr;
        heif_context_get_primary_image_handle(context, &handle);
        heif_image* image = nullptr;
        heif_decode_image(handle, &image, heif_colorspace_RGB, heif_chroma_interleaved_RGB, nullptr);
        benchmark::DoNotOptimize(heif_image_get_plane_readonly(image, heif_channel_interleaved, nullptr));
        heif_image_release(image);
        heif_image_handle_release(handle);
        heif_context_free(context);
    });
}
BENCHMARK(BM_DecodePhoneHeic12Megapixels)->Iterations(7)->Unit(benchmark::kMillisecond)->UseManualTime();

// Argument 1: in Display P3, whose conversion to sRGB the floor does not do;
// 0: in sRGB.
void BM_DecodePhoneJpeg12Megapixels(benchmark::State& state) {
    const QString path = phoneJpegFile(state.range(0) != 0);
    decodeAgainstFloor(state, path, [&] {
        const QImage stored = floorDecode(floorRead(path));
        benchmark::DoNotOptimize(stored.transformed(QTransform().rotate(90)).constBits());
    });
}
BENCHMARK(BM_DecodePhoneJpeg12Megapixels)->Arg(1)->Arg(0)->Iterations(15)->Unit(benchmark::kMillisecond)->UseManualTime();

// ---- Through the window ----

void processUntil(const std::function<bool()>& done) {
    while (!done()) QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 3) QApplication::processEvents();
}

double threadCpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// From the choice in 「顔の追加」 to the face box showing the photograph, the
// longest wait of the window's thread meanwhile and (window_cpu_ms) the most
// processor time that thread spent on one choice: on a machine whose cores
// are all busy the first includes the time others' work took the processor
// from the window, the second is the window's own work. The face model is
// left out: this measures the photograph alone.
void chooseThroughTheWindow(benchmark::State& state, const QString& photo) {
    const QString app = benchCatalogue(10);
    auto form = benchWindow(app, photo);
    form->faceAuthoring().partFinder().setModelPath(app + QStringLiteral("no-model.dat"));
    StretchWatchdog watchdog(0);
    double longest = 0, windowCpu = 0;
    for (auto _ : state) {
        state.PauseTiming();
        processUntil([] { return true; });
        watchdog.reset();
        const double cpuBefore = threadCpuMilliseconds();
        state.ResumeTiming();
        form->A1Click();
        processUntil([&] { return form->faceAuthoring().adding(); });
        state.PauseTiming();
        longest = std::max(longest, watchdog.longestMilliseconds());
        windowCpu = std::max(windowCpu, threadCpuMilliseconds() - cpuBefore);
        if (form->faceAuthoring().state().sourcePicture.size() != QSize(kHeight, kWidth))
            state.SkipWithError("the photograph was not shown upright");
        form->BitBtnCancelClick();
        state.ResumeTiming();
    }
    state.counters["longest_wait_ms"] = longest;
    state.counters["window_cpu_ms"] = windowCpu;
}

void BM_WindowChoosePhoneHeic(benchmark::State& state) { chooseThroughTheWindow(state, phoneHeicFile()); }
BENCHMARK(BM_WindowChoosePhoneHeic)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_WindowChoosePhoneJpeg(benchmark::State& state) { chooseThroughTheWindow(state, phoneJpegFile(true)); }
BENCHMARK(BM_WindowChoosePhoneJpeg)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

// main() comes from the bench support library.
