// The stored docking layouts the frame takes back and the ones it refuses.
#include "docking_layout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// State bits as the docking manager numbers them.
constexpr unsigned kFloating = 1u << 0;
constexpr unsigned kHidden = 1u << 1;
constexpr unsigned kDockable = 0xFu << 2;
constexpr unsigned kToolbar = 1u << 13;
constexpr unsigned kActive = 1u << 14;
constexpr unsigned kSavedHidden = 1u << 30;

const LayoutStateBits kBits{kFloating | kHidden | kActive | kSavedHidden, kActive | kSavedHidden};

// One pane's part, written as the docking manager writes it.
std::string Pane(const std::string& name, const std::string& caption, unsigned state, int dir,
                 const std::string& place = "layer=0;row=0;pos=0") {
    return "name=" + name + ";caption=" + caption + ";state=" + std::to_string(state) +
           ";dir=" + std::to_string(dir) + ";" + place +
           ";prop=100000;bestw=240;besth=300;minw=-1;minh=-1;maxw=-1;maxh=-1;floatx=-1;"
           "floaty=-1;floatw=-1;floath=-1";
}

std::string Layout(const std::vector<std::string>& parts) {
    std::string text = "layout2|";
    for (const std::string& part : parts)
        text += part + "|";
    return text;
}

const std::string kToolBar = Pane("SubToolBar", "Sub ToolBar", kDockable | kToolbar, 1);
const std::string kCentre = Pane("SourceWindows", "", kDockable, 5);
const std::string kRegister = Pane("pane1", "Register", kDockable, 2);
const std::string kMemory = Pane("pane7", " External Memory", kDockable, 3);
const std::string kFirstRun = Layout({kToolBar, kCentre, kRegister, kMemory});

} // namespace

TEST(DockingLayout, TakesBackTheFramesOwnLayoutAsTheUserLeftIt) {
    EXPECT_TRUE(IsRestorableLayout(kFirstRun, kFirstRun, kBits));
    // Register hidden, the memory pane floating on the left, the toolbar at
    // the bottom, dock rows sized, parts in another order, an escaped caption.
    const std::string changed =
        Layout({kCentre, Pane("pane1", "Register", kDockable | kHidden, 2),
                Pane("pane7", "Mem\\|ory\\;", kDockable | kFloating, 4, "layer=1;row=2;pos=3"),
                Pane("SubToolBar", "Sub ToolBar", kDockable | kToolbar | kActive, 3),
                "dock_size(2,0,0)=260", "dock_size(3,1,0)=0"});
    EXPECT_TRUE(IsRestorableLayout(changed, kFirstRun, kBits));
    // What the docking manager ignores after the layout's end.
    EXPECT_TRUE(IsRestorableLayout(kFirstRun + "  ", kFirstRun, kBits));
}

TEST(DockingLayout, RefusesDamagedAndForeignLayouts) {
    const std::vector<std::pair<const char*, std::string>> refused = {
        {"garbage", "\x01\xff garbage |;;=="},
        {"another version", "layout1|" + kFirstRun.substr(8)},
        {"a pane missing", Layout({kToolBar, kCentre, kRegister})},
        {"a pane twice", Layout({kToolBar, kCentre, kRegister, kMemory, kRegister})},
        {"another program's pane",
         Layout({kToolBar, kCentre, kRegister, kMemory, Pane("Toolbox", "Tools", kDockable, 4)})},
        {"a field of no pane", Layout({kToolBar, kCentre, kRegister, kMemory + ";colour=red"})},
        {"a field missing",
         Layout({kToolBar, kCentre, kRegister.substr(0, kRegister.rfind(';')), kMemory})},
        {"a field twice", Layout({kToolBar, kCentre, kRegister + ";dir=4", kMemory})},
        {"a field without a name", Layout({kToolBar, kCentre, kRegister + ";=4", kMemory})},
        {"a number that is none",
         Layout({kToolBar, kCentre, Pane("pane1", "Register", kDockable, 2, "layer=x;row=0;pos=0"),
                 kMemory})},
        {"a direction out of range",
         Layout({kToolBar, kCentre, Pane("pane1", "Register", kDockable, 7), kMemory})},
        {"a side pane in the centre",
         Layout({kToolBar, kCentre, Pane("pane1", "Register", kDockable, 5), kMemory})},
        {"the centre pane at a side",
         Layout({kToolBar, Pane("SourceWindows", "", kDockable, 4), kRegister, kMemory})},
        {"the centre pane hidden",
         Layout({kToolBar, Pane("SourceWindows", "", kDockable | kHidden, 5), kRegister, kMemory})},
        {"a toolbar made a pane",
         Layout({Pane("SubToolBar", "Sub ToolBar", kDockable, 1), kCentre, kRegister, kMemory})},
        {"a damaged dock size",
         Layout({kToolBar, kCentre, kRegister, kMemory, "dock_size(2,0)=260"})},
        {"parts after the end", kFirstRun + "|" + kRegister + "|"},
    };
    for (const auto& [what, layout] : refused)
        EXPECT_FALSE(IsRestorableLayout(layout, kFirstRun, kBits)) << what;
}
