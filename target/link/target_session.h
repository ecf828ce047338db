// The target side of opening and closing a project: the process-wide run
// flags, the debugger initialisation, the first fill of the panes and the
// PC display.
#pragma once

#include "project_loader.h"

class CTargetSession : public ProjectSession {
public:
    bool IsProjectLoaded() override;
    void ClearProjectLoaded() override;
    void ClearImageVerified() override;
    void SetHexOnly(bool hexOnly) override;
    void SetHexPath(const std::string& path) override;
    void InitDebugger() override;
    void StartDebugSession() override;
    uint16_t ReadPc() override;
    void SetCurrentPc(uint16_t pc) override;
    void ShowPcInAssembly(uint16_t pc, int select) override;
    void UpdateDebugWindows() override;
};
