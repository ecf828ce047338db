#include "map_reader_common.h"

#include <algorithm>

#include "path_resolver.h"
#include "xdata_range.h"

namespace {

constexpr std::string_view kStartupModuleMark = "?C_";
constexpr std::string_view kWholeStartToken = "000000H";
constexpr std::string_view kNotHex = "is not a hexadecimal number";
constexpr std::string_view kPast64K = "lies past 64 KB";

} // namespace

bool HasClosingLine(const std::vector<TextLine>& lines) {
    for (auto line = lines.rbegin(); line != lines.rend(); ++line)
        if (ContainsText(line->m_strText, kMapClosingText)) return true;
    return false;
}

size_t
ReadMemoryMaps(MapModuleBuilder& builder, const std::vector<TextLine>& lines,
               const std::function<void(std::string_view line, int memoryMap)>& segmentLine) {
    int memoryMap = kMemoryMapNone;
    for (size_t index = 0; index < lines.size(); ++index) {
        std::string_view line = lines[index].m_strText;
        builder.SetMapLine(lines[index].m_nLine);
        if (ContainsText(line, kSymbolTableHeading)) return index + 1;
        if (ContainsText(line, kDataMemoryHeading))
            memoryMap = kListData;
        else if (ContainsText(line, kXdataMemoryHeading))
            memoryMap = kListXdata;
        else if (ContainsText(line, kCodeMemoryHeading))
            memoryMap = kListCode;
        else if (ContainsText(line, kOverlayMapHeading))
            memoryMap = kMemoryMapNone;
        else if (memoryMap != kMemoryMapNone)
            segmentLine(line, memoryMap);
    }
    return lines.size();
}

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
    : m_loader(loader), m_table(table), m_database(database), m_strBaseDir(std::move(baseDir)),
      m_faults(loader.m_faults) {}

void MapModuleBuilder::Refuse(std::string_view field, std::string_view text,
                              std::string_view fault) {
    m_faults.Refuse(m_nMapLine, field, text, fault);
}

std::optional<uint32_t> MapModuleBuilder::ReadAddress(std::string_view token,
                                                      std::string_view digits) {
    const auto address = ReadHexField(digits);
    if (!address)
        Refuse("the address", token, kNotHex);
    else if (*address > kHighestAddress)
        Refuse("the address", token, kPast64K);
    else
        return address;
    return std::nullopt;
}

std::optional<uint32_t> MapModuleBuilder::ReadLineNumber(std::string_view token,
                                                         std::string_view digits) {
    const auto line = ReadDecimalField(digits);
    if (!line) Refuse("the line number", token, "is not a number from 0 to 2147483647");
    return line;
}

bool MapModuleBuilder::ReadSegmentNumbers(std::string_view startToken, std::string_view lengthToken,
                                          uint32_t& start, uint32_t& length) {
    const auto startValue = ReadHexField(startToken);
    const auto lengthValue = ReadHexField(lengthToken);
    if (!startValue)
        Refuse("the start", startToken, kNotHex);
    else if (!lengthValue)
        Refuse("the length", lengthToken, kNotHex);
    else if (*startValue > kHighestAddress)
        Refuse("the start", startToken, kPast64K);
    else if (*lengthValue > kAddressSpaceSize - *startValue)
        Refuse("the length", lengthToken, "reaches past 64 KB");
    else {
        start = *startValue;
        length = *lengthValue;
        return true;
    }
    return false;
}

bool MapModuleBuilder::WidenXdataRange(std::string_view startToken, std::string_view lengthToken) {
    uint32_t start = 0;
    uint32_t length = 0;
    if (!ReadSegmentNumbers(startToken, lengthToken, start, length)) return false;
    UpdateCodeRange(start, length);
    return true;
}

void MapModuleBuilder::AddSegment(int memoryMap, std::string_view startToken,
                                  std::string_view lengthToken, LineTokenizer& rest) {
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
    uint32_t start = 0;
    uint32_t length = 0;
    if (!ReadSegmentNumbers(startToken, lengthToken, start, length)) {
        if (list == &m_database.m_listCode) m_refusedFunctions.insert(SegmentNameOfFunction(*name));
        return;
    }
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

bool MapModuleBuilder::IsRefusedFunction(std::string_view name) const {
    return m_refusedFunctions.count(SegmentNameOfFunction(name)) != 0;
}

bool MapModuleBuilder::IsRefusedFunctionAt(uint32_t address) const {
    const SymbolInfo* symbol = m_table.SymbolAtAddress(address, kSelectCode);
    return symbol && IsRefusedFunction(symbol->m_strName);
}

void MapModuleBuilder::BeginRefusedFunction(std::string_view procName) {
    // The module's code symbol of that name, in any case ("MAIN" names main).
    uint32_t address = kNoCodeAddress;
    const std::string name = SegmentNameOfFunction(procName);
    if (m_pModule) {
        const auto& symbols = m_pModule->m_children;
        auto symbol = std::find_if(symbols.begin(), symbols.end(), [&](const auto& child) {
            return child->m_strClass == "CODE" && SegmentNameOfFunction(child->m_strName) == name;
        });
        if (symbol != symbols.end()) address = (*symbol)->m_dwAddress;
    }
    AddLineRecord(0, address, kLineFunctionStart);
    m_pFunction = nullptr;
    EnterRefusedScope();
}

void MapModuleBuilder::EnterRefusedScope() {
    if (m_nRefusedDepth++ > 0) return;
    m_pFunctionOutsideRefusal = m_pFunction;
    m_pFunction = nullptr;
}

void MapModuleBuilder::LeaveScope() {
    if (m_nRefusedDepth == 0 || --m_nRefusedDepth > 0) return;
    m_pFunction = m_pFunctionOutsideRefusal;
    m_pFunctionOutsideRefusal = nullptr;
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
    m_nRefusedDepth = 0;
    m_pFunctionOutsideRefusal = nullptr;
}

void MapModuleBuilder::AddLineRecord(uint32_t line, uint32_t address, uint32_t kind) {
    if (m_pModuleLines) m_pModuleLines->AddLine(line, address, kind, m_nMapLine);
}

void MapModuleBuilder::CutLastSourceLine() {
    if (!m_pModuleLines || m_pModuleLines->m_lines.empty()) return;
    CLineInfoInMapFormat& last = m_pModuleLines->m_lines.back();
    if (last.m_nKind == kLineSource) last.m_bNextRefused = true;
}

void MapModuleBuilder::AddSourceLine(uint32_t address, uint32_t line) {
    if (!m_pModuleLines) return;
    m_table.SetLineAddress(m_strKeyPrefix + std::to_string(line), address);
    if (m_pLastSourceLine && m_pLastSourceLine->m_dwAddress == address)
        m_pLastSourceLine->m_nLine = line;
    else
        m_pLastSourceLine = m_pModuleLines->AddLine(line, address, kLineSource, m_nMapLine);
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
