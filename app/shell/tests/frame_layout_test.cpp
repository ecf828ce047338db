#include "command_ids.h"
#include "frame_layout.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

std::vector<std::string> Titles(const std::vector<MenuSpec>& menus) {
    std::vector<std::string> titles;
    for (const MenuSpec& menu : menus)
        titles.push_back(menu.title);
    return titles;
}

std::vector<int> Ids(const MenuSpec& menu) {
    std::vector<int> ids;
    for (const MenuEntry& entry : menu.entries)
        ids.push_back(entry.id);
    return ids;
}

} // namespace

TEST(FrameLayout, StartMenuHasProjectAndHelpOnly) {
    const auto& menus = StartMenuBar();
    EXPECT_EQ(Titles(menus), (std::vector<std::string>{"&Project", "&Help"}));
    EXPECT_EQ(Ids(menus[0]), (std::vector<int>{cmd::kOpen, cmd::kClose, 0, cmd::kExit}));
    EXPECT_STREQ(menus[0].entries[1].label, "&Close\tCtrl+Q");
    EXPECT_STREQ(menus[1].entries[0].label, "&About Ostrel Debugger");
}

TEST(FrameLayout, SourceMenuHasTheDebuggersSixMenus) {
    const auto& menus = SourceMenuBar();
    EXPECT_EQ(Titles(menus), (std::vector<std::string>{"&Project", "&Debug", "&Tool", "&Window",
                                                       "&Environment", "&Help"}));
    EXPECT_EQ(Ids(menus[0]),
              (std::vector<int>{cmd::kOpen, cmd::kClose, cmd::kReload, 0, cmd::kExit}));
    EXPECT_EQ(Ids(menus[1]), (std::vector<int>{cmd::kBoardReset, cmd::kImageLoad, cmd::kContinue,
                                               cmd::kStop, cmd::kStep, cmd::kNext, cmd::kStepi,
                                               cmd::kNexti, cmd::kRunToCursorLine, cmd::kSetBreak,
                                               cmd::kClearBreak, cmd::kClearAllBreaks}));
    EXPECT_STREQ(menus[1].entries[5].label, "&Next\tF10");
    EXPECT_EQ(menus[3].entries.size(), 11u);
}

TEST(FrameLayout, EveryWindowMenuEntryTogglesItsPane) {
    const auto& panes = DockingPanes();
    for (const MenuEntry& entry : SourceMenuBar()[3].entries) {
        int index = PaneForToggle(entry.id);
        ASSERT_GE(index, 0) << entry.label;
        EXPECT_EQ(panes[index].toggleId, entry.id);
    }
    EXPECT_EQ(PaneForToggle(0), -1);
    EXPECT_EQ(PaneForToggle(cmd::kContinue), -1);
}

TEST(FrameLayout, ThirteenPanesWithTheirCaptions) {
    std::vector<std::string> captions;
    for (const PaneSpec& pane : DockingPanes())
        captions.push_back(pane.caption);
    EXPECT_EQ(captions, (std::vector<std::string>{
                            "Assembly", "Register", "Search", "Local Variable", "BreakPoint",
                            "Symbol", "IData Memory", " External Memory", " Flash Memory",
                            "Code Memory", "Global Variable", "Emulator", "WorkSpace"}));
}

TEST(FrameLayout, TabGroupHoldsNinePanesBreakPointFirst) {
    const auto& panes = DockingPanes();
    std::vector<std::string> pages;
    for (int index : TabGroupPanes())
        pages.push_back(panes[index].caption);
    EXPECT_EQ(pages, (std::vector<std::string>{
                         "BreakPoint", "Search", "Local Variable", "Global Variable", "Symbol",
                         "IData Memory", " External Memory", " Flash Memory", "Code Memory"}));
    // Exactly the panes placed in the group are its pages.
    std::set<int> grouped;
    for (size_t i = 0; i < panes.size(); ++i)
        if (panes[i].place == PanePlace::InTabGroup || panes[i].place == PanePlace::RightOfPrevious)
            grouped.insert(static_cast<int>(i));
    EXPECT_EQ(grouped, std::set<int>(TabGroupPanes().begin(), TabGroupPanes().end()));
}

TEST(FrameLayout, StatusBarEndsWithTheProgressPane) {
    const auto& widths = StatusPaneWidths();
    ASSERT_EQ(widths.size(), static_cast<size_t>(kStatusPaneCount));
    EXPECT_EQ(widths[kProgressPane], kProgressPaneWidth);
    EXPECT_EQ(kProgressPane, kStatusPaneCount - 1);
}

TEST(FrameLayout, LooksOutsideTheRangeFallBackToTheDefault) {
    LookStyle fallback = LookStyleFor(999);
    LookStyle standard = LookStyleFor(cmd::kDefaultLook);
    EXPECT_EQ(fallback.flatTabs, standard.flatTabs);
    EXPECT_EQ(fallback.smartDocking, standard.smartDocking);
    EXPECT_EQ(fallback.background, standard.background);
    // The four colour schemes differ from one another.
    std::set<unsigned> colours;
    for (int look = 215; look <= 218; ++look)
        colours.insert(LookStyleFor(look).background);
    EXPECT_EQ(colours.size(), 4u);
    EXPECT_FALSE(LookStyleFor(210).smartDocking);
}
