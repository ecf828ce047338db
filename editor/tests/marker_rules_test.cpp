#include "marker_rules.h"

#include <gtest/gtest.h>

using editor::ApplyMarkerEdit;
using editor::LiftLineMarker;
using editor::MarkerBit;
using editor::PlaceLineMarker;

namespace {

constexpr uint32_t kBreak = MarkerBit(editor::kMarkerBreakPoint);
constexpr uint32_t kPc = MarkerBit(editor::kMarkerCurrentPc);
constexpr uint32_t kCode = MarkerBit(editor::kMarkerCodeLine);
constexpr uint32_t kCovered = MarkerBit(editor::kMarkerCodeLineCovered);

uint32_t Place(uint32_t markers, int marker) {
    return ApplyMarkerEdit(markers, PlaceLineMarker(markers, marker));
}
uint32_t Lift(uint32_t markers, int marker) {
    return ApplyMarkerEdit(markers, LiftLineMarker(markers, marker));
}

} // namespace

TEST(MarkerRules, TheMarkerBitsAreTheSharedNumbers) {
    EXPECT_EQ(kBreak | kCovered, 0x11u);
    EXPECT_EQ(kPc | kCovered, 0x12u);
}

TEST(MarkerRules, ABreakPointOnACodeLineHidesTheGreyMarkerUntilItGoes) {
    uint32_t line = Place(kCode, editor::kMarkerBreakPoint);
    EXPECT_EQ(line, kBreak | kCovered);
    EXPECT_EQ(Lift(line, editor::kMarkerBreakPoint), kCode);
}

TEST(MarkerRules, TheGreyMarkerComesBackOnlyWhenTheLastOfBreakPointAndPcGoes) {
    uint32_t line = Place(kCode, editor::kMarkerBreakPoint);
    line = Place(line, editor::kMarkerCurrentPc);
    EXPECT_EQ(line, kBreak | kPc | kCovered);
    line = Lift(line, editor::kMarkerBreakPoint);
    EXPECT_EQ(line, kPc | kCovered);
    line = Lift(line, editor::kMarkerCurrentPc);
    EXPECT_EQ(line, kCode);

    // The same the other way round.
    line = Place(Place(kCode, editor::kMarkerCurrentPc), editor::kMarkerBreakPoint);
    line = Lift(Lift(line, editor::kMarkerCurrentPc), editor::kMarkerBreakPoint);
    EXPECT_EQ(line, kCode);
}

TEST(MarkerRules, ALineWithoutCodeOnlyGainsAndLosesTheMarkerItself) {
    EXPECT_EQ(Place(0, editor::kMarkerBreakPoint), kBreak);
    EXPECT_EQ(Lift(kBreak, editor::kMarkerBreakPoint), 0u);
    EXPECT_EQ(Lift(kBreak | kPc, editor::kMarkerCurrentPc), kBreak);
}

TEST(MarkerRules, PlacingAPresentMarkerOrLiftingAnAbsentOneDoesNothing) {
    editor::MarkerEdit edit = PlaceLineMarker(kBreak | kCovered, editor::kMarkerBreakPoint);
    EXPECT_EQ(edit.add, 0u);
    EXPECT_EQ(edit.remove, 0u);
    edit = LiftLineMarker(kCode, editor::kMarkerBreakPoint);
    EXPECT_EQ(edit.add, 0u);
    EXPECT_EQ(edit.remove, 0u);
    // A program counter on a code line leaves it alone when it lifts a
    // breakpoint that is not there.
    edit = LiftLineMarker(kPc | kCovered, editor::kMarkerBreakPoint);
    EXPECT_EQ(edit.remove, 0u);
}
