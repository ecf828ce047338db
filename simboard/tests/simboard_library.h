// The simulated board library as the tests reach it: loaded with dlopen from
// the build's bin folder, like the debugger loads it, with its D2XX entry
// points and test hooks bound by name.
#pragma once

#include "d2xx_types.h"
#include "simboard_hooks.h"

#include <string>

struct SimBoardLibrary {
    // Loads the library once per process; a failure is reported by
    // loadError() and leaves every pointer null.
    static const SimBoardLibrary& get();

    std::string loadError;
    void* module = nullptr;

    FT_OpenFn FT_Open = nullptr;
    FT_OpenExFn FT_OpenEx = nullptr;
    FT_CloseFn FT_Close = nullptr;
    FT_ListDevicesFn FT_ListDevices = nullptr;
    FT_ReadFn FT_Read = nullptr;
    FT_WriteFn FT_Write = nullptr;
    FT_ResetDeviceFn FT_ResetDevice = nullptr;
    FT_PurgeFn FT_Purge = nullptr;
    FT_SetTimeoutsFn FT_SetTimeouts = nullptr;
    FT_GetQueueStatusFn FT_GetQueueStatus = nullptr;

    decltype(&SimBoard_ResetBoard) ResetBoard = nullptr;
    decltype(&SimBoard_EnableTrace) EnableTrace = nullptr;
    decltype(&SimBoard_TraceLength) TraceLength = nullptr;
    decltype(&SimBoard_ReadTrace) ReadTrace = nullptr;
    decltype(&SimBoard_ClearTrace) ClearTrace = nullptr;
    decltype(&SimBoard_FailNextOpen) FailNextOpen = nullptr;
    decltype(&SimBoard_ZeroWrites) ZeroWrites = nullptr;
    decltype(&SimBoard_ZeroReads) ZeroReads = nullptr;
    decltype(&SimBoard_DropAnswerBytes) DropAnswerBytes = nullptr;
    decltype(&SimBoard_LeaveUnerased) LeaveUnerased = nullptr;
    decltype(&SimBoard_CorruptNextProgram) CorruptNextProgram = nullptr;
    decltype(&SimBoard_ArmBreakRace) ArmBreakRace = nullptr;
    decltype(&SimBoard_ClearFaults) ClearFaults = nullptr;
    decltype(&SimBoard_SetLatency) SetLatency = nullptr;
    decltype(&SimBoard_DelayNextAnswer) DelayNextAnswer = nullptr;
    decltype(&SimBoard_SplitNextAnswer) SplitNextAnswer = nullptr;
    decltype(&SimBoard_StrayByte) StrayByte = nullptr;
    decltype(&SimBoard_CutWrite) CutWrite = nullptr;
    decltype(&SimBoard_SetAlternativeMeanings) SetAlternativeMeanings = nullptr;
    decltype(&SimBoard_ReadMemory) ReadMemory = nullptr;
    decltype(&SimBoard_WriteMemory) WriteMemory = nullptr;
    decltype(&SimBoard_GetPc) GetPc = nullptr;
    decltype(&SimBoard_SetPc) SetPc = nullptr;
    decltype(&SimBoard_IsRunning) IsRunning = nullptr;
    decltype(&SimBoard_SetRunning) SetRunning = nullptr;
    decltype(&SimBoard_GetBreakpoint) GetBreakpoint = nullptr;
    decltype(&SimBoard_SetBreakpoint) SetBreakpoint = nullptr;
};

// Path of the built library.
std::string simBoardLibraryPath();
