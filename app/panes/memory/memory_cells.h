// What a memory grid shows and how an edited cell becomes bytes: the column
// specifications of the three cell widths, the row labels, the cell texts
// and the rule that splits a cell's hexadecimal digits into bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Cell widths in hexadecimal digits: 1, 2 and 4 bytes per cell.
constexpr int kCharCells = 2;
constexpr int kIntCells = 4;
constexpr int kLongCells = 8;
constexpr uint32_t kBytesPerRow = 16;

bool IsCellWidth(int digits);
// Cells in a row of 16 bytes: 16, 8 or 4.
int CellsPerRow(int digits);
// The column specification of the grid of `digits` digits per cell.
const char* MemoryColumnSpec(int digits);

// "0x%.6x : ", the row's address in lower case; the label is the only place
// that holds a row's address.
std::string RowLabel(uint32_t address);
// The address of a row label: the last three characters (" : ") dropped, a
// leading "0x" skipped, the rest read as hexadecimal digits.
uint32_t ParseRowAddress(const std::string& label);

// The text of a cell of `digits` digits over the bytes from `bytes` on:
// "%.2X" per byte, bytes in ascending address order.
std::string CellText(const uint8_t* bytes, int digits);

// True when every character of `text` is a hexadecimal digit (the empty
// text counts as zero).
bool IsHexText(const std::string& text);

// One byte an edited cell stores.
struct CellByte {
    uint32_t address;
    uint8_t value;
    bool operator==(const CellByte& other) const {
        return address == other.address && value == other.value;
    }
};
// The bytes of `text` typed into the cell of 1-based data column `column`
// of the row at `rowAddress`, in a grid of `digits` digits per cell. The
// digits are taken from the right, two per byte (missing digits count as
// 0), so the cell's last byte comes first: "ABCD" in the first cell of the
// 2-byte grid of row 0x10 gives 0xCD at 0x11, then 0xAB at 0x10. A row
// address above 0x1000000 gives nothing.
std::vector<CellByte> CellBytes(const std::string& text, int digits, int column,
                                uint32_t rowAddress);
