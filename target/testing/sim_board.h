// Test access to the simulated adapter board: its hooks through dlsym on the
// same library the link loads, and the recording stand-ins for the windows.
#pragma once

#include "d2xx_types.h"
#include "debugger_views.h"
#include "message_service.h"
#include "simboard_hooks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

std::string SimBoardLibraryPath();

// The board's hooks, looked up once.
struct SimBoardHooks {
    decltype(&SimBoard_ResetBoard) ResetBoard;
    decltype(&SimBoard_EnableTrace) EnableTrace;
    decltype(&SimBoard_TraceLength) TraceLength;
    decltype(&SimBoard_ReadTrace) ReadTrace;
    decltype(&SimBoard_ClearTrace) ClearTrace;
    decltype(&SimBoard_FailNextOpen) FailNextOpen;
    decltype(&SimBoard_ZeroWrites) ZeroWrites;
    decltype(&SimBoard_ZeroReads) ZeroReads;
    decltype(&SimBoard_DropAnswerBytes) DropAnswerBytes;
    decltype(&SimBoard_LeaveUnerased) LeaveUnerased;
    decltype(&SimBoard_CorruptNextProgram) CorruptNextProgram;
    decltype(&SimBoard_ReadMemory) ReadMemory;
    decltype(&SimBoard_WriteMemory) WriteMemory;
    decltype(&SimBoard_GetPc) GetPc;
    decltype(&SimBoard_SetPc) SetPc;
    decltype(&SimBoard_GetBreakpoint) GetBreakpoint;
    decltype(&SimBoard_SetBreakpoint) SetBreakpoint;
    decltype(&SimBoard_ArmBreakRace) ArmBreakRace;
    decltype(&SimBoard_IsRunning) IsRunning;
    decltype(&SimBoard_SetLatency) SetLatency;
    decltype(&SimBoard_DelayNextAnswer) DelayNextAnswer;
    decltype(&SimBoard_SplitNextAnswer) SplitNextAnswer;
    decltype(&SimBoard_StrayByte) StrayByte;
    decltype(&SimBoard_CutWrite) CutWrite;
    decltype(&SimBoard_SetAlternativeMeanings) SetAlternativeMeanings;
};
const SimBoardHooks& Board();

struct RecordingPanes : DebuggerPanes {
    std::vector<std::string> calls;
    void UpdateRegisterWnd() override { calls.push_back("UpdateRegisterWnd"); }
    void FillVariables() override { calls.push_back("FillVariables"); }
    void FillLocalVariables() override { calls.push_back("FillLocalVariables"); }
    void UpdateGlobalVariableValues() override { calls.push_back("UpdateGlobalVariableValues"); }
    void RefreshIDataWindow() override { calls.push_back("RefreshIDataWindow"); }
    void UpdateSymbolWnd() override { calls.push_back("UpdateSymbolWnd"); }
    void InitMemoryWindows() override { calls.push_back("InitMemoryWindows"); }
    void FillSymbolWnd() override { calls.push_back("FillSymbolWnd"); }
    void ClearEmulatorRows() override { calls.push_back("ClearEmulatorRows"); }
    void AddSourceFilesToTree() override { calls.push_back("AddSourceFilesToTree"); }
    void FillGlobalVariableWnd() override { calls.push_back("FillGlobalVariableWnd"); }
    void AllowRegisterEdit(bool allow) override {
        calls.push_back(allow ? "AllowRegisterEdit(1)" : "AllowRegisterEdit(0)");
    }
    void RebindOpenDocuments() override { calls.push_back("RebindOpenDocuments"); }
    void RemoveAllBreakPoints() override { calls.push_back("RemoveAllBreakPoints"); }
    void RedrawFlashPane() override { calls.push_back("RedrawFlashPane"); }
};

struct RecordingPcDisplay : PcDisplay {
    std::vector<std::string> calls;
    void CreatePcModel() override { calls.push_back("CreatePcModel"); }
    void SetCurrentPc(uint16_t pc) override { calls.push_back("SetCurrentPc " + Hex(pc)); }
    void ShowPcInAssembly(uint16_t pc, int select) override {
        calls.push_back("ShowPcInAssembly " + Hex(pc) + " " + std::to_string(select));
    }
    static std::string Hex(uint16_t value);
};

struct RecordingFrame : MainFrameLink {
    std::vector<int> progress;
    void ReportProgress(int percent) override { progress.push_back(percent); }
};

// Each test starts with a freshly reset board, a link created through
// CreateUsbLink (trace on from the start), pauses recorded instead of slept,
// messages recorded, and nothing installed for the windows.
class SimBoardTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Starts the link again, as at process start.
    void StartLink();

    std::vector<SimBoardWireByte> Trace() const;
    // The bytes the host wrote / read, in order.
    std::vector<uint8_t> Sent() const;
    std::vector<uint8_t> Received() const;
    void ClearTrace() const { Board().ClearTrace(); }
    std::vector<std::string> Messages() const { return messages->Texts(); }

    void InstallWindows();

    std::unique_ptr<platform::RecordingMessageService> messages;
    std::vector<unsigned> sleeps;
    RecordingPanes panes;
    RecordingPcDisplay pcDisplay;
    RecordingFrame frame;
};

// The entry-point calls the link makes, counted by wrappers put in place of
// its bound FT_Write and FT_Read.
struct TransferLog {
    std::vector<uint32_t> writeSizes; // bytes asked per FT_Write call
    size_t readCalls = 0;
};
// Starts counting on the current link, from an empty log.
void StartTransferLog();
TransferLog& Transfers();

std::vector<uint8_t> Bytes(std::initializer_list<int> values);
// The text of a data record (checksum correct).
std::string HexRecord(uint16_t address, const std::vector<uint8_t>& data, int type = 0);
// The bytes the host sent for one ReadMemory / WriteTargetValue setup.
std::vector<uint8_t> SelectBytes(int space, uint32_t address);
// Appends b to a.
void Append(std::vector<uint8_t>& a, const std::vector<uint8_t>& b);
// Writes `text` to a new file in a temporary folder and returns its path.
std::string WriteTempFile(const std::string& name, const std::string& text);

// The bytes the board's core holds in internal data and SFRs (0x00-0xFF),
// and in external data (0x0000-0xFFFF).
std::vector<uint8_t> BoardInternalBytes();
std::vector<uint8_t> BoardExternalBytes();
// The value of `size` bytes at `address` of a picture of the core's memory,
// high byte first: the order the debugger reads every value in.
uint32_t CoreValue(const std::vector<uint8_t>& memory, uint32_t address, int size);
