#include "pc_model.h"

#include "path_resolver.h"
#include "run_lookups.h"

#include <cstdlib>

namespace {

constexpr unsigned Bit(int markerNumber) {
    return 1u << markerNumber;
}

// The decimal number after the first ':' (up to a line end); -1 when none.
int32_t LineOfPosition(const std::string& text) {
    const size_t colon = text.find(':');
    if (colon == std::string::npos) return -1;
    const size_t start = colon + 1;
    const size_t end = text.find_first_of(":\n", start);
    const std::string token = text.substr(start, end == std::string::npos ? end : end - start);
    if (token.empty()) return -1;
    return int32_t(std::strtol(token.c_str(), nullptr, 10));
}

} // namespace

std::string GetFirstToken(const std::string& text) {
    return text.substr(0, text.find(':'));
}

void SetPcMarker(SourceViews& views, SourceViewRef view, int line) {
    const int l = line - 1;
    if (views.MarkersOfLine(view, l) & Bit(marker::kCodeLine)) {
        views.DeleteMarker(view, l, marker::kCodeLine);
        views.AddMarker(view, l, marker::kMarkedCodeLine);
    }
    views.AddMarker(view, l, marker::kCurrentPc);
}

void ClearPcMarker(SourceViews& views, SourceViewRef view, int line) {
    const int l = line - 1;
    const unsigned markers = views.MarkersOfLine(view, l);
    if (!(markers & Bit(marker::kCurrentPc))) return;
    const unsigned pcOnCode = Bit(marker::kCurrentPc) | Bit(marker::kMarkedCodeLine);
    if (markers == pcOnCode) {
        views.DeleteMarker(view, l, marker::kCurrentPc);
        views.DeleteMarker(view, l, marker::kMarkedCodeLine);
        views.AddMarker(view, l, marker::kCodeLine);
    } else {
        views.DeleteMarker(view, l, marker::kCurrentPc);
    }
}

int PcModel::SetCurrentPc(uint16_t pc, bool placed) {
    m_new.pc = pc;
    FindSourceLineOfAddress(m_new, pc, placed);
    if (m_shown.view) ClearPcMarker(m_views, m_shown.view, m_shown.line);
    ActivatePcView(m_new);
    m_shown = m_new;
    return 1;
}

void PcModel::FindSourceLineOfAddress(PcPosition& record, uint16_t pc, bool placed) {
    const std::string text = LineOfAddress(pc);
    if (text.empty()) {
        // A run keeps the marker where it was; a placed PC shows no line.
        if (placed) {
            record.view = nullptr;
            record.line = 0;
        }
        return;
    }
    record.line = LineOfPosition(text);
    const std::string file = GetFirstToken(text);
    record.view = nullptr;
    for (const SourceViews::Document& document : m_views.OpenDocuments()) {
        if (platform::EqualsNoCase(document.title, file)) {
            record.view = document.firstView;
            break;
        }
    }
}

void PcModel::ActivatePcView(const PcPosition& record) {
    if (!record.view) return;
    if (MainFrameExists()) m_views.ActivateView(record.view);
    m_views.GotoLineNearTop(record.view, record.line);
    SetPcMarker(m_views, record.view, record.line);
    m_views.GotoLineWithContext(record.view, record.line);
}

void PcModelDisplay::SetCurrentPc(uint16_t pc) {
    if (m_model) m_model->SetCurrentPc(pc);
}

void PcModelDisplay::PlaceCurrentPc(uint16_t pc) {
    if (m_model) m_model->SetCurrentPc(pc, true);
}

void PcModelDisplay::ShowPcInAssembly(uint16_t pc, int select) {
    if (m_showPcInAssembly) m_showPcInAssembly(pc, select);
}
