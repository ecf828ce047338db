#include "sim_board.h"

#include "breakpoint_slots.h"
#include "host_memory.h"
#include "sleep.h"
#include "target_flags.h"
#include "target_protocol.h"
#include "usb_link.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <unistd.h>

std::string SimBoardLibraryPath() {
    return VEXA_BIN_DIR "/libsimboard.so";
}

namespace {

template <typename Fn> void Resolve(void* library, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(dlsym(library, name));
    if (!fn) throw std::runtime_error(std::string("simulated board lacks ") + name);
}

SimBoardHooks LoadHooks() {
    void* library = dlopen(SimBoardLibraryPath().c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) throw std::runtime_error(dlerror());
    SimBoardHooks h{};
    Resolve(library, "SimBoard_ResetBoard", h.ResetBoard);
    Resolve(library, "SimBoard_EnableTrace", h.EnableTrace);
    Resolve(library, "SimBoard_TraceLength", h.TraceLength);
    Resolve(library, "SimBoard_ReadTrace", h.ReadTrace);
    Resolve(library, "SimBoard_ClearTrace", h.ClearTrace);
    Resolve(library, "SimBoard_FailNextOpen", h.FailNextOpen);
    Resolve(library, "SimBoard_ZeroWrites", h.ZeroWrites);
    Resolve(library, "SimBoard_ZeroReads", h.ZeroReads);
    Resolve(library, "SimBoard_DropAnswerBytes", h.DropAnswerBytes);
    Resolve(library, "SimBoard_LeaveUnerased", h.LeaveUnerased);
    Resolve(library, "SimBoard_CorruptNextProgram", h.CorruptNextProgram);
    Resolve(library, "SimBoard_ReadMemory", h.ReadMemory);
    Resolve(library, "SimBoard_WriteMemory", h.WriteMemory);
    Resolve(library, "SimBoard_GetPc", h.GetPc);
    Resolve(library, "SimBoard_SetPc", h.SetPc);
    Resolve(library, "SimBoard_GetBreakpoint", h.GetBreakpoint);
    Resolve(library, "SimBoard_SetBreakpoint", h.SetBreakpoint);
    Resolve(library, "SimBoard_ArmBreakRace", h.ArmBreakRace);
    Resolve(library, "SimBoard_IsRunning", h.IsRunning);
    Resolve(library, "SimBoard_SetLatency", h.SetLatency);
    Resolve(library, "SimBoard_DelayNextAnswer", h.DelayNextAnswer);
    Resolve(library, "SimBoard_SplitNextAnswer", h.SplitNextAnswer);
    Resolve(library, "SimBoard_StrayByte", h.StrayByte);
    Resolve(library, "SimBoard_CutWrite", h.CutWrite);
    Resolve(library, "SimBoard_SetAlternativeMeanings", h.SetAlternativeMeanings);
    return h; // the library stays loaded for the whole test program
}

} // namespace

const SimBoardHooks& Board() {
    static const SimBoardHooks hooks = LoadHooks();
    return hooks;
}

