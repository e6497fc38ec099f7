// SPDX-License-Identifier: GPL-3.0-or-later
#include "board/ui_fonts.h"

QStringList uiFontFamilies() {
    return {QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
            QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP"), QStringLiteral("sans-serif")};
}

static QFont uiFont(bool bold, bool italic) {
    QFont f;
    f.setFamilies(uiFontFamilies());
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

QFont uiFontPixels(int pixelSize, bool bold, bool italic) {
    QFont f = uiFont(bold, italic);
    f.setPixelSize(pixelSize);
    return f;
}

QFont uiFontPoints(int pointSize, bool bold, bool italic) {
    QFont f = uiFont(bold, italic);
    f.setPointSize(pointSize);
    return f;
}
