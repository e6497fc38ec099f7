// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The user-interface font: "ＭＳ Ｐゴシック" where it exists, otherwise a
// Japanese proportional gothic (IPAPGothic), so no text shows as empty boxes.
#include <QFont>
#include <QStringList>

QStringList uiFontFamilies();
QFont uiFontPixels(int pixelSize, bool bold = false, bool italic = false);
QFont uiFontPoints(int pointSize, bool bold = false, bool italic = false);
