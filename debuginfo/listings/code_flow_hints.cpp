#include "code_flow_hints.h"

#include <algorithm>

#include "switch_helpers.h"

namespace {

constexpr uint32_t kCodeSpaceEnd = 0x10000;

} // namespace

disasm8051::FlowHints CodeFlowHints(const MapLoader& map, const CSymbolTable& table,
                                    const CSymbolDatabase* database) {
    std::vector<uint32_t> starts;
    if (database)
        for (const auto& segment : database->m_listCode)
            if (segment->m_nKind == kSegmentCode && segment->m_dwLength != 0)
                starts.push_back(segment->m_dwStart);
    for (const auto& module : map.m_moduleLineRecords)
        for (const CLineInfoInMapFormat& record : module->m_lines)
            if (record.m_nKind != kLineFunctionEnd) starts.push_back(record.m_dwAddress);
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());

    disasm8051::FlowHints hints;
    for (uint32_t start : starts)
        if (start < kCodeSpaceEnd) hints.codeStarts.push_back(static_cast<uint16_t>(start));
    hints.switchHelpers = SwitchHelpersOf(table);
    return hints;
}
