#include "run_program.h"

#include "breakpoint_records.h"
#include "breakpoint_slots.h"
#include "run_commands.h"
#include "run_lookups.h"
#include "run_until_stop.h"
#include "symbol_lookup.h"
#include "target_flags.h"

#include <chrono>
#include <thread>

// 0000  02 00 30   LJMP  0030H
// 000B  12 00 50   LCALL 0050H         timer 0 interrupt
// 000E  32         RETI
// 0030  74 00      MOV   A,#00H        main.c:10
// 0032  78 05      MOV   R0,#05H       main.c:10
// 0034  12 00 50   LCALL 0050H         main.c:11
// 0037  11 50      ACALL 0050H         main.c:12
// 0039  04         INC   A             main.c:13
// 003A  D8 FD      DJNZ  R0,0039H      main.c:13
// 003C  80 FE      SJMP  003CH         main.c:14
// 0040  12 00 60   LCALL 0060H         main.c:16
// 0043  80 FE      SJMP  0043H         main.c:17
// 0045  12 00 70   LCALL 0070H         main.c:18
// 0048  80 FE      SJMP  0048H         main.c:19
// 0050  05 30      INC   30H           main.c:20
// 0052  00         NOP
// 0053  22         RET                 main.c:21
// 0060  80 FE      SJMP  0060H         main.c:25
// 0062  22         RET                 (never reached)
// 0070  60 C7      JZ    0039H
// 0072  22         RET
const std::map<uint16_t, std::vector<uint8_t>>& ProgramCode() {
    static const std::map<uint16_t, std::vector<uint8_t>> code = {
        {0x0000, {0x02, 0x00, 0x30}},
        {0x000B, {0x12, 0x00, 0x50, 0x32}},
        {0x0030,
         {0x74, 0x00, 0x78, 0x05, 0x12, 0x00, 0x50, 0x11, 0x50, 0x04, 0xD8, 0xFD, 0x80, 0xFE}},
        {0x0040, {0x12, 0x00, 0x60, 0x80, 0xFE, 0x12, 0x00, 0x70, 0x80, 0xFE}},
        {0x0050, {0x05, 0x30, 0x00, 0x22}},
        {0x0060, {0x80, 0xFE, 0x22}},
        {0x0070, {0x60, 0xC7, 0x22}},
    };
    return code;
}

const std::map<uint32_t, std::string>& ProgramLines() {
    static const std::map<uint32_t, std::string> lines = {
        {0x30, "main.c:10"}, {0x32, "main.c:10"}, {0x34, "main.c:11"}, {0x37, "main.c:12"},
        {0x39, "main.c:13"}, {0x3A, "main.c:13"}, {0x3C, "main.c:14"}, {0x40, "main.c:16"},
        {0x43, "main.c:17"}, {0x45, "main.c:18"}, {0x48, "main.c:19"}, {0x50, "main.c:20"},
        {0x53, "main.c:21"}, {0x60, "main.c:25"},
    };
    return lines;
}

namespace {

// As the disassembler writes them: the bytes, the mnemonic, the operands.
const std::map<uint32_t, std::string>& ProgramDisassembly() {
    static const std::map<uint32_t, std::string> text = {
        {0x00, "020030 LJMP   0030H"},
        {0x0B, "120050 LCALL  0050H"},
        {0x0E, "32 RETI"},
        {0x30, "7400 MOV    A,#00H"},
        {0x32, "7805 MOV    R0,#05H"},
        {0x34, "120050 LCALL  0050H"},
        {0x37, "1150 ACALL  0050H"},
        {0x39, "04 INC    A"},
        {0x3A, "D8FD DJNZ   R0,0039H"},
        {0x3C, "80FE SJMP   003CH"},
        {0x40, "120060 LCALL  0060H"},
        {0x43, "80FE SJMP   0043H"},
        {0x45, "120070 LCALL  0070H"},
        {0x48, "80FE SJMP   0048H"},
        {0x50, "0530 INC    30H"},
        {0x52, "00 NOP"},
        {0x53, "22 RET"},
        {0x60, "80FE SJMP   0060H"},
        {0x62, "22 RET"},
        {0x70, "60C7 JZ     0039H"},
        {0x72, "22 RET"},
    };
    return text;
}

} // namespace

std::string ProgramHex() {
    std::string text;
    for (const auto& block : ProgramCode())
        text += HexRecord(block.first, block.second);
    return text + ":00000001FF\n";
}

void QueuedCompletions::PostRunCompletion(const RunCompletion& completion) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_queue.push_back(completion);
    m_posted.notify_all();
}

bool QueuedCompletions::Wait(RunCompletion& completion, unsigned timeoutMs) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_posted.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [this] { return !m_queue.empty(); }))
        return false;
    completion = m_queue.front();
    m_queue.pop_front();
    return true;
}

size_t QueuedCompletions::Pending() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_queue.size();
}

void RunControlTest::SetUp() {
    SimBoardTest::SetUp();
    RunControlLookups lookups;
    lookups.lineOfAddress = [this](uint32_t address) {
        if (onLineLookup) onLineLookup(address);
        auto it = ProgramLines().find(address);
        return it == ProgramLines().end() ? std::string() : it->second;
    };
    lookups.addressOfLine = [](const std::string& key) {
        for (const auto& entry : ProgramLines())
            if (entry.second == key) return entry.first;
        return uint32_t(0xFFFFFFFF);
    };
    lookups.disassemblyText = [this](uint32_t address) {
        auto it = ProgramDisassembly().find(address);
        if (it == ProgramDisassembly().end() || textsMissing.count(address)) return std::string();
        return it->second;
    };
    lookups.switchHelperEnd = [this](uint32_t address) {
        auto it = switchHelpers.find(address);
        return it == switchHelpers.end() ? 0u : it->second;
    };
    SetRunControlLookups(lookups);
    SetRunCompletionSink(&completions);
    g_BreakList.clear();
    g_mapBreakAddress.clear();
    g_strHexPath = WriteTempFile("run_program.hex", ProgramHex());
    g_bProjectLoaded = true;
    InstallWindows();
}

void RunControlTest::TearDown() {
    StopAndJoinWorker();
    SetRunCompletionSink(nullptr);
    SetRunControlLookups({});
    SetBreakpointViews(nullptr);
    SetStopAnswerTimeoutMs(0);
    g_BreakList.clear();
    g_mapBreakAddress.clear();
    onLineLookup = nullptr;
    SimBoardTest::TearDown();
}

void RunControlTest::LoadProgramIntoBoard() {
    for (const auto& block : ProgramCode())
        Board().WriteMemory(SIMBOARD_CODE_FLASH, block.first, block.second.data(),
                            uint32_t(block.second.size()));
}

RunCompletion RunControlTest::Finish() {
    RunCompletion completion;
    if (!completions.Wait(completion, completionTimeoutMs)) {
        ADD_FAILURE() << "the worker posted no completion; stopping it";
        OnDebugStop();
        EXPECT_TRUE(completions.Wait(completion));
    }
    JoinFinishedWorker();
    runSent = Sent();
    runReceived = Received();
    FinishRun(completion);
    JoinFinishedWorker();
    return completion;
}

void RunControlTest::WaitUntilRunning() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!Board().IsRunning() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_TRUE(Board().IsRunning());
}
