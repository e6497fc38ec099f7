// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rules every proposal keeps, checked on its outlines.
#include "detection/outline_coverage.h"
#include "detection/part_outlines.h"

#include <gtest/gtest.h>

// Each outline encloses its landmarks and no brow point, lies inside the
// picture, comes with its own bounding box, and shares no pixel with another.
inline void expectOutlineRules(const PartOutlines& outlines, const FaceLandmarks& landmarks, QSize draw) {
    for (int s = 1; s <= 4; ++s) {
        const OutlinePointList& points = outlines.points[size_t(s)];
        ASSERT_GE(points.size(), 8u) << "part " << s;
        const LandmarkRange own = enclosedLandmarks(s);
        for (int i = own.first; i <= own.last; ++i)
            EXPECT_TRUE(outlineCovers(points, landmarks[size_t(i)])) << "part " << s << " landmark " << i;
        for (int i = Landmarks::kRightBrow.first; i <= Landmarks::kLeftBrow.last; ++i)
            EXPECT_FALSE(outlineCovers(points, landmarks[size_t(i)])) << "part " << s << " brow " << i;
        for (const QPoint& p : points) EXPECT_TRUE(QRect(QPoint(0, 0), draw).contains(p)) << "part " << s;
        const OutlineBox box = outlineBox(points), given = outlines.boxes[size_t(s)];
        EXPECT_TRUE(box.minX == given.minX && box.maxX == given.maxX && box.minY == given.minY &&
                    box.maxY == given.maxY) << "part " << s;
        for (int t = s + 1; t <= 4; ++t)
            EXPECT_FALSE(outlinesOverlap(points, outlines.points[size_t(t)])) << s << " and " << t;
    }
}
