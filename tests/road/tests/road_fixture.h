// A project opened the way the user opens it, on the simulated board: the
// project loader with a session that calls the real target side, the real
// run-control lookups, a PC model over recording source views, and the
// completions finished as the user interface finishes them.
#pragma once

#include "fake_source_views.h"
#include "loader_fakes.h"
#include "pc_model.h"
#include "project_loader.h"
#include "run_lookups.h"
#include "run_program.h"
#include "target_session.h"
#include "test_support.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace road {

// The address a call's text calls ("LCALL  L0B8F", "ACALL  0B8FH").
uint16_t CallTarget(const std::string& text);

// One project the road is walked on.
struct RoadProject {
    const char* label;
    // The example project (copied into a scratch folder), or a folder below
    // the real projects.
    bool example;
    const char* folder;
    const char* projectFile; // as the user would choose it
};

// The loader's view, which also opens each source document in the source views.
class DocumentOpeningView : public debuginfo_test::RecordingView {
public:
    explicit DocumentOpeningView(FakeSourceViews& views) : m_views(views) {}
    void OpenSourceDocument(const std::string& path) override;

private:
    FakeSourceViews& m_views;
};

class RoadTest : public RunControlTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens the project (a path chosen in the open dialog); false, with the
    // test skipped, when a real project is absent.
    bool Open(const RoadProject& project);
    // Opens only the project's image, as the user does when choosing a .hex.
    bool OpenImageOnly(const RoadProject& project, const std::string& hexPath);
    // Image Load, and the board's PC back at the reset address.
    void LoadImage();
    // Starts `command` from the board's current PC and finishes it.
    RunCompletion Run(const std::function<int()>& command);
    // Stepi until the PC stands on an LCALL (at most 50 instructions); its
    // address, or 0 when none came.
    uint16_t StepiToCall();
    // Stepi to the next call, then `command` (Next or Nexti) runs over it: one
    // internal breakpoint at its return address, run, freed. The call's
    // address, or 0 (a failure) when none came.
    uint16_t RunOverTheNextCall(int (*command)());
    // The address of "FILE:line", asserting it has one.
    uint16_t AddressOf(const std::string& file, int line);
    // The line the PC model shows.
    int ShownLine() const;
    std::string ShownDocument() const;
    // The user slots filled, the 17th refused, Clear All (see the test file).
    void FillSlotsRefuseTheSeventeenthAndClearAll(std::vector<uint16_t> used,
                                                  const std::string& first,
                                                  const std::string& second);

    FakeSourceViews views;
    PcModelDisplay display{
        views, [this](uint16_t pc, int select) { pcDisplay.ShowPcInAssembly(pc, select); }};
    DocumentOpeningView loaderView{views};
    CTargetSession session; // the session the application installs
    std::unique_ptr<CProjectLoader> loader;
    debuginfo_test::TempFolder copy;
    debuginfo_test::TempFolder scratch;
};

} // namespace road
