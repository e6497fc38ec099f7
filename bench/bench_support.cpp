// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_support.h"

#include "catalogue/catalogue_files.h"
#include "files/ini_file.h"
#include "pictures/jpeg_codec.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <algorithm>
#include <vector>
#include <QFileInfo>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

class QuietDialogs : public UserDialogs {
public:
    explicit QuietDialogs(QString file) : file_(std::move(file)) {}
    bool confirm(const QString&) override { return true; }
    void notice(const QString&) override {}
    void showError(const QString& text) override { qWarning("benchmark error: %s", qPrintable(text)); }
    QString openFile(const QString&, const QString&) override { return file_; }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    QString saveFile(const QString&, const QString&, const QString&) override { return file_; }

private:
    QString file_;
};

// A party of eight over five rounds, under the default names.
class BiggestParty : public PartySetupDialog {
public:
    std::optional<PartySetup> askPartySetup(const PartySetup&,
                                            const std::function<QString(const PartySetup&)>&) override {
        PartySetup setup;
        for (int p = 0; p < PartySetup::kMaxPlayers; ++p) setup.players.push_back({defaultPlayerName(p), false});
        setup.rounds = PartySetup::kMaxRounds;
        return setup;
    }
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

}  // namespace

QString benchCatalogue(int count) {
    // The sample catalogue's faces repeated, as a player's catalogue grows
    // from it. Kept between runs in the temporary folder: writing thousands
    // of pictures takes longer than the measurements.
    const QString app = QDir::tempPath() + QStringLiteral("/pomurina-bench-sample-%1/").arg(count);
    const QString done = app + QStringLiteral("complete");
    if (QFileInfo::exists(done)) return app;
    QDir(app).removeRecursively();
    QDir().mkpath(app + QStringLiteral("data"));
    const QString sample = QStringLiteral(POMURINA_SAMPLE_DATA "/");
    const IniFile sampleIni(sample + QStringLiteral("FaceData.ini"));
    const int samples = sampleIni.readInteger(QStringLiteral("Faces"), QStringLiteral("Count"), 0);
    if (samples <= 0) qFatal("no sample catalogue in %s", POMURINA_SAMPLE_DATA);
    IniFile ini(app + QStringLiteral("data/FaceData.ini"));
    ini.writeInteger(QStringLiteral("Faces"), QStringLiteral("Count"), count);
    const char* keys[] = {"X1", "X2", "X3", "X4", "Y1", "Y2", "Y3", "Y4"};
    for (int i = 0; i < count; ++i) {
        const int from = i % samples;
        for (int k = 0; k <= 5; ++k)
            QFile::copy(sample + QStringLiteral("face%1_%2.jpg").arg(from).arg(k),
                        app + QStringLiteral("data/face%1_%2.jpg").arg(i).arg(k));
        for (const char* key : keys)
            ini.writeInteger(QString::number(i), QLatin1String(key),
                             sampleIni.readInteger(QString::number(from), QLatin1String(key), 0));
    }
    ini.save();
    QFile(done).open(QIODevice::WriteOnly);
    return app;
}

std::unique_ptr<TForm1> benchWindow(const QString& appDir, const QString& openFile) {
    Form1Services s;
    s.dialogs = std::make_unique<QuietDialogs>(openFile);
    s.partySetup = std::make_unique<BiggestParty>();
    s.shell = std::make_unique<QuietShell>();
    s.media = std::make_unique<SilentMedia>();
    s.timersCallHandlers = false;
    auto form = std::make_unique<TForm1>(appDir, std::move(s));
    form->show();
    for (int i = 0; i < 5; ++i) form->Timer1Timer();
    QApplication::processEvents();
    return form;
}

void measureAgainstFloor(benchmark::State& state, const std::function<void()>& operation,
                         const std::function<void()>& floor, const std::function<void()>& between) {
    std::vector<double> ops, floors, ratios;
    const auto timed = [&](const std::function<void()>& work) {
        QElapsedTimer clock;
        clock.start();
        work();
        const double ms = double(clock.nsecsElapsed()) / 1e6;
        if (between) between();
        return ms;
    };
    for (auto _ : state) {
        // The order alternates, so that neither always runs on a warmer cache.
        const bool floorFirst = ops.size() % 2 == 1;
        const double f1 = floorFirst ? timed(floor) : 0;
        const double op = timed(operation);
        const double f = floorFirst ? f1 : timed(floor);
        ops.push_back(op);
        floors.push_back(f);
        ratios.push_back(op / f);
        state.SetIterationTime(op / 1e3);
    }
    const auto median = [](std::vector<double> v) {
        if (v.empty()) return 0.0;
        std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
        return v[v.size() / 2];
    };
    state.counters["op_ms"] = median(ops);
    state.counters["floor_ms"] = median(floors);
    state.counters["x_floor"] = median(ratios);
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
