#include "bench_support.h"

#include "catalogue/catalogue_files.h"
#include "files/ini_file.h"
#include "pictures/jpeg_codec.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <utility>

namespace {

class QuietDialogs : public UserDialogs {
public:
    QString nextFile;  // the file the next open dialog chooses, once
    bool confirm(const QString&) override { return true; }
    void notice(const QString&) override {}
    void showError(const QString& text) override { qWarning("benchmark error: %s", qPrintable(text)); }
    QString openFile(const QString&, const QString&) override { return std::exchange(nextFile, QString()); }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
};

class QuietShell : public DesktopShell {
public:
    void open(const QString&) override {}
};

class SilentMedia : public MediaControl {
public:
    int sendString(const QString&, QString* reply) override {
        if (reply) *reply = QStringLiteral("stopped");
        return 0;
    }
};

QImage noisyPicture(int w, int h, int seed) {
    // Texture rather than flat colour, so the JPEG decoders do real work.
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 7 + seed * 31) & 255, (y * 5 + x * 3 + seed) & 255, (x ^ y ^ seed) & 255));
    return img;
}

}  // namespace

QString benchCatalogue(int count) {
    // Kept between runs in the temporary folder: writing thousands of pictures
    // takes longer than the measurements, and profiles should show the game.
    const QString app = QDir::tempPath() + QStringLiteral("/pomurina-bench-%1/").arg(count);
    const QString done = app + QStringLiteral("complete");
    if (QFileInfo::exists(done)) return app;
    QDir(app).removeRecursively();
    QDir().mkpath(app + QStringLiteral("data"));
    const QByteArray face = encodeJpeg(noisyPicture(260, 300, 1));
    const QByteArray board = encodeJpeg(noisyPicture(260, 300, 2));
    const QByteArray part = encodeJpeg(noisyPicture(60, 40, 3));
    IniFile ini(app + QStringLiteral("data/FaceData.ini"));
    ini.writeInteger(QStringLiteral("faces"), QStringLiteral("count"), count);
    for (int i = 0; i < count; ++i) {
        for (int k = 0; k <= 5; ++k) {
            QFile f(app + QStringLiteral("data/face%1_%2.jpg").arg(i).arg(k));
            f.open(QIODevice::WriteOnly);
            f.write(k == 0 ? face : k == 5 ? board : part);
        }
        ini.writeInteger(QString::number(i), QStringLiteral("X1"), 40);
    }
    ini.save();
    QFile(done).open(QIODevice::WriteOnly);
    return app;
}

std::unique_ptr<TForm1> benchWindow(const QString& appDir) {
    Form1Services s;
    s.dialogs = std::make_unique<QuietDialogs>();
    s.shell = std::make_unique<QuietShell>();
    s.media = std::make_unique<SilentMedia>();
    s.timersCallHandlers = false;
    auto form = std::make_unique<TForm1>(appDir, std::move(s));
    form->show();
    for (int i = 0; i < 5; ++i) form->Timer1Timer();
    QApplication::processEvents();
    return form;
}

void benchChooseFile(TForm1& form, const QString& path) {
    static_cast<QuietDialogs&>(*form.services.dialogs).nextFile = path;
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
