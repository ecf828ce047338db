#include "target_session.h"

#include "debugger_init.h"
#include "debugger_views.h"
#include "host_memory.h"
#include "target_flags.h"
#include "target_protocol.h"

bool CTargetSession::IsProjectLoaded() {
    return g_bProjectLoaded;
}

void CTargetSession::ClearProjectLoaded() {
    g_bProjectLoaded = false;
}

void CTargetSession::ClearImageVerified() {
    g_bImageVerified = false;
}

void CTargetSession::SetHexOnly(bool hexOnly) {
    g_bHexOnly = hexOnly;
}

void CTargetSession::SetHexPath(const std::string& path) {
    g_strHexPath = path;
}

void CTargetSession::InitDebugger() {
    ::InitDebugger();
}

void CTargetSession::StartDebugSession() {
    ::StartDebugSession();
}

uint16_t CTargetSession::ReadPc() {
    return ::ReadPc();
}

void CTargetSession::SetCurrentPc(uint16_t pc) {
    if (PcDisplay* display = GetPcDisplay()) display->SetCurrentPc(pc);
}

void CTargetSession::ShowPcInAssembly(uint16_t pc, int select) {
    if (PcDisplay* display = GetPcDisplay()) display->ShowPcInAssembly(pc, select);
}

void CTargetSession::UpdateDebugWindows() {
    ::UpdateDebugWindows();
}