std::string RecordingPcDisplay::Hex(uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

void SimBoardTest::SetUp() {
    DestroyUsbLink();
    unsetenv("VEXA_SIM_NOT_ATTACHED");
    setenv("VEXA_D2XX_LIBRARY", SimBoardLibraryPath().c_str(), 1);
    Board().ResetBoard();
    platform::SetSleepFunction([this](unsigned ms) { sleeps.push_back(ms); });
    messages = std::make_unique<platform::RecordingMessageService>();

    g_bTargetBusy = false;
    g_bStopRequest = false;
    g_bStepStop = false;
    g_bProjectLoaded = false;
    g_bImageVerified = false;
    g_bHexOnly = false;
    g_strHexPath.clear();
    g_bReadProgress = false;
    ResetXdataRange();
    g_InternalDataImage.fill(0);
    g_ExternalDataImage.fill(0);
    g_CodeFlashImage.fill(0);
    g_DataFlashBuffer.fill(0);
    FreeAllBreakSlots();
    SetDebuggerPanes(nullptr);
    SetPcDisplay(nullptr);
    SetMainFrameLink(nullptr);

    StartLink();
}

void SimBoardTest::StartLink() {
    DestroyUsbLink();
    Board().EnableTrace(1);
    Board().ClearTrace();
    CreateUsbLink();
}

void SimBoardTest::TearDown() {
    SetDebuggerPanes(nullptr);
    SetPcDisplay(nullptr);
    SetMainFrameLink(nullptr);
    DestroyUsbLink();
    platform::SetSleepFunction({});
    messages.reset();
}

void SimBoardTest::InstallWindows() {
    SetDebuggerPanes(&panes);
    SetPcDisplay(&pcDisplay);
    SetMainFrameLink(&frame);
}

std::vector<SimBoardWireByte> SimBoardTest::Trace() const {
    std::vector<SimBoardWireByte> trace(Board().TraceLength());
    trace.resize(Board().ReadTrace(0, trace.data(), uint32_t(trace.size())));
    return trace;
}

std::vector<uint8_t> SimBoardTest::Sent() const {
    std::vector<uint8_t> bytes;
    for (const SimBoardWireByte& b : Trace())
        if (b.direction == SIMBOARD_TO_BOARD) bytes.push_back(b.value);
    return bytes;
}

std::vector<uint8_t> SimBoardTest::Received() const {
    std::vector<uint8_t> bytes;
    for (const SimBoardWireByte& b : Trace())
        if (b.direction == SIMBOARD_TO_HOST) bytes.push_back(b.value);
    return bytes;
}

namespace {

TransferLog g_transfers;
FT_WriteFn g_realWrite = nullptr;
FT_ReadFn g_realRead = nullptr;

FT_STATUS CountingWrite(FT_HANDLE handle, LPVOID buffer, DWORD count, LPDWORD written) {
    g_transfers.writeSizes.push_back(count);
    return g_realWrite(handle, buffer, count, written);
}

FT_STATUS CountingRead(FT_HANDLE handle, LPVOID buffer, DWORD count, LPDWORD read) {
    ++g_transfers.readCalls;
    return g_realRead(handle, buffer, count, read);
}

} // namespace

void StartTransferLog() {
    g_transfers = TransferLog();
    if (g_pUsbLink->pfnWrite != CountingWrite) {
        g_realWrite = g_pUsbLink->pfnWrite;
        g_pUsbLink->pfnWrite = CountingWrite;
    }
    if (g_pUsbLink->pfnRead != CountingRead) {
        g_realRead = g_pUsbLink->pfnRead;
        g_pUsbLink->pfnRead = CountingRead;
    }
}

TransferLog& Transfers() {
    return g_transfers;
}

std::string HexRecord(uint16_t address, const std::vector<uint8_t>& data, int type) {
    std::string text = ":";
    char field[16];
    unsigned sum = unsigned(data.size()) + (address >> 8) + (address & 0xFF) + unsigned(type);
    std::snprintf(field, sizeof field, "%02X%04X%02X", unsigned(data.size()), address, type);
    text += field;
    for (uint8_t b : data) {
        std::snprintf(field, sizeof field, "%02X", b);
        text += field;
        sum += b;
    }
    std::snprintf(field, sizeof field, "%02X", (0x100 - (sum & 0xFF)) & 0xFF);
    return text + field + "\n";
}

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
    std::vector<uint8_t> bytes;
    for (int v : values)
        bytes.push_back(uint8_t(v));
    return bytes;
}

std::vector<uint8_t> SelectBytes(int space, uint32_t address) {
    return Bytes({0x5C, space, 0x5B, int(address >> 16 & 0xFF), int(address >> 8 & 0xFF),
                  int(address & 0xFF)});
}

void Append(std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
}

namespace {

// A folder for the test's files, removed with everything in it at exit.
struct TempFolder {
    TempFolder() {
        char pattern[] = "/tmp/target-tests-XXXXXX";
        const char* made = mkdtemp(pattern);
        if (!made) throw std::runtime_error("cannot make a temporary folder");
        path = made;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string path;
};

} // namespace

std::string WriteTempFile(const std::string& name, const std::string& text) {
    static TempFolder folder;
    const std::string path = folder.path + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

std::vector<uint8_t> BoardInternalBytes() {
    std::vector<uint8_t> bytes(0x100);
    Board().ReadMemory(SIMBOARD_IRAM, 0, bytes.data(), 0x80);
    Board().ReadMemory(SIMBOARD_SFR, 0x80, bytes.data() + 0x80, 0x80);
    return bytes;
}

std::vector<uint8_t> BoardExternalBytes() {
    std::vector<uint8_t> bytes(0x10000);
    Board().ReadMemory(SIMBOARD_XDATA, 0, bytes.data(), uint32_t(bytes.size()));
    return bytes;
}

uint32_t CoreValue(const std::vector<uint8_t>& memory, uint32_t address, int size) {
    uint32_t value = 0;
    for (int i = 0; i < size; ++i)
        value = value << 8 | memory[address + uint32_t(i)];
    return value;
}
