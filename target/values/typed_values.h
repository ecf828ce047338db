// Typed values of the program's variables, read from the host copies of
// target memory, and the process-wide list of formatted variables that the
// watch pane reads.
//
// User-interface thread only.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct SymbolInfo;

// The value of `size` (1, 2, 3 or 4) bytes at `address` of memory space
// `space` in the host copies: spaces 1 and 8 read the internal data and SFR
// image, 2 the external-data image, 4 the code image; any other space gives
// 0. Two bytes are read high byte first, except in space 8 where the byte at
// the address is the low one; three (a generic pointer) and four bytes always
// high byte first. Bytes past the end of an image read as 0.
uint32_t ReadTypedValue(uint32_t space, int size, uint32_t address);

// Stores `value` into the host copy the way ReadTypedValue reads it back.
// Bytes past the end of an image, and spaces without a writable copy (code
// memory among them), are left alone.
void PatchTypedValue(uint32_t space, int size, uint32_t address, uint32_t value);

// The text of a generic pointer (IsGenericPointer of its type and size) read
// from the host copies, such as "C:0x1336"; none for any other symbol.
std::optional<std::string> GenericPointerValueText(const SymbolInfo& symbol);

// One formatted variable.
struct CInfo {
    std::string m_strName;
    std::string m_strValue;
    std::string m_strType;
    std::string m_strAddress; // "0x.." as InfoAddressText writes it
    std::string m_strKind;    // "SYMBOL", "PUBLIC", "SFRSYM", ...
};

// Every formatted variable in the order it was made, and their count.
extern std::vector<std::unique_ptr<CInfo>> g_VariableInfoList;
extern int g_nVariableInfoCount;

// Appends a record with the five texts and counts it.
void AddVariableInfo(const std::string& name, const std::string& value, const std::string& type,
                     const std::string& address, const std::string& kind);

// Deletes every record and sets the count to 0 (project close).
void ClearVariableInfo();

// Formats the symbol `name` and appends its record: a local of the function
// holding the current program counter, else a data symbol. Nothing without a
// name, a program-counter model or a symbol database, or when neither lookup
// finds the name.
void FormatSymbolValue(const char* name);

// The first record named `name` with its value text read afresh from the host
// copies; null for an empty name, a name without a record, or a name that is
// no longer a data symbol (its record is then left as it was).
CInfo* FindVariableValue(const std::string& name);

// The rows of a variable list as the value code reads and writes them.
// A row that does not exist reads as the empty text and ignores writes.
class VariableRows {
public:
    virtual ~VariableRows() = default;
    virtual std::string GetItemText(int row, int column) const = 0;
    virtual void SetItemText(int row, int column, const std::string& text) = 0;
};

// Columns of a variable row.
namespace variable_column {
constexpr int kName = 0;
constexpr int kValue = 1;
constexpr int kType = 2;
constexpr int kAddress = 3;
} // namespace variable_column

// Writes the value, type and address texts of `name`'s record into columns 1
// to 3 of the row; nothing for an empty name or one FindVariableValue does
// not find.
void RefreshVariableRow(VariableRows& rows, int row, const std::string& name);
