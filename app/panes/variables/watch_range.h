// The memory-range form of a watch entry, letter:start:count such as
// "D:0x30:4" (C code, D internal data and SFRs, X external data; start in
// hexadecimal, count in decimal), and the direct-address form letter:start
// that a watched value is written to.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// A range never covers more bytes than this; a longer count is cut.
constexpr uint32_t kMaxRangeBytes = 256;

struct MemoryRange {
    char letter = 0;
    uint32_t start = 0;
    uint32_t count = 0; // 1..kMaxRangeBytes
};

// Reads `count` bytes of a memory space from the target; false on failure.
using MemoryReader =
    std::function<bool(uint32_t address, int space, uint8_t* bytes, uint32_t count)>;

// The range of "letter:start:count". None when a piece is missing, the
// start is no hexadecimal number (a leading 0x is allowed) or the count no
// positive decimal number. With `countOptional` a text without the count
// field is a range of one byte.
std::optional<MemoryRange> ParseMemoryRange(const std::string& text, bool countOptional = false);

// One piece of a range that can be read in one go: a run of addresses of one
// memory space.
struct RangePiece {
    uint32_t address = 0;
    int space = 0;
    uint32_t count = 0;
};

// The readable pieces of a range, in address order. Addresses that have no
// memory space are left out: every address of a letter other than upper-case
// C, D or X, and data addresses past 0xFF. D splits at 0x80 into internal
// data (space 1) and special function registers (space 8).
std::vector<RangePiece> RangePieces(const MemoryRange& range);

// The row value of a range: each byte read live from the target, written in
// `radix`, joined with ", ". None when nothing could be read (no readable
// address, or a read failed).
std::optional<std::string> JoinValueTokens(const MemoryRange& range, int radix,
                                           const MemoryReader& read);

// Reads through the adapter (ReadMemory).
MemoryReader TargetMemoryReader();
