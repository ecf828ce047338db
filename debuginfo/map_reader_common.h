// What the .M51 and .MAP readers have in common: the segment names of the
// memory maps, the module being read, its symbols and its source lines.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>

#include "line_records.h"
#include "line_tokenizer.h"
#include "map_loader.h"
#include "symbol_records.h"
#include "symbol_table.h"

// Memory-map states of the first phase (the list selectors, or none).
constexpr int kMemoryMapNone = -1;

// The headings that start and end the memory maps and the symbol tables.
constexpr const char* kSymbolTableHeading = "SYMBOL TABLE OF MODULE:";
constexpr const char* kDataMemoryHeading = "* * * * * * *   D A T A   M E M O R Y   * * * * * * *";
constexpr const char* kXdataMemoryHeading = "* * * * * * *  X D A T A   M E M O R Y  * * * * * * *";
constexpr const char* kCodeMemoryHeading = "* * * * * * *   C O D E   M E M O R Y   * * * * * * *";
constexpr const char* kOverlayMapHeading = "OVERLAY MAP OF MODULE";

class MapModuleBuilder {
public:
    // `baseDir` is where a start-up module's assembler source is looked for.
    MapModuleBuilder(MapLoader& loader, CSymbolTable& table, CSymbolDatabase& database,
                     std::string baseDir);
    MapModuleBuilder(const MapModuleBuilder&) = delete;
    MapModuleBuilder& operator=(const MapModuleBuilder&) = delete;

    // The part of a segment line after the class or relocation word:
    // "?PR?NAME?MODULE" makes a segment of the list `memoryMap`; a "?CO?" line
    // whose start token is "000000H" makes a module record; anything else is
    // dropped.
    void AddSegment(int memoryMap, std::string_view startToken, uint32_t start, uint32_t length,
                    LineTokenizer& rest);

    void BeginModule(std::string_view name);
    // The module record joins the loader's module list; no function is current.
    void EndModule();
    bool InModule() const { return m_pModule != nullptr; }

    void AddLineRecord(uint32_t line, uint32_t address, uint32_t kind);
    // A source line at `address`: both position maps and the module's line
    // records (a record at the address of the last one only renumbers it).
    void AddSourceLine(uint32_t address, int32_t line);
    // A copy joins the module record's children and, for the classes CODE,
    // DATA and XDATA, another copy the symbol table.
    void AddGlobalSymbol(const SymbolInfo& symbol);
    // A local of `function` visible over the function's whole range.
    void AddLocal(CSymbolStruct& function, std::unique_ptr<CSymbolLocalVar> local);

    // The first code segment of that name, or that starts at that address.
    // Both answer as a walk of the code list would; they are indexed once the
    // memory maps have been read, as no segment is added afterwards.
    CSymbolStruct* FunctionNamed(std::string_view name);
    CSymbolStruct* FunctionStartingAt(uint32_t address);

    // The function whose locals the symbol lines add to; null when none.
    CSymbolStruct* m_pFunction = nullptr;

private:
    std::string SourceKeyPrefix(const std::string& moduleName) const;
    void IndexFunctions();

    MapLoader& m_loader;
    CSymbolTable& m_table;
    CSymbolDatabase& m_database;
    std::string m_strBaseDir;

    bool m_bFunctionsIndexed = false;
    std::unordered_map<std::string_view, CSymbolStruct*> m_functionsByName;
    std::unordered_map<uint32_t, CSymbolStruct*> m_functionsByStart;

    std::unique_ptr<SymbolInfo> m_pModule;
    CLineInfoInModule* m_pModuleLines = nullptr;
    std::string m_strKeyPrefix;
    // Kept from one module to the next.
    CLineInfoInMapFormat* m_pLastSourceLine = nullptr;
};

// The memory space code of a class word ("DATA" with kind "SFRSYM" is 8).
uint32_t SpaceOfClass(std::string_view memoryClass, std::string_view kind);

// The symbol-table selector of a class word: 1 for CODE, 2 for DATA and
// XDATA, 0 for a class the table does not take.
int SelectorOfClass(std::string_view memoryClass);
