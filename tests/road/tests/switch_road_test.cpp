// Next and Nexti over the calls of the compiler's switch helpers, on every real
// project that opens and whose map names one. A helper goes on at the case it
// picks, never after its call: each command must follow it there. The cases
// are read from the table after the call in the board's code.
#include "road_fixture.h"
#include "source_facts.h"

#include "breakpoint_slots.h"
#include "code_exits.h"
#include "run_commands.h"
#include "run_lookups.h"
#include "switch_helpers.h"
#include "symbol_lookup.h"
#include "target_flags.h"
#include "target_protocol.h"

#include <algorithm>
#include <cstdio>

namespace road {
namespace {

constexpr uint8_t kSp = 0x81, kAcc = 0xE0;

class SwitchRoadTest : public RoadTest {
protected:
    // `command` started on the call with A holding `value`, the stack as at main.
    RunCompletion RunAt(uint32_t call, uint8_t value, int (*command)()) {
        Board().SetPc(uint16_t(call));
        Board().WriteMemory(SIMBOARD_SFR, kSp, &mainSp, 1);
        Board().WriteMemory(SIMBOARD_SFR, kAcc, &value, 1);
        return Run(command);
    }
    // Whether the loaded listing has an instruction row (not data) at `address`.
    bool IsInstructionRow(uint32_t address) const {
        const auto& rows = loader->m_pDisasmLoader->m_mapInstructions;
        const auto row = rows.find(address);
        return row != rows.end() && row->second.find(" DB ") == std::string::npos;
    }
    uint8_t Sp() {
        uint8_t sp = 0;
        Board().ReadMemory(SIMBOARD_SFR, kSp, &sp, 1);
        return sp;
    }
    // (value, case address): ?C?CCASE's table holds entries of the case's
    // address (high byte first) and its char value, up to a zero address and
    // the default's. Its first case, and a value it lacks; other helpers' cases
    // are not read (kNoAddress).
    std::vector<std::pair<uint8_t, uint32_t>> Cases(uint32_t call, const std::string& helper) {
        if (helper != "?C?CCASE") return {{0, kNoAddress}};
        std::vector<std::pair<uint8_t, uint32_t>> cases;
        uint8_t e[4] = {};
        for (uint32_t at = call + 3; at < 0xFFFC; at += 3) {
            Board().ReadMemory(SIMBOARD_CODE_FLASH, at, e, 4);
            if ((e[0] | e[1]) == 0) break;
            cases.emplace_back(e[2], uint32_t(e[0] << 8 | e[1]));
        }
        uint8_t other = 0;
        while (std::any_of(cases.begin(), cases.end(), [&](auto& c) { return c.first == other; }))
            ++other;
        cases.resize(std::min<size_t>(cases.size(), 1));
        cases.emplace_back(other, uint32_t(e[2] << 8 | e[3]));
        return cases;
    }
    void WalkTheSwitches(const std::map<uint32_t, std::string>& helpers) {
        LoadImage();
        const SourcePosition mainLine = FirstLineOf("main");
        ASSERT_EQ(OnDebugRunToCursorLine(mainLine.file, mainLine.line), 1);
        ASSERT_EQ(Finish().pc, FunctionEntry("main"));
        mainSp = Sp();
        for (const auto& [call, text] : loader->m_pDisasmLoader->m_mapInstructions) {
            const auto helper = text.find("CALL") == std::string::npos
                                    ? helpers.end()
                                    : helpers.find(CallTarget(text));
            const std::string line = LineOfAddress(call);
            if (helper == helpers.end() || line.empty()) continue;
            SCOPED_TRACE(line);
            // A helper with one or two ways out is run to them once, else walked.
            const CodeRange code{helper->first, SwitchHelperEnd(helper->first)};
            std::vector<uint16_t> exits;
            const long runs = ExitsOfCode(code, exits) && !exits.empty() && exits.size() <= 2;
            for (const auto& [value, target] : Cases(call, helper->second)) {
                // Nexti: where the helper hands control to, its return address
                // taken off the stack, without a run.
                RunCompletion done = RunAt(call, value, OnDebugNexti);
                EXPECT_TRUE(target == kNoAddress || done.pc == target) << std::hex << done.pc;
                // The listing shows the case where the board goes on: an
                // instruction row, not the table's data nor inside another row.
                EXPECT_TRUE(IsInstructionRow(done.pc)) << std::hex << done.pc;
                EXPECT_EQ(FindFunctionOfAddress(done.pc), FindFunctionOfAddress(call));
                EXPECT_EQ(Sp(), mainSp);
                EXPECT_EQ(std::count(runSent.begin(), runSent.end(), adapter::kRun), runs);
                EXPECT_FALSE(AnyBreakSlotUsed());
                // Next: on the line the program goes to, the case's own when it has one.
                done = RunAt(call, value, OnDebugNext);
                const std::string stop = LineOfAddress(done.pc);
                EXPECT_TRUE(!stop.empty() && stop != line) << stop;
                EXPECT_EQ(ShownLine(), PositionOfAddress(done.pc).line);
                const std::string caseLine = LineOfAddress(target);
                EXPECT_TRUE(caseLine.empty() || caseLine == line || done.pc == target) << stop;
                EXPECT_EQ(std::count(runSent.begin(), runSent.end(), adapter::kRun), runs);
                if (HasFailure()) return;
                exchanges.push_back(runReceived.size());
            }
        }
    }
    uint8_t mainSp = 0;
    std::vector<size_t> exchanges; // answer bytes of each Next
};

TEST_F(SwitchRoadTest, NextAndNextiOverASwitchStopWhereTheHelperGoes) {
    const std::vector<std::string> folders = debuginfo_test::KeilProjectFolders();
    if (folders.empty()) GTEST_SKIP() << debuginfo_test::KeilFixturesAbsentMessage();
    for (const std::string& folder : folders) {
        for (const std::string& project : debuginfo_test::FilesWithExtensions(folder, {".uv2"})) {
            SCOPED_TRACE(project);
            std::string why;
            if (!BoardRunsProgram(project, why)) {
                std::printf("skipped %s\n", why.c_str());
                continue;
            }
            // A project whose listings lack the symbol table is refused, no bare image.
            messages->answers = {platform::MessageAnswer::Ok, platform::MessageAnswer::Ok,
                                 platform::MessageAnswer::No};
            loaderView.dialogAnswers.push_back(project);
            loader->OnFileOpen();
            std::map<uint32_t, std::string> helpers;
            for (const char* name : {"?C?CCASE", "?C?ICASE", "?C?LCASE"})
                if (const SymbolInfo* symbol = LookupSymbol(name, kSelectCode))
                    helpers[symbol->m_dwAddress] = name;
            if (g_bProjectLoaded && !helpers.empty()) WalkTheSwitches(helpers);
            EndRunSession();
            loader->CloseProject();
            messages->shown.clear();
            if (HasFailure()) return;
        }
    }
    if (exchanges.empty()) GTEST_SKIP() << "no real project that opens calls a switch helper";
    std::printf("%zu Next over a switch: %zu to %zu bytes answered\n", exchanges.size(),
                *std::min_element(exchanges.begin(), exchanges.end()),
                *std::max_element(exchanges.begin(), exchanges.end()));
}

} // namespace
} // namespace road
