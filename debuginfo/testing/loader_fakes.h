// Recording stand-ins for the user interface and the target session that
// Open and Close call into: every call is logged in order.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "project_loader.h"

namespace debuginfo_test {

class RecordingView : public ProjectLoaderView {
public:
    bool ChooseProjectFile(const std::string& filter, std::string& path) override;
    void ReportProgress(int percent) override;
    void ClearWorkspaceTree() override { log.push_back("ClearWorkspaceTree"); }
    void FillWorkspaceTree(const std::string& imageName) override;
    void ExpandWorkspaceTree() override { log.push_back("ExpandWorkspaceTree"); }
    void OpenSourceDocument(const std::string& path) override;
    void CloseAllDocuments() override { log.push_back("CloseAllDocuments"); }
    void SetCodeMemoryEnd(const std::string& text) override;
    bool MainWindowExists() override { return mainWindow; }
    void ShowAssemblyOnly() override { log.push_back("ShowAssemblyOnly"); }
    void ClearPanes() override;
    void PostCommand(std::function<void()> command) override;

    // Runs the posted commands in order, as the event loop would.
    void RunPostedCommands();
    // The calls whose text starts with `prefix`.
    std::vector<std::string> Calls(const std::string& prefix) const;

    std::deque<std::string> dialogAnswers; // a path, or "" for Cancel
    bool mainWindow = true;
    std::vector<std::string> log;
    std::vector<int> progress;
    std::vector<std::string> documents;
    std::deque<std::function<void()>> posted;
    // What the model held when the panes were cleared.
    bool modelGoneBeforePanes = true;
};

class RecordingSession : public ProjectSession {
public:
    bool IsProjectLoaded() override { return loaded; }
    void ClearProjectLoaded() override { loaded = false; }
    void ClearImageVerified() override { log.push_back("ClearImageVerified"); }
    void SetHexOnly(bool value) override { hexOnly = value; }
    void SetHexPath(const std::string& path) override { hexPath = path; }
    void InitDebugger() override { log.push_back("InitDebugger"); }
    void StartDebugSession() override;
    uint16_t ReadPc() override;
    void SetCurrentPc(uint16_t pc) override;
    void ShowPcInAssembly(uint16_t pc, int select) override;
    void UpdateDebugWindows() override { log.push_back("UpdateDebugWindows"); }

    bool loaded = false;
    bool hexOnly = false;
    std::string hexPath;
    uint16_t pc = 0;
    std::vector<std::string> log;
};

} // namespace debuginfo_test
