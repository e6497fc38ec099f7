// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Shared pieces of the benchmarks: generated catalogues on disk, a window with
// quiet services, and a main() with a QApplication on the offscreen platform.
#include "main/form1.h"

#include <QString>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <functional>
#include <memory>

// A catalogue of count faces, the pictures and answers of the sample
// catalogue repeated, written once into the temporary folder and reused.
QString benchCatalogue(int count);

// The main window on appDir, its title finished, with services that make no
// sound and answer every question yes; the file dialogs (open and save)
// answer openFile.
std::unique_ptr<TForm1> benchWindow(const QString& appDir, const QString& openFile = {});

// Times operation and its floor alternately, one after the other in every
// iteration, so that a machine shared with other work slows both alike; the
// iteration time is the operation's, and the counters give the medians of the
// operation, the floor and their ratio ("x_floor"). between runs untimed after
// each of them (putting things back). Register with UseManualTime().
void measureAgainstFloor(benchmark::State& state, const std::function<void()>& operation,
                         const std::function<void()>& floor, const std::function<void()>& between = {});
