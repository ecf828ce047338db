#include "open_filter.h"

#include <gtest/gtest.h>

TEST(OpenFilter, MatchesEveryCaseOfTheExtensions) {
    EXPECT_EQ(DialogFilter("Project File (*.Uv2) or Hex file(*.Hex) | *.Uv2;*.hex; |"),
              "Project File (*.Uv2) or Hex file(*.Hex)|*.Uv2;*.uv2;*.UV2;*.hex;*.HEX");
    EXPECT_EQ(DialogFilter("All|*.*|"), "All|*.*");
    EXPECT_EQ(DialogFilter("Nothing"), "Nothing|");
}
