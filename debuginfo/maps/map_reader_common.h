// What the .M51 and .MAP readers have in common: the segment names of the
// memory maps, the module being read, its symbols and its source lines.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "file_faults.h"
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
// The linker's last line in both forms ("LINK/LOCATE RUN COMPLETE.  0 WARNING(S),
// 0 ERROR(S)", "LX51 RUN COMPLETE. ..."): a map without it was cut short.
constexpr const char* kMapClosingText = "RUN COMPLETE.";

// Whether some line of the map holds the linker's last line.
bool HasClosingLine(const std::vector<TextLine>& lines);

class MapModuleBuilder {
public:
    // `baseDir` is where a start-up module's assembler source is looked for.
    MapModuleBuilder(MapLoader& loader, CSymbolTable& table, CSymbolDatabase& database,
                     std::string baseDir);
    MapModuleBuilder(const MapModuleBuilder&) = delete;
    MapModuleBuilder& operator=(const MapModuleBuilder&) = delete;

    // The map's line being read, from 1: a refusal names it.
    void SetMapLine(uint32_t line) { m_nMapLine = line; }
    // Leaves the line being read out, saying why: its `field` holds `text`,
    // which `fault`.
    void Refuse(std::string_view field, std::string_view text, std::string_view fault);

    // The address of a value `token` whose number is `digits` ("C:0A44H" and
    // "0A44H"): hexadecimal, at most 0xFFFF. Otherwise the line is refused.
    std::optional<uint32_t> ReadAddress(std::string_view token, std::string_view digits);
    // A line number of decimal `digits` (of `token`), or the line is refused.
    std::optional<uint32_t> ReadLineNumber(std::string_view token, std::string_view digits);
    // A segment's start and length, hexadecimal, the segment inside 64 KB;
    // otherwise the line is refused.
    bool ReadSegmentNumbers(std::string_view startToken, std::string_view lengthToken,
                            uint32_t& start, uint32_t& length);

    // The part of a segment line after the class or relocation word:
    // "?PR?NAME?MODULE" makes a segment of the list `memoryMap`; a "?CO?" line
    // whose start token is "000000H" makes a module record; anything else is
    // dropped. A segment whose numbers are refused is left out; its
    // function's lines then have no segment and its locals no scope.
    void AddSegment(int memoryMap, std::string_view startToken, std::string_view lengthToken,
                    LineTokenizer& rest);
    // A segment line of the external-data memory map widens the external-data
    // range; false when its numbers are refused.
    bool WidenXdataRange(std::string_view startToken, std::string_view lengthToken);

    void BeginModule(std::string_view name);
    // The module record joins the loader's module list; no function is current.
    void EndModule();
    bool InModule() const { return m_pModule != nullptr; }

    void AddLineRecord(uint32_t line, uint32_t address, uint32_t kind);
    // The module's last record, when a source line, keeps only its own
    // instruction: the record after it was refused or cut off.
    void CutLastSourceLine();
    // A source line at `address`: both position maps and the module's line
    // records (a record at the address of the last one only renumbers it).
    void AddSourceLine(uint32_t address, uint32_t line);
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

    // A function whose code segment was refused: by its name in a PROC line
    // ("_FUNC" or "FUNC"), or by its start, where a code symbol of its name
    // lies.
    bool IsRefusedFunction(std::string_view name) const;
    bool IsRefusedFunctionAt(uint32_t address) const;
    // The start record of such a function: at the address of the module's
    // code symbol of that name when it has one, else at kNoCodeAddress.
    void BeginRefusedFunction(std::string_view procName);

    // Function and block scopes whose code range is not known: the symbols
    // inside them have no scope and are left out. Entering one saves the
    // current function and makes none current; nested blocks count in it;
    // leaving the outermost brings the saved function back.
    void EnterRefusedScope();
    bool InRefusedScope() const { return m_nRefusedDepth > 0; }
    // At an end record: leaves one level of a refused scope, if in one.
    void LeaveScope();

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

    FileFaults& m_faults;
    uint32_t m_nMapLine = 0;
    // The functions (upper case, no leading '_') whose code segments were refused.
    std::unordered_set<std::string> m_refusedFunctions;
    int m_nRefusedDepth = 0;
    CSymbolStruct* m_pFunctionOutsideRefusal = nullptr;

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

// Reads the memory maps at the head of a map, up to the first symbol-table
// heading: a heading starts the data, code or external-data map or (the
// overlay map) ends them, and every other line inside a memory map is
// offered to `segmentLine` with the list of its map. Returns the index of
// the line after the symbol-table heading, or the count of lines without one.
size_t ReadMemoryMaps(MapModuleBuilder& builder, const std::vector<TextLine>& lines,
                      const std::function<void(std::string_view line, int memoryMap)>& segmentLine);
