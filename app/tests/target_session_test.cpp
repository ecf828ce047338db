// Opening and closing a bare image through the project loader and the
// target session, on the simulated board: what reaches the panes, in order.
#include "debugger_views.h"
#include "message_service.h"
#include "project_loader.h"
#include "target_flags.h"
#include "target_session.h"
#include "usb_link.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

// The example project's image, opened alone.
const std::string kImage = std::string(VEXA_SOURCE_DIR) + "/example/obj/blinky.hex";

using Calls = std::vector<std::string>;

class RecordingPanes : public DebuggerPanes, public PcDisplay {
public:
    explicit RecordingPanes(Calls& calls) : m_calls(calls) {}
    void UpdateRegisterWnd() override { Add("UpdateRegisterWnd"); }
    void FillVariables() override { Add("FillVariables"); }
    void FillLocalVariables() override { Add("FillLocalVariables"); }
    void UpdateGlobalVariableValues() override { Add("UpdateGlobalVariableValues"); }
    void RefreshIDataWindow() override { Add("RefreshIDataWindow"); }
    void UpdateSymbolWnd() override { Add("UpdateSymbolWnd"); }
    void InitMemoryWindows() override { Add("InitMemoryWindows"); }
    void FillSymbolWnd() override { Add("FillSymbolWnd"); }
    void ClearEmulatorRows() override { Add("ClearEmulatorRows"); }
    void AddSourceFilesToTree() override { Add("AddSourceFilesToTree"); }
    void FillGlobalVariableWnd() override { Add("FillGlobalVariableWnd"); }
    void AllowRegisterEdit(bool) override { Add("AllowRegisterEdit"); }
    void RebindOpenDocuments() override { Add("RebindOpenDocuments"); }
    void RemoveAllBreakPoints() override { Add("RemoveAllBreakPoints"); }
    void RedrawFlashPane() override { Add("RedrawFlashPane"); }
    void CreatePcModel() override { Add("CreatePcModel"); }
    void SetCurrentPc(uint16_t) override { Add("SetCurrentPc"); }
    void ShowPcInAssembly(uint16_t, int) override { Add("ShowPcInAssembly"); }
    void ResetPcModel() override { Add("ResetPcModel"); }

private:
    void Add(const char* call) {
        m_calls.push_back(std::string(call) + (g_bProjectLoaded ? "+" : ""));
    }
    Calls& m_calls;
};

class RecordingView : public ProjectLoaderView {
public:
    explicit RecordingView(Calls& calls) : m_calls(calls) {}
    bool ChooseProjectFile(const std::string&, std::string& path) override {
        path = kImage;
        return true;
    }
    void ReportProgress(int percent) override { progress.push_back(percent); }
    void ClearWorkspaceTree() override { m_calls.push_back("ClearWorkspaceTree"); }
    void FillWorkspaceTree(const std::string&) override { m_calls.push_back("FillWorkspaceTree"); }
    void ExpandWorkspaceTree() override { m_calls.push_back("ExpandWorkspaceTree"); }
    void OpenSourceDocument(const std::string&) override {
        m_calls.push_back("OpenSourceDocument");
    }
    void CloseAllDocuments() override {
        m_calls.push_back(g_bProjectLoaded ? "CloseAllDocuments+" : "CloseAllDocuments");
    }
    void SetCodeMemoryEnd(const std::string&) override {}
    bool MainWindowExists() override { return true; }
    void ShowAssemblyOnly() override { m_calls.push_back("ShowAssemblyOnly"); }
    void ClearPanes() override { m_calls.push_back("ClearPanes"); }
    void PostCommand(std::function<void()>) override {}
    std::vector<int> progress;

private:
    Calls& m_calls;
};

class TargetSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!std::ifstream(kImage).good()) GTEST_SKIP() << "no " << kImage;
        std::string board = std::string(VEXA_BIN_DIR) + "/libsimboard.so";
        setenv("VEXA_D2XX_LIBRARY", board.c_str(), 1);
        unsetenv("VEXA_SIM_HEX");
        CreateUsbLink();
        SetDebuggerPanes(&panes);
        SetPcDisplay(&panes);
    }
    void TearDown() override {
        SetDebuggerPanes(nullptr);
        SetPcDisplay(nullptr);
        DestroyUsbLink();
        g_bProjectLoaded = false;
    }

    Calls calls;
    RecordingPanes panes{calls};
    RecordingView view{calls};
    CTargetSession session;
    platform::RecordingMessageService messages;
};

} // namespace

TEST_F(TargetSessionTest, OpenFillsThePanesThenShowsThePcThenRefreshes) {
    CProjectLoader loader(view, session);
    loader.OnFileOpen();
    ASSERT_TRUE(g_bProjectLoaded) << ::testing::PrintToString(messages.Texts());
    EXPECT_TRUE(g_bHexOnly);
    EXPECT_EQ(g_strHexPath, kImage);
    EXPECT_EQ(view.progress.back(), 100);
    const Calls expected = {// A bare image has no workspace tree. StartDebugSession: the first
                            // fill, then the project counts as loaded.
                            "CreatePcModel", "UpdateRegisterWnd", "InitMemoryWindows",
                            "FillSymbolWnd", "ClearEmulatorRows", "AddSourceFilesToTree",
                            "FillGlobalVariableWnd", "AllowRegisterEdit", "RebindOpenDocuments+",
                            "ShowAssemblyOnly",
                            // The PC shown, then UpdateDebugWindows in its fixed order.
                            "SetCurrentPc+", "ShowPcInAssembly+", "UpdateRegisterWnd+",
                            "FillVariables+", "FillLocalVariables+", "UpdateGlobalVariableValues+",
                            "RefreshIDataWindow+", "UpdateSymbolWnd+"};
    EXPECT_EQ(calls, expected);

    calls.clear();
    loader.OnProjectClose();
    EXPECT_FALSE(g_bProjectLoaded);
    EXPECT_FALSE(g_bHexOnly);
    // The flag drops before the documents close, so they may close.
    EXPECT_EQ(calls, (Calls{"CloseAllDocuments", "ClearPanes"}));
    EXPECT_EQ(view.progress.back(), 0);
}
