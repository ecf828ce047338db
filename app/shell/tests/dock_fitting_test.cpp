#include "dock_fitting.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kSash = 4;

// The centre's width and height between the rows of `sizes`.
ClientSize Centre(const std::vector<DockRow>& rows, const std::vector<int>& sizes,
                  ClientSize client) {
    for (size_t i = 0; i < rows.size(); ++i) {
        const bool sideways = rows[i].side == DockSide::Left || rows[i].side == DockSide::Right;
        (sideways ? client.width : client.height) -= sizes[i] + (rows[i].resizable ? kSash : 0);
    }
    return client;
}

} // namespace

TEST(DockFitting, RowsGiveTheCentreItsLeastSizeByTheirRoomAboveTheirLeast) {
    // The frame's rows after its first run at 1200 by 900: two toolbars, the
    // workspace, the registers and the bottom row; one more right row kept
    // thinner than its least by the user.
    const std::vector<DockRow> rows = {{DockSide::Top, 27, 27, false},
                                       {DockSide::Top, 27, 27, false},
                                       {DockSide::Left, 244, kLeastDockThickness, true},
                                       {DockSide::Right, 244, kLeastDockThickness, true},
                                       {DockSide::Right, 60, kLeastDockThickness, true},
                                       {DockSide::Bottom, 361, kLeastDockThickness, true}};
    const std::vector<int> asTheyAre = {27, 27, 244, 244, 60, 361};
    EXPECT_EQ(FitDockRows(rows, {1198, 828}, kSash), asTheyAre);

    // Shrunk to 640 by 480: the sides give alike, the toolbars and the thin
    // row nothing, and the centre is back at its least size.
    const std::vector<int> fitted = FitDockRows(rows, {640, 433}, kSash);
    EXPECT_EQ(Centre(rows, fitted, {640, 433}).width, kLeastCentreWidth);
    EXPECT_EQ(Centre(rows, fitted, {640, 433}).height, kLeastCentreHeight);
    EXPECT_EQ(std::vector<int>(fitted.begin(), fitted.begin() + 2), (std::vector<int>{27, 27}));
    EXPECT_EQ(fitted[2], fitted[3]);
    EXPECT_EQ(fitted[4], 60);

    // Too small for any fit: every row at its least; the least client size is
    // where the centre has its least size again.
    EXPECT_EQ(FitDockRows(rows, {400, 300}, kSash),
              (std::vector<int>{27, 27, kLeastDockThickness, kLeastDockThickness, 60,
                                kLeastDockThickness}));
    const ClientSize least = LeastClientSize(rows, kSash);
    const ClientSize centre = Centre(rows, FitDockRows(rows, least, kSash), least);
    EXPECT_EQ(centre.width, kLeastCentreWidth);
    EXPECT_EQ(centre.height, kLeastCentreHeight);
}
