// Rules every reading of a linker map keeps, whatever the map holds. The
// tests check them on real maps and the fuzz targets on arbitrary text.
#pragma once

#include <string>

#include "line_records.h"
#include "map_loader.h"
#include "symbol_lookup.h"
#include "symbol_records.h"
#include "symbol_table.h"

// The first rule the reading broke, or the empty text.
inline std::string FirstBrokenMapRule(const MapLoader& loader, const CSymbolTable& table,
                                      const CSymbolDatabase& database) {
    for (const auto& function : database.m_listCode) {
        if (function->m_dwLength != 0 && !database.FindFunctionOfAddress(function->m_dwStart))
            return "no function holds the start of " + function->m_strName;
        for (const auto& local : function->m_locals) {
            if (local->m_dwScopeLow != function->m_dwStart)
                return "a local of " + function->m_strName + " starts elsewhere";
            const bool reachable =
                function->m_dwLength != 0 &&
                function->m_dwStart + (function->m_dwLength - 1) >= function->m_dwStart;
            // The lookup drops one carriage return that a name taken from a line may carry.
            if (reachable &&
                !FindSymbolInRange(function.get(), local->m_strName + "\r", local->m_dwScopeLow))
                return "local " + local->m_strName + " is not found in its own scope";
        }
    }
    for (const auto* list : {&database.m_listCode, &database.m_listData, &database.m_listXdata})
        for (const auto& segment : *list) {
            if (segment->m_nKind != kSegmentCode && segment->m_nKind != kSegmentData)
                return "a segment of an unknown kind";
            if (uint64_t{segment->m_dwStart} + segment->m_dwLength > 0x10000)
                return "segment " + segment->m_strName + " reaches past 64 KB";
        }
    for (const auto& module : loader.m_listModules) {
        if (module->m_strType != "MODULE") return "module record " + module->m_strName;
        for (const auto& child : module->m_children) {
            if (!child->m_children.empty()) return "a module child has children";
            if (child->m_dwAddress > 0xFFFF) return "symbol " + child->m_strName + " past 64 KB";
        }
    }
    for (const auto& [name, lines] : loader.m_mapModuleLines) {
        if (lines->m_strModuleName != name) return "line records filed under another name";
        for (const CLineInfoInMapFormat& record : lines->m_lines) {
            if (record.m_nKind > kLineSource) return "a line record of an unknown kind";
            if (record.m_nKind == kLineSource && table.GetLineOfAddress(record.m_dwAddress).empty())
                return "a source line's address has no position";
            if (record.m_nKind == kLineSource &&
                (record.m_dwAddress > 0xFFFF || record.m_nLine > 0x7FFFFFFF))
                return "a source line with a number out of range";
        }
    }
    return std::string();
}
