// One Open without a window, with the real disassembler, timed phase by
// phase. The phases are told apart by the progress the loader reports (0
// after the project file, 10 after the map, 20 after the disassembly, 30
// after the listings, 100 after the listing model). Messages are recorded;
// the offer to open the image alone is declined.
#pragma once

#include <array>
#include <chrono>
#include <string>

#include "message_service.h"
#include "project_loader.h"

namespace bench {

using Clock = std::chrono::steady_clock;

double MillisecondsBetween(Clock::time_point from, Clock::time_point to);

enum Phase { kProjectFile, kMap, kDisassembly, kListings, kLineTables, kModel, kTotal, kPhases };
extern const char* const kPhaseNames[kPhases];

class TimingView : public ProjectLoaderView {
public:
    bool ChooseProjectFile(const std::string&, std::string& path) override {
        path = projectPath;
        return true;
    }
    void ReportProgress(int percent) override;
    void ClearWorkspaceTree() override {}
    void FillWorkspaceTree(const std::string&) override {}
    void ExpandWorkspaceTree() override {}
    void OpenSourceDocument(const std::string&) override {}
    void CloseAllDocuments() override {}
    void SetCodeMemoryEnd(const std::string&) override {}
    bool MainWindowExists() override { return false; }
    void ShowAssemblyOnly() override {}
    void ClearPanes() override {}
    void PostCommand(std::function<void()>) override {}

    static constexpr std::array<int, 5> kMarks = {0, 10, 20, 30, 100};
    std::string projectPath;
    std::array<bool, 5> seen{};
    std::array<Clock::time_point, 5> marks{};
};

class QuietSession : public ProjectSession {
public:
    bool IsProjectLoaded() override { return loaded; }
    void ClearProjectLoaded() override { loaded = false; }
    void ClearImageVerified() override {}
    void SetHexOnly(bool value) override { hexOnly = value; }
    void SetHexPath(const std::string&) override {}
    void InitDebugger() override {}
    void StartDebugSession() override { loaded = true; }
    uint16_t ReadPc() override { return 0; }
    void SetCurrentPc(uint16_t) override {}
    void ShowPcInAssembly(uint16_t, int) override {}
    void UpdateDebugWindows() override {}

    bool loaded = false;
    bool hexOnly = false;
};

// Opens `path` on construction; the project stays loaded until destruction.
class HeadlessOpen {
public:
    HeadlessOpen(const std::string& path, const std::string& scratchFolder);
    ~HeadlessOpen();
    HeadlessOpen(const HeadlessOpen&) = delete;
    HeadlessOpen& operator=(const HeadlessOpen&) = delete;

    // Loaded with `expectedMessages` messages shown (none for an intact
    // project, the one naming the damage for a damaged copy), every phase
    // reported.
    bool Complete(size_t expectedMessages = 0) const;
    // The phase times; the line tables are not told apart here (0).
    void PhaseTimes(double (&ms)[kPhases]) const;

    platform::RecordingMessageService messages;
    TimingView view;
    QuietSession session;
    CProjectLoader loader{view, session};

private:
    Clock::time_point m_start;
    Clock::time_point m_end;
};

} // namespace bench
