#include "loader_fakes.h"

#include "listing_model.h"
#include "symbol_records.h"
#include "symbol_table.h"

namespace debuginfo_test {

bool RecordingView::ChooseProjectFile(const std::string& filter, std::string& path) {
    log.push_back("ChooseProjectFile " + filter);
    if (dialogAnswers.empty() || dialogAnswers.front().empty()) {
        if (!dialogAnswers.empty()) dialogAnswers.pop_front();
        return false;
    }
    path = dialogAnswers.front();
    dialogAnswers.pop_front();
    return true;
}

void RecordingView::ReportProgress(int percent) {
    progress.push_back(percent);
}

void RecordingView::FillWorkspaceTree(const std::string& imageName) {
    log.push_back("FillWorkspaceTree " + imageName);
}

void RecordingView::OpenSourceDocument(const std::string& path) {
    log.push_back("OpenSourceDocument");
    documents.push_back(path);
}

void RecordingView::SetCodeMemoryEnd(const std::string& text) {
    log.push_back("SetCodeMemoryEnd " + text);
}

void RecordingView::ClearPanes() {
    log.push_back("ClearPanes");
    documents.clear();
    if (g_pSymbolTable || g_pSymbolDatabase || g_pProject || !g_ListingModel.m_srcRows.empty() ||
        !g_IndexTableList.empty())
        modelGoneBeforePanes = false;
}

void RecordingView::PostCommand(std::function<void()> command) {
    log.push_back("PostCommand");
    posted.push_back(std::move(command));
}

void RecordingView::RunPostedCommands() {
    while (!posted.empty()) {
        auto command = std::move(posted.front());
        posted.pop_front();
        command();
    }
}

std::vector<std::string> RecordingView::Calls(const std::string& prefix) const {
    std::vector<std::string> calls;
    for (const std::string& call : log)
        if (call.rfind(prefix, 0) == 0) calls.push_back(call);
    return calls;
}

void RecordingSession::StartDebugSession() {
    log.push_back("StartDebugSession");
    loaded = true;
}

uint16_t RecordingSession::ReadPc() {
    log.push_back("ReadPc");
    return pc;
}

void RecordingSession::SetCurrentPc(uint16_t value) {
    log.push_back("SetCurrentPc " + std::to_string(value));
}

void RecordingSession::ShowPcInAssembly(uint16_t value, int select) {
    log.push_back("ShowPcInAssembly " + std::to_string(value) + " " + std::to_string(select));
}

} // namespace debuginfo_test
