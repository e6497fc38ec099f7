#pragma once
// Paths under the application folder. Relative paths are written with "\" or
// "/" between components and matched without regard to letter case against the
// entries that exist, so "data\facedata.ini" finds data/FaceData.ini.
#include <QString>

// The folder of the executable with exactly one trailing "/".
QString appDirOf(const QString& executablePath);

// appDir + relative, each component resolved case-insensitively. A component
// that does not exist keeps its canonical spelling when it is one of the
// program's own names ("data", "FaceData.ini", "Library", "BGM.ini"), otherwise
// the spelling given, so new files are created as data/FaceData.ini.
QString resolveAppPath(const QString& appDir, const QString& relative);
