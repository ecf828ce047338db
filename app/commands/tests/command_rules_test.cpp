#include "command_ids.h"
#include "command_rules.h"

#include <gtest/gtest.h>

#include <map>

namespace {

DebugState State(bool loaded, bool busy, bool hexOnly = false) {
    DebugState state;
    state.loaded = loaded;
    state.busy = busy;
    state.hexOnly = hexOnly;
    return state;
}

} // namespace

TEST(CommandRules, NoProjectGreysEveryRuledCommand) {
    for (int id : RuledCommands())
        EXPECT_FALSE(IsCommandEnabled(id, State(false, false))) << id;
    EXPECT_TRUE(IsCommandEnabled(cmd::kOpen, State(false, false)));
    EXPECT_TRUE(IsCommandEnabled(cmd::kExit, State(false, true)));
    EXPECT_TRUE(IsCommandEnabled(cmd::kAbout, State(false, false)));
}

TEST(CommandRules, StoppedTargetEnablesEverything) {
    for (int id : RuledCommands())
        EXPECT_TRUE(IsCommandEnabled(id, State(true, false))) << id;
}

TEST(CommandRules, BusyTargetLeavesStopAndTheAnalysisCommands) {
    for (int id : RuledCommands())
        EXPECT_EQ(IsCommandEnabled(id, State(true, true)),
                  id == cmd::kStop || id == cmd::kAnalysisPrintTrace || id == cmd::kAnalysisStart ||
                      id == cmd::kAnalysisReport)
            << id;
}

TEST(CommandRules, BareImageGreysOnlyRunToCursor) {
    for (int id : RuledCommands())
        EXPECT_EQ(IsCommandEnabled(id, State(true, false, true)), id != cmd::kRunToCursorLine)
            << id;
}

TEST(CommandRules, ProjectCloseAndToolCommandsAreRuled) {
    DebugState busy = State(true, true);
    EXPECT_FALSE(IsCommandEnabled(cmd::kClose, busy));
    EXPECT_FALSE(IsCommandEnabled(cmd::kReload, busy));
    EXPECT_FALSE(IsCommandEnabled(cmd::kInitDebugger, busy));
    EXPECT_FALSE(IsCommandEnabled(cmd::kClearAllBreaks, State(false, false)));
    EXPECT_FALSE(IsCommandEnabled(cmd::kRemoveBreakPoint, busy));
    EXPECT_FALSE(IsCommandEnabled(cmd::kRemoveAllBreakPoints, State(false, false)));
    EXPECT_TRUE(IsCommandEnabled(cmd::kRemoveAllBreakPoints, State(true, false)));
}

TEST(FunctionKeys, IdleLoadedTargetRunsTheKeysCommands) {
    const std::map<int, int> expected = {
        {2, cmd::kBoardReset}, {3, cmd::kImageLoad}, {4, cmd::kReload},
        {5, cmd::kContinue},   {7, cmd::kNexti},     {8, cmd::kStepi},
        {9, cmd::kSetBreak},   {10, cmd::kNext},     {11, cmd::kStep}};
    for (int key = 2; key <= 12; ++key) {
        KeyResult result = FunctionKeyRelease(key, State(true, false));
        auto it = expected.find(key);
        if (it == expected.end()) {
            EXPECT_EQ(result.action, KeyAction::None) << "F" << key;
        } else {
            EXPECT_EQ(result.action, KeyAction::Command) << "F" << key;
            EXPECT_EQ(result.command, it->second) << "F" << key;
        }
    }
}

TEST(FunctionKeys, BusyTargetOnlyAnswersF6) {
    for (int key = 2; key <= 12; ++key) {
        KeyResult result = FunctionKeyRelease(key, State(true, true));
        EXPECT_EQ(result.action, key == 6 ? KeyAction::Stop : KeyAction::None) << "F" << key;
    }
}

TEST(FunctionKeys, NoProjectDoesNothingNotEvenF9) {
    for (int key = 2; key <= 12; ++key) {
        EXPECT_EQ(FunctionKeyRelease(key, State(false, false)).action, KeyAction::None) << key;
        EXPECT_EQ(FunctionKeyRelease(key, State(false, true)).action, KeyAction::None) << key;
    }
}

TEST(FunctionKeys, OnlyF2ToF12AreTheDebuggers) {
    EXPECT_FALSE(IsDebugFunctionKey(1));
    EXPECT_TRUE(IsDebugFunctionKey(2));
    EXPECT_TRUE(IsDebugFunctionKey(12));
    EXPECT_FALSE(IsDebugFunctionKey(13));
    EXPECT_EQ(FunctionKeyRelease(1, State(true, false)).action, KeyAction::None);
    EXPECT_EQ(FunctionKeyRelease(13, State(true, false)).action, KeyAction::None);
}

TEST(Progress, ClampsToPercentRange) {
    EXPECT_EQ(ClampProgress(250), 100);
    EXPECT_EQ(ClampProgress(100), 100);
    EXPECT_EQ(ClampProgress(0), 0);
    EXPECT_EQ(ClampProgress(-5), 0);
    EXPECT_EQ(ClampProgress(42), 42);
}

TEST(Progress, ReportsOnlyChangesOfTheShownValue) {
    ProgressValue value;
    EXPECT_FALSE(value.Set(0));
    EXPECT_TRUE(value.Set(40));
    EXPECT_FALSE(value.Set(40));
    EXPECT_TRUE(value.Set(130));
    EXPECT_EQ(value.Shown(), 100);
    EXPECT_FALSE(value.Set(250)); // still 100
    EXPECT_TRUE(value.Set(0));
    EXPECT_EQ(value.Shown(), 0);
}

TEST(InstallDir, LosesOnlyATrailingSeparator) {
    EXPECT_EQ(WorkingDirFromInstallDir("/opt/debugger/"), "/opt/debugger");
    EXPECT_EQ(WorkingDirFromInstallDir("C:\\Debugger\\"), "C:\\Debugger");
    EXPECT_EQ(WorkingDirFromInstallDir("/opt/debugger"), "/opt/debugger");
    EXPECT_EQ(WorkingDirFromInstallDir(""), "");
    EXPECT_EQ(WorkingDirFromInstallDir("/"), "");
}

TEST(InstallDir, KeepsAtMost255Characters) {
    std::string longPath = "/" + std::string(300, 'a') + "/";
    std::string dir = WorkingDirFromInstallDir(longPath);
    EXPECT_EQ(dir.size(), 255u);
    EXPECT_EQ(dir, longPath.substr(0, 255));
}

TEST(History, ReadsAtMostAHundredEntries) {
    int calls = 0;
    auto history = ReadHistory(150, [&calls](int i) {
        ++calls;
        return "find" + std::to_string(i);
    });
    ASSERT_EQ(history.size(), 100u);
    EXPECT_EQ(history.front(), "find0");
    EXPECT_EQ(history.back(), "find99");
    EXPECT_EQ(calls, 100);
}

TEST(History, SkipsBlankEntriesAndTrimsLeadingBlanks) {
    const std::vector<std::string> stored = {"   ", "  mov a", "", "\tloop", "x "};
    auto history = ReadHistory(static_cast<long>(stored.size()), [&](int i) { return stored[i]; });
    EXPECT_EQ(history, (std::vector<std::string>{"mov a", "loop", "x "}));
    EXPECT_TRUE(ReadHistory(0, [](int) { return std::string("x"); }).empty());
    EXPECT_TRUE(ReadHistory(-3, [](int) { return std::string("x"); }).empty());
}
