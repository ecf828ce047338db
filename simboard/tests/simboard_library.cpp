#include "simboard_library.h"

#include <dlfcn.h>

std::string simBoardLibraryPath() {
    return VEXA_BIN_DIR "/libsimboard.so";
}

namespace {

template <typename Fn> void bind(SimBoardLibrary& lib, Fn& fn, const char* name) {
    fn = reinterpret_cast<Fn>(dlsym(lib.module, name));
    if (fn == nullptr && lib.loadError.empty()) lib.loadError = std::string("missing ") + name;
}

SimBoardLibrary load() {
    SimBoardLibrary lib;
    lib.module = dlopen(simBoardLibraryPath().c_str(), RTLD_NOW | RTLD_LOCAL);
    if (lib.module == nullptr) {
        lib.loadError = dlerror();
        return lib;
    }
#define BIND(name) bind(lib, lib.name, #name)
#define BIND_HOOK(name) bind(lib, lib.name, "SimBoard_" #name)
    BIND(FT_Open);
    BIND(FT_OpenEx);
    BIND(FT_Close);
    BIND(FT_ListDevices);
    BIND(FT_Read);
    BIND(FT_Write);
    BIND(FT_ResetDevice);
    BIND(FT_Purge);
    BIND(FT_SetTimeouts);
    BIND(FT_GetQueueStatus);
    BIND_HOOK(ResetBoard);
    BIND_HOOK(EnableTrace);
    BIND_HOOK(TraceLength);
    BIND_HOOK(ReadTrace);
    BIND_HOOK(ClearTrace);
    BIND_HOOK(FailNextOpen);
    BIND_HOOK(ZeroWrites);
    BIND_HOOK(ZeroReads);
    BIND_HOOK(DropAnswerBytes);
    BIND_HOOK(LeaveUnerased);
    BIND_HOOK(CorruptNextProgram);
    BIND_HOOK(ArmBreakRace);
    BIND_HOOK(ClearFaults);
    BIND_HOOK(SetLatency);
    BIND_HOOK(DelayNextAnswer);
    BIND_HOOK(SplitNextAnswer);
    BIND_HOOK(StrayByte);
    BIND_HOOK(CutWrite);
    BIND_HOOK(SetAlternativeMeanings);
    BIND_HOOK(ReadMemory);
    BIND_HOOK(WriteMemory);
    BIND_HOOK(GetPc);
    BIND_HOOK(SetPc);
    BIND_HOOK(IsRunning);
    BIND_HOOK(SetRunning);
    BIND_HOOK(GetBreakpoint);
    BIND_HOOK(SetBreakpoint);
#undef BIND
#undef BIND_HOOK
    return lib;
}

} // namespace

const SimBoardLibrary& SimBoardLibrary::get() {
    static const SimBoardLibrary lib = load();
    return lib;
}
