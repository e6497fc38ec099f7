// SPDX-License-Identifier: GPL-3.0-or-later
#include "detection/skin_colour.h"

#include <QLineF>
#include <QRect>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

int median(std::vector<int>& values) {
    const auto middle = values.begin() + std::ptrdiff_t(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

}  // namespace

QRgb cheekColour(const QImage& faceBox, const FaceLandmarks& landmarks, QSize drawSize) {
    using namespace Landmarks;
    // A cheek's middle: halfway from the outer nostril to the jaw line at the
    // same height (jaw points 2 and 14), clear of the eyes, nose and mouth.
    const QPointF cheeks[2] = {(landmarks[kNostrilLeft] + landmarks[2]) / 2,
                               (landmarks[kNostrilRight] + landmarks[14]) / 2};
    const double jaw = QLineF(landmarks[kJawLeft], landmarks[kJawRight]).length();
    const int radius = std::max(1, int(std::lround(0.05 * jaw)));
    const QRect shown = QRect(QPoint(0, 0), drawSize) & faceBox.rect();

    std::vector<int> reds, greens, blues;
    for (const QPointF& cheek : cheeks) {
        const QPoint c(int(std::floor(cheek.x())), int(std::floor(cheek.y())));
        const QRect square = QRect(c - QPoint(radius, radius), c + QPoint(radius, radius)) & shown;
        for (int y = square.top(); y <= square.bottom(); ++y)
            for (int x = square.left(); x <= square.right(); ++x) {
                const QRgb pixel = faceBox.pixel(x, y);
                reds.push_back(qRed(pixel));
                greens.push_back(qGreen(pixel));
                blues.push_back(qBlue(pixel));
            }
    }
    if (reds.empty()) return qRgb(255, 255, 255);
    return qRgb(median(reds), median(greens), median(blues));
}
