#include "map_reader_common.h"

#include "path_resolver.h"

namespace {

constexpr std::string_view kStartupModuleMark = "?C_";
constexpr std::string_view kWholeStartToken = "000000H";

} // namespace

uint32_t SpaceOfClass(std::string_view memoryClass, std::string_view kind) {
    if (memoryClass == "CODE") return kMemSpaceCode;
    if (memoryClass == "DATA") return kind == "SFRSYM" ? kMemSpaceSfr : kMemSpaceData;
    if (memoryClass == "XDATA") return kMemSpaceXdata;
    return kMemSpaceNone;
}

int SelectorOfClass(std::string_view memoryClass) {
    if (memoryClass == "CODE") return kSelectCode;
    if (memoryClass == "DATA" || memoryClass == "XDATA") return kSelectData;
    return 0;
}

MapModuleBuilder::MapModuleBuilder(MapLoader& loader, CSymbolTable& table,
                                   CSymbolDatabase& database, std::string baseDir)
    : m_loader(loader), m_table(table), m_database(database), m_strBaseDir(std::move(baseDir)) {}

void MapModuleBuilder::AddSegment(int memoryMap, std::string_view startToken, uint32_t start,
                                  uint32_t length, LineTokenizer& rest) {
    SegmentList* list = m_database.List(memoryMap);
    if (!list) return;
    if (!rest.Next("?")) return; // the blanks before the name
    const auto segmentClass = rest.Next("?");
    if (!segmentClass) return;
    if (*segmentClass == "CO") {
        if (startToken != kWholeStartToken) return;
        const auto name = rest.Next("?");
        if (!name) return;
        auto module = std::make_unique<SymbolInfo>(*name);
        module->m_strType = "MODULE";
        m_loader.m_listModules.push_back(std::move(module));
        return;
    }
    int kind = 0;
    if (*segmentClass == "PR")
        kind = kSegmentCode;
    else if (*segmentClass == "DT" || *segmentClass == "XD")
        kind = kSegmentData;
    else
        return;
    auto name = rest.Next("?");
    if (!name) return;
    if (!name->empty() && name->front() == '_') name->remove_prefix(1);
    const auto module = rest.Next(" ");
    if (!module) return;
    auto segment = std::make_unique<CSymbolStruct>();
    segment->m_strName.assign(*name);
    segment->m_strFile.assign(*module);
    segment->m_strFile += ".C";
    segment->m_dwStart = start;
    segment->m_dwLength = length;
    segment->m_nKind = kind;
    if (m_bFunctionsIndexed && list == &m_database.m_listCode) {
        m_functionsByName.emplace(segment->m_strName, segment.get());
        m_functionsByStart.emplace(segment->m_dwStart, segment.get());
    }
    list->push_back(std::move(segment));
}

void MapModuleBuilder::IndexFunctions() {
    if (m_bFunctionsIndexed) return;
    for (const auto& segment : m_database.m_listCode) {
        m_functionsByName.emplace(segment->m_strName, segment.get());
        m_functionsByStart.emplace(segment->m_dwStart, segment.get());
    }
    m_bFunctionsIndexed = true;
}

CSymbolStruct* MapModuleBuilder::FunctionNamed(std::string_view name) {
    IndexFunctions();
    auto it = m_functionsByName.find(name);
    return it == m_functionsByName.end() ? nullptr : it->second;
}

CSymbolStruct* MapModuleBuilder::FunctionStartingAt(uint32_t address) {
    IndexFunctions();
    auto it = m_functionsByStart.find(address);
    return it == m_functionsByStart.end() ? nullptr : it->second;
}

std::string MapModuleBuilder::SourceKeyPrefix(const std::string& moduleName) const {
    auto known = m_loader.m_mapModuleSources.find(moduleName);
    if (known != m_loader.m_mapModuleSources.end()) return known->second + ":";
    if (moduleName.find(kStartupModuleMark) == std::string::npos) return moduleName + ".C:";
    const std::string sourceName = moduleName.substr(kStartupModuleMark.size()) + ".A51";
    const std::string found = platform::ResolvePath(m_strBaseDir, sourceName);
    if (!found.empty() && platform::FileExists(found)) return sourceName + ":";
    return "NONE:";
}

void MapModuleBuilder::BeginModule(std::string_view name) {
    if (InModule()) EndModule();
    m_pModule = std::make_unique<SymbolInfo>(name);
    m_pModule->m_strType = "MODULE";
    m_pModuleLines = AddModuleLineInfo(m_loader, m_pModule->m_strName);
    m_strKeyPrefix = SourceKeyPrefix(m_pModule->m_strName);
}

void MapModuleBuilder::EndModule() {
    if (m_pModule) m_loader.m_listModules.push_back(std::move(m_pModule));
    m_pModule.reset();
    m_pModuleLines = nullptr;
    m_pFunction = nullptr;
}

void MapModuleBuilder::AddLineRecord(uint32_t line, uint32_t address, uint32_t kind) {
    if (m_pModuleLines) m_pModuleLines->AddLine(line, address, kind);
}

void MapModuleBuilder::AddSourceLine(uint32_t address, int32_t line) {
    if (!m_pModuleLines) return;
    m_table.SetLineAddress(m_strKeyPrefix + std::to_string(line), address);
    const uint32_t number = static_cast<uint32_t>(line);
    if (m_pLastSourceLine && m_pLastSourceLine->m_dwAddress == address)
        m_pLastSourceLine->m_nLine = number;
    else
        m_pLastSourceLine = m_pModuleLines->AddLine(number, address, kLineSource);
}

void MapModuleBuilder::AddGlobalSymbol(const SymbolInfo& symbol) {
    if (!m_pModule) return;
    AddChildSymbol(*m_pModule, symbol);
    const int selector = SelectorOfClass(symbol.m_strClass);
    if (selector != 0) m_table.EnterSymbolCopy(symbol, selector);
}

void MapModuleBuilder::AddLocal(CSymbolStruct& function, std::unique_ptr<CSymbolLocalVar> local) {
    local->m_dwScopeLow = function.m_dwStart;
    local->m_dwScopeHigh = function.m_dwStart + function.m_dwLength - 1;
    function.m_locals.push_back(std::move(local));
}
