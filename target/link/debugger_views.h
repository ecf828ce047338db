// What the target link asks of the windows above it.
//
// The panes, the current-PC display and the main frame live in the user
// interface. The target code reaches them only through these interfaces;
// the application installs its implementations at start. While nothing is
// installed the calls do nothing (and the main frame counts as not existing),
// so the target code runs headless.
#pragma once

#include <cstdint>

// The information panes and the other windows that show target state.
class DebuggerPanes {
public:
    virtual ~DebuggerPanes() = default;

    // The refresh after every stop, in this order.
    virtual void UpdateRegisterWnd() = 0;
    virtual void FillVariables() = 0; // the Search pane, in its current radix
    virtual void FillLocalVariables() = 0;
    virtual void UpdateGlobalVariableValues() = 0;
    virtual void RefreshIDataWindow() = 0;
    virtual void UpdateSymbolWnd() = 0;

    // The first fill after a project is opened.
    virtual void InitMemoryWindows() = 0;
    virtual void FillSymbolWnd() = 0;
    virtual void ClearEmulatorRows() = 0;
    virtual void AddSourceFilesToTree() = 0;
    virtual void FillGlobalVariableWnd() = 0;
    virtual void AllowRegisterEdit(bool allow) = 0; // every value row of the register pane
    virtual void RebindOpenDocuments() = 0;

    // The break pane's remove-all: every breakpoint record and marker goes.
    virtual void RemoveAllBreakPoints() = 0;
    // The flash pane redraws its grid from the host copies.
    virtual void RedrawFlashPane() = 0;
};

// The current program counter in the source views and the assembly pane.
class PcDisplay {
public:
    virtual ~PcDisplay() = default;
    virtual void CreatePcModel() = 0;
    virtual void SetCurrentPc(uint16_t pc) = 0;
    // The PC was put where it is by the host (a reset, an image load, an
    // edit), not reached by running: a PC without a source line shows no
    // marker rather than the line shown last.
    virtual void PlaceCurrentPc(uint16_t pc) { SetCurrentPc(pc); }
    virtual void ShowPcInAssembly(uint16_t pc, int select) = 0;
    // Project close: the model goes, with every view it pointed to.
    virtual void ResetPcModel() {}
    // The program counter shown; false while no model exists.
    virtual bool GetCurrentPc(uint16_t& /*pc*/) const { return false; }
};

// The main frame; installed for as long as it exists.
class MainFrameLink {
public:
    virtual ~MainFrameLink() = default;
    // The progress percent shown in the status bar (the frame clamps it to 100).
    virtual void ReportProgress(int percent) = 0;
};

// Installing nullptr removes an implementation.
void SetDebuggerPanes(DebuggerPanes* panes);
DebuggerPanes* GetDebuggerPanes();
void SetPcDisplay(PcDisplay* display);
PcDisplay* GetPcDisplay();
void SetMainFrameLink(MainFrameLink* frame);
MainFrameLink* GetMainFrameLink();

// True while a main frame is installed.
bool MainFrameExists();
// Sends a progress percent to the main frame when it exists.
void ReportProgress(int percent);
