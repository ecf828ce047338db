// Line tables of one module: for every source line the instructions of the
// disassembly compiled from it, entered in the symbol table's address-to-line
// map and appended to the line's record of the loaded source file.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "line_records.h"
#include "map_loader.h"
#include "symbol_records.h"
#include "symbol_table.h"
#include "text_loader.h"

// Disassembly maps: code address -> instruction text, and -> label line text.
using AddressTextMap = std::unordered_map<uint32_t, std::string>;

// The deepest nesting of functions followed; deeper starts are counted so
// their ends still balance, but take the innermost followed level's function.
constexpr int kMaxFunctionDepth = 1024;

// The line number a record carries when its module's lines could not be
// translated to C lines.
constexpr uint32_t kUntranslatedLine = 0xFFFFFFFF;

// Bytes of an instruction text: the length of its first word (the next one
// when the first is a generated label "Lxxxx:") divided by 2.
uint32_t InstructionSize(std::string_view text);

// The label name of a label line: its third blank-separated word ("" when none).
std::string LabelNameOf(std::string_view labelText);

// The instructions of a disassembly in address order, and the end of the
// image: the address after the last byte of its last instruction (0 when
// there is none).
struct InstructionOrder {
    std::vector<uint32_t> m_addresses;
    uint64_t m_nEnd = 0;
};
InstructionOrder OrderInstructions(const AddressTextMap& instructions);

// Drops the source-line records at or past `imageEnd` from every module of
// the map, and the source positions at such addresses from `table`: an
// address the image does not reach is a damaged record. Each is refused in
// the map's faults, and the source line before it keeps only its own
// instruction.
void DropLinesPastImage(MapLoader& map, CSymbolTable& table, uint64_t imageEnd);

// Walks the module's line records and, for every instruction inside the code
// range of a source line, enters address -> "FILE:LINE" (upper-case file name)
// in `table` and appends an InstructionInfo to that line of the listing's
// source file. A source line's range ends at the next line record's address;
// the last line of a function (and the module's last record) ends at the end
// of its code segment, or covers at least the instruction at its address when
// the function has none; a line outside any function, and a line whose next
// record was refused, covers at most the one instruction at its address; a
// line followed by a function start covers nothing. An instruction goes to
// the first line of the module whose range holds it, so the work grows with
// the records and the instructions, never with the width of a range.
// A line past the end of the source file gives its instructions no line and
// no position (its key is dropped from `table`).
// An end record without an open function is ignored.
// Returns 0 for a null module and when an instruction belongs to a line
// numbered 0xFFFFFFFF; 1 otherwise.
int BuildModuleLineEntries(const CLineInfoInModule* module, LSTLoader& listing,
                           const std::string& sourceFileName, const AddressTextMap& instructions,
                           const InstructionOrder& order, const AddressTextMap& labels,
                           CSymbolTable& table, const CSymbolDatabase* database);
