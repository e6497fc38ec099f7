#pragma once
// Shared pieces of the benchmarks: generated catalogues on disk, a window with
// quiet services, and a main() with a QApplication on the offscreen platform.
#include "main/form1.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

// A catalogue of count faces, the pictures and answers of the sample
// catalogue repeated, written once into the temporary folder and reused.
QString benchCatalogue(int count);

// The main window on appDir, its title finished, with services that make no
// sound and answer every question yes; the file dialog answers openFile.
std::unique_ptr<TForm1> benchWindow(const QString& appDir, const QString& openFile = {});
