// The four memory panes' table (captions, memory classes, range texts) and
// their address rules: the address texts of the start and end edits, the
// range each pane accepts and the checks of a read's range.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

enum class MemoryKind { Internal, External, Flash, Code };

struct MemoryPaneSpec {
    MemoryKind kind;
    int controlId;   // the docking pane's id
    int memoryClass; // the space the pane's writes go to
    const char* startAtCreation;
    const char* endAtCreation;
    const char* startAfterClose;
    const char* endAfterClose;
};
const MemoryPaneSpec& MemoryPaneSpecOf(MemoryKind kind);
// The pane of a docking pane's control id; false for the other panes.
bool MemoryKindOfPane(int controlId, MemoryKind& kind);

// Where the flash window starts in the external-data space.
constexpr uint32_t kFlashWindow = 0xFF0000;

// The Flash pane's range texts with the "Data memory" box checked and clear.
extern const char* const kDataFlashEndText;
extern const char* const kCodeFlashEndText;

// Messages.
extern const char* const kOutOfMemoryText; // written into an edit
extern const char* const kReadTooBigText;
extern const char* const kEndBeforeStartText;

// A text that begins with "0x" stays; any other is read as a decimal number
// and written "0x%.4x". A text that is no decimal number stays as it is.
std::string NormalizeHexText(const std::string& text);
// The number written after "0x"; nothing when the text has no "0x" or
// characters other than hexadecimal digits after it, or does not fit 32 bits.
std::optional<uint32_t> HexToInt(const std::string& text);
// An edit's address: NormalizeHexText, then HexToInt.
std::optional<uint32_t> AddressOfText(const std::string& text);

// True when `address` lies outside what the pane shows. The Flash pane's
// range depends on its "Data memory" box.
bool IsOutOfRange(MemoryKind kind, uint32_t address, bool dataFlash = false);

// The checks of a block read's range, in this order.
enum class ReadSizeCheck { Ok, TooBig, EndBeforeStart };
ReadSizeCheck CheckReadSize(uint32_t start, uint32_t end);
constexpr uint32_t kLargestRead = 0x10000;

// Rows of 16 bytes covering start to end, the last one partly when the
// length is no multiple of 16; 0 when end < start.
int MemoryRowCount(uint32_t start, uint32_t end);
