#include "breakpoint_records.h"

#include "run_lookups.h"
#include "symbol_lookup.h"
#include "symbol_records.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

std::list<CInfo_Break> g_BreakList;

namespace {

std::atomic<BreakpointViews*> g_views{nullptr};

bool IsSourceFile(const std::string& file) {
    return file != kAsmOnlyFile;
}

} // namespace

void SetBreakpointViews(BreakpointViews* views) {
    g_views.store(views);
}

BreakpointViews* GetBreakpointViews() {
    return g_views.load();
}

void AddBreakPoint(const std::string& file, int line, uint32_t address) {
    CInfo_Break record;
    record.m_strFile = file;
    record.m_nLine = line;
    record.m_dwAddress = address;
    record.m_nOffset = int32_t(address);
    if (!IsSourceFile(file)) {
        record.m_strLabel = kBaseAddressLabel;
    } else if (const SymbolInfo* symbol = CodeSymbolOfLine(file, line)) {
        record.m_strLabel = symbol->m_strName;
        record.m_nOffset = int32_t(address - symbol->m_dwAddress);
    } else {
        record.m_strLabel = kNoLabel;
    }
    g_mapBreakAddress[address] = 1;
    if (BreakpointViews* views = GetBreakpointViews()) {
        record.m_nAsmRow = views->AsmRowOfAddress(address);
        record.m_nSourceRow = views->SourceRowOfAddress(address);
        views->SetCodeListMarkers(record.m_nAsmRow, record.m_nSourceRow, 1);
    }
    g_BreakList.push_back(record);
}

size_t RemoveBreakPoint(const std::string& file, int line, uint32_t address) {
    g_mapBreakAddress[address] = 0;
    size_t index = 0;
    for (auto it = g_BreakList.begin(); it != g_BreakList.end(); ++it, ++index) {
        if (it->m_strFile != file || it->m_nLine != line || it->m_dwAddress != address) continue;
        if (BreakpointViews* views = GetBreakpointViews())
            views->SetCodeListMarkers(it->m_nAsmRow, it->m_nSourceRow, 0);
        g_BreakList.erase(it);
        return index;
    }
    return index;
}

int IsBreakpointAt(const std::string& file, int line) {
    if (!IsSourceFile(file)) return 0;
    for (const CInfo_Break& record : g_BreakList)
        if (record.m_strFile == file && record.m_nLine == line) return 1;
    return 0;
}

int GetLineToken(uint32_t address, int& line, std::string& file) {
    const std::string text = LineOfAddress(address);
    if (text.empty()) return 0;
    const size_t colon = text.find(':');
    file = text.substr(0, colon);
    if (colon == std::string::npos) {
        line = 0;
        return 1;
    }
    const size_t start = text.find_first_not_of(" \r\t", colon + 1);
    line = start == std::string::npos ? 0 : int(std::strtol(text.c_str() + start, nullptr, 10));
    return 1;
}

void RewriteBreakPane() {
    if (BreakpointViews* views = GetBreakpointViews()) {
        views->BlankBreakPane();
        views->FillBreakWnd(g_BreakList);
    }
}

void ClearBreakPointList() {
    if (BreakpointViews* views = GetBreakpointViews()) views->BlankBreakPane();
    g_BreakList.clear();
    g_mapBreakAddress.clear();
}

void RemoveAllBreakPointRecords() {
    BreakpointViews* views = GetBreakpointViews();
    if (views) {
        for (const CInfo_Break& record : g_BreakList) {
            if (IsSourceFile(record.m_strFile))
                views->RemoveBreakPointMarker(record.m_strFile, record.m_nLine);
            views->SetCodeListMarkers(record.m_nAsmRow, record.m_nSourceRow, 0);
        }
        views->BlankBreakPane();
    }
    g_BreakList.clear();
    g_mapBreakAddress.clear();
}
