#include "road_fixture.h"

#include "breakpoint_records.h"
#include "breakpoint_toggle.h"
#include "debugger_init.h"
#include "debugger_views.h"
#include "example_files.h"
#include "host_memory.h"
#include "image_load.h"
#include "path_resolver.h"
#include "project_lookups.h"
#include "run_commands.h"
#include "run_lookups.h"
#include "symbol_lookup.h"
#include "target_flags.h"
#include "target_messages.h"
#include "target_protocol.h"
#include "typed_values.h"

#include <algorithm>
#include <filesystem>

namespace road {

uint16_t CallTarget(const std::string& text) {
    std::string operand = text.substr(text.find("CALL") + 4);
    operand.erase(std::remove(operand.begin(), operand.end(), ' '), operand.end());
    if (!operand.empty() && operand.front() == 'L') operand.erase(0, 1);
    return uint16_t(std::stoul(operand, nullptr, 16));
}

void DocumentOpeningView::OpenSourceDocument(const std::string& path) {
    RecordingView::OpenSourceDocument(path);
    m_views.Open(platform::FileNameOf(path));
}

void RoadTest::SetUp() {
    RunControlTest::SetUp();
    // The real programs run long between stops: a worker that posts nothing
    // within 10 s fails the test and is stopped.
    completionTimeoutMs = 10000;
    // Nothing is loaded until the loader says so; the toy program's lookups go.
    g_bProjectLoaded = false;
    g_strHexPath.clear();
    SetRunControlLookups({});
    SetPcDisplay(&display);
    loader = std::make_unique<CProjectLoader>(loaderView, session);
    loader->m_strDisassemblerDir = VEXA_BIN_DIR;
    loader->m_strDisassemblyOutput = scratch.Path("Corvex.out");
    SetRunControlLookups(ProjectLookups(*loader));
}

void RoadTest::TearDown() {
    StopAndJoinWorker();
    EndRunSession();
    ClearVariableInfo();
    if (loader) loader->CloseProject();
    SetRunControlLookups({});
    loader.reset();
    RunControlTest::TearDown();
}

bool RoadTest::Open(const RoadProject& project) {
    std::string path;
    if (project.example) {
        example_test::CopyExampleProject(copy, false);
        path = copy.Path(project.projectFile);
    } else {
        const std::string folder = std::string(VEXA_KEIL_FIXTURES) + "/" + project.folder;
        if (!std::filesystem::exists(folder)) {
            ADD_FAILURE() << "no " << folder;
            return false;
        }
        path = folder + "/" + project.projectFile;
    }
    loaderView.dialogAnswers.push_back(path);
    loader->OnFileOpen();
    return g_bProjectLoaded;
}

bool RoadTest::OpenImageOnly(const RoadProject& project, const std::string& hexPath) {
    if (project.example) example_test::CopyExampleProject(copy, false);
    loaderView.dialogAnswers.push_back(project.example ? copy.Path(hexPath) : hexPath);
    loader->OnFileOpen();
    return g_bProjectLoaded;
}

void RoadTest::LoadImage() {
    ASSERT_EQ(ImageLoad(0), 1);
    Board().SetPc(0);
}

RunCompletion RoadTest::Run(const std::function<int()>& command) {
    ClearTrace();
    pcDisplay.calls.clear();
    EXPECT_EQ(command(), 1);
    return Finish();
}

uint16_t RoadTest::StepiToCall() {
    for (int i = 0; i < 50; ++i) {
        const uint16_t pc = ReadPc();
        if (DisassemblyText(pc).find("LCALL") != std::string::npos) return pc;
        if (OnDebugStepi() != 1) break;
    }
    return 0;
}

uint16_t RoadTest::RunOverTheNextCall(int (*command)()) {
    const uint16_t call = StepiToCall();
    if (call == 0) {
        ADD_FAILURE() << "no call within 50 instructions";
        return 0;
    }
    const uint16_t back = uint16_t(call + 3);
    const RunCompletion done = Run(command);
    EXPECT_EQ(done.pc, back);
    EXPECT_EQ(runSent, Bytes({0x59, 0x64, 0x10, back >> 8, back & 0xFF, 0x67, 0x65, 0x10}));
    return call;
}

uint16_t RoadTest::AddressOf(const std::string& file, int line) {
    const uint32_t address = AddressOfLine(file + ":" + std::to_string(line));
    EXPECT_NE(address, 0xFFFFFFFFu) << file << ":" << line;
    return uint16_t(address);
}

int RoadTest::ShownLine() const {
    return display.Model() ? display.Model()->Shown().line : 0;
}

std::string RoadTest::ShownDocument() const {
    if (!display.Model()) return {};
    const SourceViewRef view = display.Model()->Shown().view;
    for (const auto& document : const_cast<FakeSourceViews&>(views).OpenDocuments())
        if (document.firstView == view) return document.title;
    return {};
}

// Breakpoints on lines with code of `first` then `second` fill the user slots
// (the ones in `used` are set already), the next one is refused with the
// limit message and fully undone, and Clear All frees every used slot.
void RoadTest::FillSlotsRefuseTheSeventeenthAndClearAll(std::vector<uint16_t> used,
                                                        const std::string& first,
                                                        const std::string& second) {
    std::string refusedFile;
    int refusedLine = 0;
    for (const std::string& file : {first, second}) {
        for (int line = 1; line <= 2000 && !refusedLine; ++line) {
            const uint32_t address = AddressOfLine(file + ":" + std::to_string(line));
            if (address == 0xFFFFFFFF) continue;
            if (std::find(used.begin(), used.end(), address) != used.end()) continue;
            if (used.size() == 16) {
                refusedFile = file;
                refusedLine = line;
                break;
            }
            ASSERT_EQ(ToggleBreakPointAtLine(file, line, ToggleRoad::kSetBreak, kBreakLimitText),
                      ToggleResult::kSet)
                << file << ":" << line;
            used.push_back(uint16_t(address));
        }
    }
    ASSERT_NE(refusedLine, 0) << "fewer than 17 addresses with lines";
    for (uint32_t slot = 0; slot < 16; ++slot) {
        uint16_t address = 0;
        EXPECT_EQ(Board().GetBreakpoint(slot, &address), 1) << slot;
        EXPECT_EQ(address, used[slot]) << slot;
    }
    // The 17th is refused and leaves nothing behind.
    ClearTrace();
    messages->shown.clear();
    EXPECT_EQ(
        ToggleBreakPointAtLine(refusedFile, refusedLine, ToggleRoad::kSetBreak, kBreakLimitText),
        ToggleResult::kRefused);
    EXPECT_EQ(Messages(), std::vector<std::string>{kBreakLimitText});
    const std::vector<uint8_t> sent = Sent();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), adapter::kSetBreakpoint), 0);
    EXPECT_EQ(g_BreakList.size(), 16u);
    EXPECT_EQ(IsBreakpointAt(refusedFile, refusedLine), 0);
    EXPECT_EQ(g_mapBreakAddress[AddressOfLine(refusedFile + ":" + std::to_string(refusedLine))], 0);

    // Clear All: one 0x65 per used slot, in slot order.
    ClearTrace();
    panes.calls.clear();
    ASSERT_EQ(OnDebugClearAllBreaks(), 1);
    std::vector<uint8_t> expected;
    for (int slot = 0; slot < 16; ++slot)
        Append(expected, Bytes({0x65, slot}));
    EXPECT_EQ(Sent(), expected);
    EXPECT_EQ(panes.calls, std::vector<std::string>{"RemoveAllBreakPoints"});
    for (uint32_t slot = 0; slot < 18; ++slot) {
        uint16_t address = 0;
        EXPECT_EQ(Board().GetBreakpoint(slot, &address), 0) << slot;
    }
}

} // namespace road
