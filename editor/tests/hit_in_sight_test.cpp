#include "hit_in_sight.h"

#include <gtest/gtest.h>

#include <cstdlib>

using editor::LinesToUncover;
using editor::PixelSpan;

TEST(HitInSight, AHitUnderTheDialogGoesWhereTheViewCanScrollItBesideTheDialog) {
    constexpr int kLine = 15;
    const PixelSpan view{185, 570};
    const PixelSpan dialog{467, 572}; // over the view's lower part
    auto onShownLine = [&](int shown) {
        return PixelSpan{view.top + shown * kLine, view.top + (shown + 1) * kLine};
    };
    EXPECT_EQ(LinesToUncover(onShownLine(3), view, dialog, kLine, {100, 400}), 0)
        << "a hit above the dialog stays";

    // Under it: into the middle of the room above.
    int lines = LinesToUncover(onShownLine(22), view, dialog, kLine, {100, 400});
    const int top = onShownLine(22).top - lines * kLine;
    EXPECT_LE(std::abs(top - (view.top + dialog.top - kLine) / 2), kLine);
    // At the text's end the view cannot scroll on, and below is no room.
    EXPECT_EQ(LinesToUncover(onShownLine(22), view, dialog, kLine, {300, 300}), 0);

    // A dialog over the upper part sends the hit down, unless the view shows
    // the text's start already.
    const PixelSpan upper{150, 330};
    lines = LinesToUncover(onShownLine(5), view, upper, kLine, {100, 400});
    EXPECT_GE(onShownLine(5).top - lines * kLine, upper.bottom);
    EXPECT_EQ(LinesToUncover(onShownLine(5), view, upper, kLine, {0, 400}), 0);
}
