// What one debug step costs: host time and adapter round trips per Step over
// a C line (and of the register pane's update in the refresh after it), per
// Next over a call, per Stepi and per refresh of the host copies and panes, on
// the largest real project beside the repository running on the simulated
// adapter board; and per Next over the largest switch of exitrip-blinky (a
// call of its switch helper with the value no case holds, so the helper reads
// its whole case table).
//
// A real USB link pays at least 1 ms per round trip (up to 16 ms with the
// adapter's default latency), so the round-trip counts matter more than the
// host times. A round trip is one FT_Write whose answer FT_Read waits for;
// writes without an answer and queue polls are counted beside them. The board
// library is VEXA_D2XX_LIBRARY when set, else libsimboard.so beside this program.
// The figures are taken with the board's latency at 0, where the times are
// the host's own; Step, Next and the refresh are then taken again with the
// latency at 16 ms, where the time is what a user of the adapter waits.
#include "breakpoint_slot_ops.h"
#include "debugger_views.h"
#include "disasm_loader.h"
#include "dynamic_library.h"
#include "host_memory.h"
#include "image_load.h"
#include "m51_reader.h"
#include "map_loader.h"
#include "message_service.h"
#include "process.h"
#include "project_lookups.h"
#include "register_table.h"
#include "run_commands.h"
#include "run_completion.h"
#include "run_lookups.h"
#include "sleep.h"
#include "symbol_lookup.h"
#include "target_flags.h"
#include "target_protocol.h"
#include "usb_link.h"

