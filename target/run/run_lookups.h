// What run control asks of the debug information: the source position of a
// code address, the code address of a source position and the disassembled
// text of an address. The application installs the real lookups; tests give
// their own tables.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct SymbolInfo;

struct RunControlLookups {
    // The "file:line" position of a code address; empty when it has none.
    std::function<std::string(uint32_t)> lineOfAddress;
    // The code address of a "file:line" position; 0xFFFFFFFF when it has none.
    std::function<uint32_t(const std::string&)> addressOfLine;
    // The disassembled text of a code address; empty when it has none.
    std::function<std::string(uint32_t)> disassemblyText;
    // The code symbol named by the first instruction of a source line of a
    // loaded file (line from 1); null when the file or the instruction is missing.
    std::function<const SymbolInfo*(const std::string& file, int line)> codeSymbolOfLine;
    // The end (one past its last byte) of the code of the compiler's switch
    // helper that begins at a code address; 0 when none begins there.
    std::function<uint32_t(uint32_t)> switchHelperEnd;
};

// Replaces the lookups; a missing function falls back to the loaded symbol
// table (positions, switch helpers) or answers nothing (disassembly).
void SetRunControlLookups(RunControlLookups lookups);

std::string LineOfAddress(uint32_t address);
uint32_t AddressOfLine(const std::string& key);
std::string DisassemblyText(uint32_t address);
const SymbolInfo* CodeSymbolOfLine(const std::string& file, int line);

// The address to run to when stepping over the call at `pc` ("LCALL": pc + 3,
// "ACALL": pc + 2); false when the instruction there is no call.
bool ReturnAddressOfCall(uint16_t pc, uint16_t& returnAddress);

// The code of a switch helper: low to high, high excluded.
struct CodeRange {
    uint32_t low = 0;
    uint32_t high = 0;
    bool Holds(uint32_t address) const { return address >= low && address < high; }
};

// When the instruction at `pc` calls (LCALL or ACALL) a switch helper: the
// helper's code. Such a call never comes back to the instruction after it.
bool SwitchHelperOfCall(uint16_t pc, CodeRange& helper);
