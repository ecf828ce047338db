// Texts of variable values and addresses, and the conversion of an edited
// value text back into a number. Nothing here reads target memory.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct SymbolInfo;

// Bytes a value of this type name occupies when it is read as one number:
// 1 for "CHAR", "U_CHAR", "BYTE"; 2 for "INT", "U_INT", "WORD", "PTR"; 4 for
// every other name.
int ReadWidthOfType(std::string_view type);

// Bytes written for a value of this type name: as ReadWidthOfType, and
// "UCHAR" is 1 byte as well.
int WriteWidthOfType(std::string_view type);

// A generic pointer is the compiler's three-byte pointer that may point into
// any memory: the memory-type byte first, then the address high and low
// byte. The listing types it "PTR" with size 3; a "PTR" of another size
// points into one memory only and is shown as a number.
constexpr int kGenericPointerBytes = 3;
bool IsGenericPointer(std::string_view type, uint32_t size);

// The text of a generic pointer, its three bytes given as memory type << 16 |
// address: the memory it points into and the address in four upper-case
// digits, the same in every radix, since an address is no number to count
// in. The letters follow the memory type byte: 0xFF "C" (code), 0x01 "X"
// (external data), 0xFE "P" (the paged external data that P2 selects) and
// 0x00 "I" (internal data, reached indirectly, so from 0x80 on it is the
// upper internal RAM, not the SFRs that "D" means elsewhere). Any other type
// byte points nowhere the compiler knows: the three bytes show as "0x%.6X".
std::string GenericPointerText(uint32_t pointer);

// The three bytes a generic pointer text stands for, blanks around it
// ignored: a memory letter as GenericPointerText writes it (either case),
// ":", "0x" and one to four hexadecimal digits ("C:0x1336"), or "0x" and
// exactly six hexadecimal digits, the three bytes themselves ("0xFF1336"), so
// every text GenericPointerText writes reads back. Anything else, a plain
// number included, is no pointer.
std::optional<uint32_t> GenericPointerOfText(std::string_view text);

// The text of `value` in the panes' radix: 2 (at least 16 binary digits), 8
// ("0" and at least 8 octal digits), 10 (signed 32-bit decimal) or 16 ("0x"
// and 2, 4 or 8 upper-case digits for a size of 1, 2 or 4). Any other radix,
// or another size in radix 16, gives the empty text.
std::string FormatRadix(uint32_t value, int radix, int size);

// The variable panes' address text: the first letter of the memory class and
// six upper-case hexadecimal digits, such as "D:0x000021".
std::string VariableAddressText(const SymbolInfo& symbol);

// The address text of a formatted variable record: "0x" and the lower-case
// hexadecimal digits, with a leading 0 when there is only one ("0x0a", "0x1f00").
std::string InfoAddressText(uint32_t address);

// The value of one hexadecimal digit (either case); kNotHexDigit for any
// other character.
constexpr uint32_t kNotHexDigit = 0x7FFFFFFF;
uint32_t HexDigitValue(char digit);

// The value of "0x" followed by hexadecimal digits; the first two characters
// are not looked at. Two characters or fewer give 0. A character after the
// first two that is no hexadecimal digit gives no value. Digits beyond the
// eighth from the right fall off the 32 bits.
std::optional<uint32_t> HexStringToInt(std::string_view text);

// The empty text stays empty; a text that starts with "0x" is kept; any other
// is read as a decimal number (leading digits after an optional sign, 0 when
// there are none) and written "0x%.4x" of its 32 bits.
std::string ToHexText(const std::string& text);