#include "bench_clock.h"
#include "headless_open.h"
#include "waiting_sink.h"
#include "wire_counter.h"
#ifdef VEXA_WITH_PANES
#include "pane_refresh_bench.h"
#endif
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace {

const std::string kProject = std::string(VEXA_KEIL_FIXTURES) + "/tft-terminal";
const std::string kMap = kProject + "/Lst/DisplayTerminalTFT.m51";
const std::string kHex = kProject + "/Obj/DisplayTerminalTFT.hex";
const std::string kSwitchProject = std::string(VEXA_KEIL_FIXTURES) + "/exitrip-blinky/Blinky.Uv2";
constexpr uint8_t kSp = 0x81, kAcc = 0xE0;

WaitingSink g_sink;

// One measured operation.
struct Sample {
    double ms = 0;
    WireCounts wire;
    bool ok = false;
};

// Runs a worker command up to its completion (the refresh that follows it on
// the user-interface side is not part of the sample) and finishes it.
Sample MeasureWorker(int (*command)(), uint16_t& stopPc) {
    Sample sample;
    g_wireCounts = WireCounts();
    const Clock::time_point start = Clock::now();
    const bool started = command() == 1;
    const std::optional<RunCompletion> completion = started ? g_sink.Wait() : std::nullopt;
    if (completion) JoinFinishedWorker();
    sample.ms = MillisecondsSince(start);
    sample.wire = g_wireCounts;
    sample.ok = completion && completion->stopped && completion->error.empty();
    if (completion) {
        stopPc = completion->pc;
        FinishRun(*completion);
        JoinFinishedWorker();
    } else if (started) {
        StopAndJoinWorker();
    }
    return sample;
}

// The register pane, live in every refresh: its values from the host copies
// and the program counter from the adapter, and its 66 row texts. Each
// update is one sample.
class RegisterPaneOnly : public DebuggerPanes {
public:
    void UpdateRegisterWnd() override;
    void FillVariables() override {}
    void FillLocalVariables() override {}
    void UpdateGlobalVariableValues() override {}
    void RefreshIDataWindow() override {}
    void UpdateSymbolWnd() override {}
    void InitMemoryWindows() override {}
    void FillSymbolWnd() override {}
    void ClearEmulatorRows() override {}
    void AddSourceFilesToTree() override {}
    void FillGlobalVariableWnd() override {}
    void AllowRegisterEdit(bool) override {}
    void RebindOpenDocuments() override {}
    void RemoveAllBreakPoints() override {}
    void RedrawFlashPane() override {}

    std::vector<Sample> updates;
    std::vector<std::string> texts = std::vector<std::string>(kRegisterRowCount);
};

RegisterPaneOnly g_registerPane;

void RegisterPaneOnly::UpdateRegisterWnd() {
    const WireCounts before = g_wireCounts;
    const Clock::time_point start = Clock::now();
    const RegisterValues values = ReadRegisterValues(g_InternalDataImage, ReadPc());
    for (int row = 0; row < kRegisterRowCount; ++row)
        texts[row] = RegisterValueText(RegisterTable()[row], values[row]);
    Sample sample;
    sample.ms = MillisecondsSince(start);
    sample.wire.readCalls = g_wireCounts.readCalls - before.readCalls;
    sample.wire.writeCalls = g_wireCounts.writeCalls - before.writeCalls;
    sample.wire.queueStatusCalls = g_wireCounts.queueStatusCalls - before.queueStatusCalls;
    sample.ok = texts[FindRegisterRow("PC $")] != "0x0000";
    updates.push_back(sample);
}

template <typename Fn> Sample Measure(Fn&& fn) {
    Sample sample;
    g_wireCounts = WireCounts();
    const Clock::time_point start = Clock::now();
    sample.ok = fn();
    sample.ms = MillisecondsSince(start);
    sample.wire = g_wireCounts;
    return sample;
}

void Report(const char* what, const std::vector<Sample>& samples) {
    if (samples.empty()) return;
    double total = 0, slowest = 0;
    WireCounts sum;
    size_t failed = 0;
    for (const Sample& s : samples) {
        total += s.ms;
        slowest = std::max(slowest, s.ms);
        sum.writeCalls += s.wire.writeCalls;
        sum.readCalls += s.wire.readCalls;
        sum.queueStatusCalls += s.wire.queueStatusCalls;
        failed += !s.ok;
    }
    const double n = double(samples.size());
    std::printf("%-30s %6zu %6zu %10.3f %10.3f %10.2f %10.2f %10.2f\n", what, samples.size(),
                failed, total / n, slowest, double(sum.readCalls) / n, double(sum.writeCalls) / n,
                double(sum.queueStatusCalls) / n);
}

// Step into InitSys and back, Next over its call and the refresh, `rounds`
// times, with the simulated board's latency timer at `latencyMs`.
void ReportAtLatency(unsigned latencyMs, int rounds, uint16_t callAddress, uint32_t initAddress,
                     platform::RecordingMessageService& messages) {
    using SetLatencyFn = void (*)(uint32_t);
    const auto setLatency =
        reinterpret_cast<SetLatencyFn>(g_pUsbLink->module->Symbol("SimBoard_SetLatency"));
    if (!setLatency) return; // a real adapter has its own latency
    setLatency(latencyMs);
    uint16_t pc = 0;
    std::vector<Sample> steps, stepsWithRefresh, nexts, refreshes;
    for (int round = 0; round < rounds; ++round) {
        SetPc(callAddress);
        for (int line = 0; line < 20; ++line) {
            // The worker's part, then the whole wait up to the refreshed panes.
            const Clock::time_point start = Clock::now();
            steps.push_back(MeasureWorker(OnDebugStep, pc));
            Sample whole = steps.back();
            whole.ms = MillisecondsSince(start);
            whole.wire = g_wireCounts;
            stepsWithRefresh.push_back(whole);
            if (pc < initAddress || !steps.back().ok) break;
        }
        SetPc(callAddress);
        nexts.push_back(MeasureWorker(OnDebugNext, pc));
        refreshes.push_back(Measure([&messages] {
            messages.shown.clear();
            UpdateDebugWindows();
            return messages.shown.empty();
        }));
    }
    setLatency(0);
    std::printf("\nwith the adapter's latency at %u ms (mean ms: what the user waits)\n",
                latencyMs);
    Report("Step (one C line)", steps);
    Report("  with its refresh", stepsWithRefresh);
    Report("Next over a call", nexts);
    Report("UpdateDebugWindows", refreshes);
}

// The call of ?C?CCASE with the longest case table (entries of the case's
// address, high byte first, and its value, up to a zero address), and a value
// no entry holds; false when the program calls no ?C?CCASE.
bool LargestCharSwitch(const DisasmLoader& disassembly, uint16_t& call, uint8_t& value) {
    const SymbolInfo* helper = LookupSymbol("?C?CCASE", kSelectCode);
    if (!helper) return false;
    size_t longest = 0;
    for (const auto& [address, text] : disassembly.m_mapInstructions) {
        CodeRange range;
        if (!SwitchHelperOfCall(uint16_t(address), range) || range.low != helper->m_dwAddress)
            continue;
        std::vector<bool> held(256);
        size_t entries = 0;
        uint8_t e[3] = {};
        for (uint32_t at = address + 3; at < 0xFFFC; at += 3, ++entries) {
            ReadMemory(at, e, 3, kSpaceCode);
            if ((e[0] | e[1]) == 0) break;
            held[e[2]] = true;
        }
        if (entries <= longest) continue;
        longest = entries;
        call = uint16_t(address);
        value = uint8_t(std::find(held.begin(), held.end(), false) - held.begin());
    }
    return longest > 0;
}

// Next over the largest switch of exitrip-blinky, opened as the user opens
// it, with the board's latency at 0 and at 16 ms.
void ReportSwitchNext() {
    using SetLatencyFn = void (*)(uint32_t);
    const auto setLatency =
        reinterpret_cast<SetLatencyFn>(g_pUsbLink->module->Symbol("SimBoard_SetLatency"));
    if (!setLatency) return;
    const std::string scratch = std::filesystem::temp_directory_path().string();
    bench::HeadlessOpen open(kSwitchProject, scratch);
    const SymbolInfo* mainSymbol = LookupSymbol("main", kSelectCode);
    if (!open.Complete() || !mainSymbol) {
        std::printf("\n%s did not open\n", kSwitchProject.c_str());
        return;
    }
    SetRunControlLookups(ProjectLookups(open.loader));
    g_strHexPath = open.loader.m_strHexPath;
    ImageLoad(0);
    uint16_t pc = 0, call = 0;
    uint8_t value = 0;
    SetPc(0);
    SetBreakPoint(mainSymbol->m_dwAddress);
    MeasureWorker(OnDebugContinue, pc);
    ClearBreakPoint(mainSymbol->m_dwAddress);
    if (pc != mainSymbol->m_dwAddress ||
        !LargestCharSwitch(*open.loader.m_pDisasmLoader, call, value)) {
        std::printf("\nno switch of %s reached (PC 0x%04X)\n", kSwitchProject.c_str(), pc);
        return;
    }
    const uint32_t mainSp = ReadTargetByte(kSp, kSpaceSfr);
    std::printf("\nNext over the switch at 0x%04X of %s, value %u (mean ms, trips)\n", call,
                kSwitchProject.c_str(), value);
    for (unsigned latencyMs : {0u, 16u}) {
        setLatency(latencyMs);
        std::vector<Sample> nexts;
        for (int round = 0; round < (latencyMs ? 3 : 20); ++round) {
            SetPc(call);
            WriteTargetValue(kSp, mainSp, 1, kSpaceSfr);
            WriteTargetValue(kAcc, value, 1, kSpaceSfr);
            nexts.push_back(MeasureWorker(OnDebugNext, pc));
        }
        const std::string what = "  at " + std::to_string(latencyMs) + " ms latency";
        Report(what.c_str(), nexts);
    }
    setLatency(0);
}

} // namespace

