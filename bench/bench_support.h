#pragma once
// Shared pieces of the benchmarks: generated catalogues on disk, a window with
// quiet services, and a main() with a QApplication on the offscreen platform.
#include "main/form1.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

// A catalogue of count faces with pictures of realistic size (a 260 x 300
// face, parts of 60 x 40), written once into the temporary folder and reused.
QString benchCatalogue(int count);

// The main window on appDir, its title finished, with services that never ask
// anything and make no sound.
std::unique_ptr<TForm1> benchWindow(const QString& appDir);

// The file that the window's next open dialog chooses (a window made by
// benchWindow).
void benchChooseFile(TForm1& form, const QString& path);
