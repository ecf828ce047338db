#include "memory_pane.h"

#include "host_memory.h"
#include "memory_cells.h"
#include "message_service.h"
#include "target_flags.h"
#include "target_messages.h"
#include "target_protocol.h"

namespace {

constexpr uint32_t kCodeSize = 0x10000;

} // namespace

MemoryPane::MemoryPane(MemoryKind kind) : kind_(kind) {
    if (kind_ == MemoryKind::Code) block_.assign(kCodeSize, 0);
    if (kind_ == MemoryKind::Internal) Show(0, uint32_t(g_InternalDataImage.size() - 1));
}

MemoryView MemoryPane::View() const {
    // The view writes into the buffers; the pane's own ones are its to change.
    auto* block = const_cast<uint8_t*>(block_.data());
    switch (kind_) {
    case MemoryKind::Internal:
        return MemoryView(g_InternalDataImage.data(), g_InternalDataImage.size(), 0);
    case MemoryKind::External:
        return MemoryView(block, block_.size(), blockBase_);
    case MemoryKind::Flash:
        if (dataFlash_)
            return MemoryView(g_DataFlashBuffer.data(), g_DataFlashBuffer.size(), kFlashWindow);
        return MemoryView(g_CodeFlashImage.data(), g_CodeFlashImage.size(), kFlashWindow);
    case MemoryKind::Code:
        return MemoryView(block, block_.size(), 0);
    }
    return MemoryView();
}

MemoryPane::Range MemoryPane::RangeOfTexts(const std::string& startText,
                                           const std::string& endText) const {
    Range range;
    range.start = AddressOfText(startText);
    range.end = AddressOfText(endText);
    if (range.start && IsOutOfRange(*range.start)) range.start.reset();
    if (range.end && IsOutOfRange(*range.end)) range.end.reset();
    return range;
}

void MemoryPane::Show(uint32_t start, uint32_t end) {
    if (kind_ == MemoryKind::External) {
        shown_ = !block_.empty();
        start = blockBase_;
        end = blockBase_ + uint32_t(block_.size()) - 1;
    } else {
        shown_ = true;
    }
    shownStart_ = start;
    shownEnd_ = end;
}

std::string MemoryPane::CellAt(uint32_t rowAddress, int digits, int column) const {
    // A cell is shown from a first byte within the range, when the buffer
    // holds all of its bytes.
    const MemoryView view = View();
    const uint32_t cellBytes = uint32_t(digits) / 2;
    const uint64_t first = uint64_t(rowAddress) + uint64_t(column - 1) * cellBytes;
    if (!shown_ || first < shownStart_ || first > shownEnd_) return std::string();
    uint8_t bytes[4] = {};
    for (uint32_t i = 0; i < cellBytes; ++i)
        if (!view.Load(uint32_t(first + i), bytes[i])) return std::string();
    return CellText(bytes, digits);
}

std::vector<std::string> MemoryPane::RowTexts(int row, int digits) const {
    const uint32_t rowAddress = shownStart_ + uint32_t(row) * kBytesPerRow;
    std::vector<std::string> texts{RowLabel(rowAddress)};
    for (int column = 1; column <= CellsPerRow(digits); ++column)
        texts.push_back(CellAt(rowAddress, digits, column));
    return texts;
}

std::vector<std::vector<std::string>> MemoryPane::Rows(int digits) const {
    std::vector<std::vector<std::string>> rows;
    const int count = RowCount();
    rows.reserve(size_t(count));
    for (int row = 0; row < count; ++row)
        rows.push_back(RowTexts(row, digits));
    return rows;
}

MemoryPane::ReadResult MemoryPane::ReadFromTarget(const Range& range) {
    if (!g_bProjectLoaded || g_bTargetBusy) {
        platform::ShowMessage(kFlashPaneNotReadyText);
        return ReadResult::NotReady;
    }
    if (kind_ == MemoryKind::Code) return ReadCodeThrough(kCodeSize - 1);
    if (kind_ != MemoryKind::External) return ReadResult::Done;
    if (!range.IsValid()) return ReadResult::OutOfMemory;
    switch (CheckReadSize(*range.start, *range.end)) {
    case ReadSizeCheck::TooBig:
        platform::ShowMessage(kReadTooBigText);
        return ReadResult::TooBig;
    case ReadSizeCheck::EndBeforeStart:
        platform::ShowMessage(kEndBeforeStartText);
        return ReadResult::EndBeforeStart;
    case ReadSizeCheck::Ok:
        break;
    }
    // Read aside first: a failed read leaves the block shown as it was.
    const uint32_t count = *range.end - *range.start + 1;
    std::vector<uint8_t> block(count, 0);
    if (ReadMemory(*range.start, block.data(), count, kSpaceExternalData) != int(count))
        return ReadResult::Failed;
    block_ = std::move(block);
    blockBase_ = *range.start;
    Show(*range.start, *range.end);
    return ReadResult::Done;
}

void MemoryPane::ForgetProgram() {
    if (kind_ == MemoryKind::Code) block_.assign(kCodeSize, 0);
    if (kind_ == MemoryKind::Flash) {
        g_CodeFlashImage.fill(0);
        g_DataFlashBuffer.fill(0);
    }
}

MemoryPane::ReadResult MemoryPane::ReadCodeThrough(uint32_t end) {
    if (!g_bProjectLoaded || g_bTargetBusy) {
        platform::ShowMessage(kFlashPaneNotReadyText);
        return ReadResult::NotReady;
    }
    if (kind_ != MemoryKind::Code || end >= kCodeSize) return ReadResult::OutOfMemory;
    // Read aside first: a failed read leaves the copy shown as it was.
    std::vector<uint8_t> code(end + 1, 0);
    if (ReadMemory(0, code.data(), end + 1, kSpaceCode) != int(end + 1)) return ReadResult::Failed;
    block_ = std::move(code);
    return ReadResult::Done;
}

int MemoryPane::WriteSpace(uint32_t address) const {
    // The internal pane's upper half is the SFRs, the last of them included.
    if (kind_ == MemoryKind::Internal) return address < 0x80 ? kSpaceInternalData : kSpaceSfr;
    return GetMemoryClass();
}

MemoryPane::Commit MemoryPane::CommitCell(const std::string& text, int digits, int column,
                                          const std::string& label) {
    Commit commit;
    const uint32_t rowAddress = ParseRowAddress(label);
    // Only a cell that shows memory takes an edit.
    if (g_bProjectLoaded && !g_bTargetBusy && IsHexText(text) &&
        !CellAt(rowAddress, digits, column).empty()) {
        commit.accepted = true;
        MemoryView view = View();
        for (const CellByte& byte : CellBytes(text, digits, column, rowAddress)) {
            view.StoreByte(byte.address, byte.value);
            // A failed write has shown the link error once; the rest is not sent.
            if (WritesThrough() &&
                !WriteTargetValue(byte.address, byte.value, 1, WriteSpace(byte.address)))
                break;
        }
    }
    commit.cellText = CellAt(rowAddress, digits, column);
    return commit;
}
