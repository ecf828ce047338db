// The current-PC model: which view and line a PC shows, and how the markers move.
#include "fake_source_views.h"

#include "pc_model.h"
#include "run_lookups.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Texts = std::vector<std::string>;
constexpr unsigned kPc = 1u << marker::kCurrentPc;
constexpr unsigned kCode = 1u << marker::kCodeLine;
constexpr unsigned kMarkedCode = 1u << marker::kMarkedCodeLine;
constexpr unsigned kBreak = 1u << marker::kBreakpoint;

class PcModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        RunControlLookups lookups;
        lookups.lineOfAddress = [](uint32_t address) {
            static const std::map<uint32_t, std::string> lines = {
                {0x10, "main.c:5"}, {0x12, "main.c:6"}, {0x20, "UTIL.C:3"}, {0x30, "other.c:9"}};
            auto it = lines.find(address);
            return it == lines.end() ? std::string() : it->second;
        };
        SetRunControlLookups(lookups);
        mainView = views.Open("main.c");
        utilView = views.Open("util.c");
    }
    void TearDown() override { SetRunControlLookups({}); }

    FakeSourceViews views;
    SourceViewRef mainView = nullptr;
    SourceViewRef utilView = nullptr;
    PcModel model{views};
};

TEST_F(PcModelTest, TheMarkerMovesAndCodeLinesGetTheirMarkerBack) {
    views.AddMarker(mainView, 4, marker::kCodeLine); // line 5 has code
    views.AddMarker(mainView, 5, marker::kCodeLine); // line 6 too
    EXPECT_EQ(model.SetCurrentPc(0x10), 1);
    EXPECT_EQ(views.MarkersOn(mainView, 5), kPc | kMarkedCode);
    EXPECT_EQ(views.calls, (Texts{"GotoLineNearTop main.c 5", "GotoLineWithContext main.c 5"}));

    model.SetCurrentPc(0x12);
    EXPECT_EQ(views.MarkersOn(mainView, 5), kCode);
    EXPECT_EQ(views.MarkersOn(mainView, 6), kPc | kMarkedCode);
    EXPECT_EQ(model.Shown().line, 6);
    EXPECT_EQ(model.Shown().pc, 0x12);

    // The same line twice: the marker is taken off and set again.
    model.SetCurrentPc(0x12);
    EXPECT_EQ(views.MarkersOn(mainView, 6), kPc | kMarkedCode);
}

TEST_F(PcModelTest, ABreakpointKeepsItsStandInMarkerWhenThePcLeaves) {
    views.AddMarker(mainView, 4, marker::kBreakpoint);
    views.AddMarker(mainView, 4, marker::kMarkedCodeLine);
    model.SetCurrentPc(0x10);
    EXPECT_EQ(views.MarkersOn(mainView, 5), kBreak | kMarkedCode | kPc);
    model.SetCurrentPc(0x12);
    EXPECT_EQ(views.MarkersOn(mainView, 5), kBreak | kMarkedCode);
}

TEST_F(PcModelTest, AnAddressWithoutALineLeavesTheMarkerWhereItWas) {
    model.SetCurrentPc(0x10);
    model.SetCurrentPc(0x11);
    EXPECT_EQ(model.Shown().view, mainView);
    EXPECT_EQ(model.Shown().line, 5);
    EXPECT_EQ(model.Shown().pc, 0x11);
    EXPECT_EQ(views.MarkersOn(mainView, 5), kPc);
    EXPECT_EQ(views.calls.back(), "GotoLineWithContext main.c 5");
}

TEST_F(PcModelTest, APlacedPcWithoutALineTakesTheMarkerOff) {
    views.AddMarker(mainView, 4, marker::kCodeLine);
    model.SetCurrentPc(0x10);
    model.SetCurrentPc(0x00, true);
    EXPECT_EQ(model.Shown().view, nullptr);
    EXPECT_EQ(views.MarkersOn(mainView, 5), kCode);
    model.SetCurrentPc(0x12, true); // one with a line shows it
    EXPECT_EQ(views.MarkersOn(mainView, 6), kPc);
}

TEST_F(PcModelTest, FilesMatchWithoutRegardToCaseAndUnopenedFilesShowNoView) {
    model.SetCurrentPc(0x20);
    EXPECT_EQ(model.Shown().view, utilView);
    EXPECT_EQ(model.Shown().line, 3);

    model.SetCurrentPc(0x30);
    EXPECT_EQ(model.Shown().view, nullptr);
    EXPECT_EQ(model.Shown().line, 9);
    EXPECT_EQ(views.MarkersOn(utilView, 3), 0u);
}

TEST_F(PcModelTest, TheDisplayHoldsAModelOnlyBetweenCreateAndReset) {
    Texts assembly;
    PcModelDisplay display(views, [&](uint16_t pc, int select) {
        assembly.push_back(std::to_string(pc) + "," + std::to_string(select));
    });
    display.SetCurrentPc(0x10);
    EXPECT_TRUE(views.calls.empty());
    display.CreatePcModel();
    display.SetCurrentPc(0x10);
    display.ShowPcInAssembly(0x10, 1);
    EXPECT_EQ(views.MarkersOn(mainView, 5), kPc);
    EXPECT_EQ(assembly, Texts{"16,1"});
    display.ResetPcModel();
    EXPECT_EQ(display.Model(), nullptr);
}

TEST(PcPositionText, FirstTokenIsTheFile) {
    EXPECT_EQ(GetFirstToken("main.c:12"), "main.c");
    EXPECT_EQ(GetFirstToken("main.c"), "main.c");
}

} // namespace