int main() {
    if (!std::filesystem::exists(kMap) || !std::filesystem::exists(kHex)) {
        std::fprintf(stderr, "the fixture project %s is absent\n", kProject.c_str());
        return 1;
    }
    const std::string bin = platform::ExecutableDirectory();
    setenv("VEXA_SIM_HEX", kHex.c_str(), 1); // the board starts with the image in its flash
    platform::SetSleepFunction([](unsigned) {});
    platform::RecordingMessageService messages;

    // The project's debug information and disassembly.
    AllocateProjectTables();
    g_pSymbolTable = std::make_unique<CSymbolTable>();
    MapLoader map(kMap, "/");
    ParseM51File(map, kProject);
    g_pSymbolTable->m_pModuleRecords = &map.m_listModules;
    const std::string disassemblyPath =
        (std::filesystem::temp_directory_path() / "run-control-speed-Corvex.out").string();
    if (RunDisassembler(kHex, disassemblyPath, bin) != 1) {
        std::fprintf(stderr, "the disassembler did not run\n");
        return 1;
    }
    const DisasmLoader disassembly(disassemblyPath);
    std::remove(disassemblyPath.c_str());
    RunControlLookups lookups;
    lookups.disassemblyText = [&disassembly](uint32_t address) {
        auto it = disassembly.m_mapInstructions.find(address);
        return it == disassembly.m_mapInstructions.end() ? std::string() : it->second;
    };
    SetRunControlLookups(lookups);
    SetRunCompletionSink(&g_sink);

    if (!StartSimulatedLink(messages)) return 1;
    g_strHexPath = kHex;
    g_bProjectLoaded = true;
    if (CheckTargetImage() != 1) {
        std::fprintf(stderr, "the board does not hold the image\n");
        return 1;
    }
    CountWireTraffic();

    const SymbolInfo* mainSymbol = LookupSymbol("main", kSelectCode);
    const SymbolInfo* initSymbol = LookupSymbol("InitSys", kSelectCode);
    if (!mainSymbol || !initSymbol) {
        std::fprintf(stderr, "main or InitSys is missing from the map\n");
        return 1;
    }
    // main's first line calls InitSys, whose lines are one assignment each.
    const uint16_t callAddress = uint16_t(mainSymbol->m_dwAddress);
    uint16_t pc = 0;

    // Through the start-up code to main.
    SetPc(0);
    SetBreakPoint(callAddress);
    MeasureWorker(OnDebugContinue, pc);
    ClearBreakPoint(callAddress);
    if (pc != callAddress) {
        std::fprintf(stderr, "the program did not reach main (PC 0x%04X)\n", pc);
        return 1;
    }

    constexpr int kRounds = 20;
    std::vector<Sample> steps, nexts, stepis, refreshes;
    for (int round = 0; round < kRounds; ++round) {
        // Step into InitSys and through its lines back to main.
        SetPc(callAddress);
        for (int line = 0; line < 20; ++line) {
            // The refresh that ends each Step updates the register pane.
            SetDebuggerPanes(&g_registerPane);
            steps.push_back(MeasureWorker(OnDebugStep, pc));
            SetDebuggerPanes(nullptr);
            if (pc < initSymbol->m_dwAddress || !steps.back().ok) break;
        }
        // Next over the call.
        SetPc(callAddress);
        nexts.push_back(MeasureWorker(OnDebugNext, pc));
        // Stepi as the user interface runs it, refresh included.
        SetPc(callAddress);
        for (int i = 0; i < 5; ++i)
            stepis.push_back(Measure([] { return OnDebugStepi() == 1; }));
        refreshes.push_back(Measure([&messages] {
            messages.shown.clear();
            UpdateDebugWindows();
            return messages.shown.empty();
        }));
    }

    std::printf("project %s, code up to 0x%04X, external-data range 0x%04X-0x%04X\n",
                kProject.c_str(), unsigned(disassembly.m_dwHighestAddress), unsigned(g_dwXdataLow),
                unsigned(g_dwXdataHigh));
    std::printf("%-30s %6s %6s %10s %10s %10s %10s %10s\n", "operation", "count", "failed",
                "mean ms", "max ms", "trips", "FT_Write", "FT_Queue");
    Report("Step (one C line)", steps);
    Report("  its register pane update", g_registerPane.updates);
    Report("Next over a call", nexts);
    Report("Stepi (with its refresh)", stepis);
    Report("UpdateDebugWindows", refreshes);
    std::printf("trips: FT_Read calls, each waiting for the answer to a write; a Step reads the\n"
                "PC once and then one answer per instruction it executes.\n");
    ReportAtLatency(16, 5, callAddress, initSymbol->m_dwAddress, messages);
    ReportSwitchNext();

    SetRunCompletionSink(nullptr);
    DestroyUsbLink();
#ifdef VEXA_WITH_PANES
    ReportPaneRefresh();
#endif
    return 0;
}
