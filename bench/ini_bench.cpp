// SPDX-License-Identifier: GPL-3.0-or-later
// Writing into and erasing from ini files with very long sections and very
// many copies of one section, beside plainly loading the same files: a write
// or an erase touches every line at most a few times, so it should cost about
// what the load costs, not a multiple that grows with the file.
#include "bench_support.h"

#include "files/ini_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kLines = 20'000;

// FaceData.ini of a three-face catalogue in which section "3", the one the
// next registration writes, already holds 20,000 stray entries.
QByteArray longSectionFile() {
    QByteArray text = "[faces]\r\ncount=3\r\n";
    for (int face = 0; face < 3; ++face) text += "[" + QByteArray::number(face) + "]\r\nX1=10\r\nY1=20\r\n";
    text += "[3]\r\n";
    for (int i = 0; i < kLines; ++i) text += "stray" + QByteArray::number(i) + "=1\r\n";
    return text;
}

// FaceData.ini of a four-face catalogue whose last section appears 20,000
// times; deleting a face erases that section.
QByteArray duplicateSectionsFile() {
    QByteArray text = "[faces]\r\ncount=4\r\n";
    for (int face = 0; face < 3; ++face) text += "[" + QByteArray::number(face) + "]\r\nX1=10\r\nY1=20\r\n";
    for (int i = 0; i < kLines; ++i) text += "[3]\r\nX1=" + QByteArray::number(i) + "\r\n";
    return text;
}

class IniOnDisk {
public:
    explicit IniOnDisk(const QByteArray& bytes) : bytes_(bytes), path_(dir_.path() + QStringLiteral("/FaceData.ini")) {
        restore();
    }
    void restore() const {
        QFile file(path_);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes_) != bytes_.size()) std::abort();
    }
    const QString& path() const { return path_; }

private:
    QTemporaryDir dir_;
    QByteArray bytes_;
    QString path_;
};

const char* const kAnswerKeys[] = {"X1", "X2", "X3", "X4", "Y1", "Y2", "Y3", "Y4"};

void BM_Load_LongSection(benchmark::State& state) {
    const IniOnDisk file(longSectionFile());
    for (auto _ : state) benchmark::DoNotOptimize(IniFile(file.path()).readInteger("faces", "count", 3));
}

// What registering face 3 does to the settings file: the count, then the eight
// answers appended to section 3, then the save.
void BM_RegisterInto_LongSection(benchmark::State& state) {
    const IniOnDisk file(longSectionFile());
    for (auto _ : state) {
        IniFile ini(file.path());
        ini.writeInteger("Faces", "Count", 4);
        for (const char* key : kAnswerKeys) ini.writeInteger("3", key, 42);
        ini.save();
        state.PauseTiming();
        file.restore();
        state.ResumeTiming();
    }
}

void BM_Load_DuplicateSections(benchmark::State& state) {
    const IniOnDisk file(duplicateSectionsFile());
    for (auto _ : state) benchmark::DoNotOptimize(IniFile(file.path()).readInteger("faces", "count", 3));
}

// What deleting face 2 of four does: the count, section 2 rewritten from
// face 3's answers, the last section erased, the save.
void BM_DeleteFrom_DuplicateSections(benchmark::State& state) {
    const IniOnDisk file(duplicateSectionsFile());
    for (auto _ : state) {
        IniFile ini(file.path());
        ini.writeInteger("faces", "count", 3);
        for (const char* key : kAnswerKeys) ini.writeInteger("2", key, 7);
        ini.eraseSection("3");
        ini.save();
        state.PauseTiming();
        file.restore();
        state.ResumeTiming();
    }
}

}  // namespace

BENCHMARK(BM_Load_LongSection)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RegisterInto_LongSection)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load_DuplicateSections)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteFrom_DuplicateSections)->Unit(benchmark::kMillisecond);
