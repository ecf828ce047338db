#include "line_tables.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <deque>
#include <iterator>
#include <map>
#include <vector>

namespace {

constexpr size_t kGeneratedLabelLength = 6; // "L0003:"

std::string_view WordAt(std::string_view text, size_t index) {
    size_t pos = 0;
    for (size_t n = 0;; ++n) {
        pos = text.find_first_not_of(' ', pos);
        if (pos == std::string_view::npos) return {};
        size_t end = text.find(' ', pos);
        if (end == std::string_view::npos) end = text.size();
        if (n == index) return text.substr(pos, end - pos);
        pos = end;
    }
}

std::string UpperCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

struct FunctionLevel {
    SymbolInfo* pSymbol = nullptr;
    const CSymbolStruct* pSegment = nullptr;
};

// The open functions of the walk.
class FunctionStack {
public:
    void Push(FunctionLevel level) {
        if (m_levels.size() < static_cast<size_t>(kMaxFunctionDepth))
            m_levels.push_back(level);
        else
            ++m_nUnfollowed;
    }
    void Pop() {
        if (m_nUnfollowed > 0)
            --m_nUnfollowed;
        else if (!m_levels.empty())
            m_levels.pop_back();
    }
    bool Empty() const { return m_levels.empty(); }
    const FunctionLevel* Top() const { return m_levels.empty() ? nullptr : &m_levels.back(); }

private:
    std::vector<FunctionLevel> m_levels;
    size_t m_nUnfollowed = 0;
};

// The code segment of a function: the one that starts at the function's
// address, else the one that holds it (the linker may put shared code of the
// module in front of the function inside the same segment).
const CSymbolStruct* CodeSegmentOf(const CSymbolDatabase* database, uint32_t address) {
    if (!database) return nullptr;
    const CSymbolStruct* holder = nullptr;
    for (const auto& segment : database->m_listCode) {
        if (segment->m_dwStart == address) return segment.get();
        if (!holder && segment->m_dwStart < address &&
            address - segment->m_dwStart < segment->m_dwLength)
            holder = segment.get();
    }
    return holder;
}

// The spans of the instruction order (by index) already given to a line of
// the module, kept disjoint and merged: a range visits only the indexes no
// earlier range took, so ranges that overlap cost no more than ranges that
// do not.
class TakenSpans {
public:
    // Calls `visit` (which answers false to stop) for each index of
    // [from, to) not yet taken, in order, and takes them all. False when
    // `visit` stopped.
    template <class Visit> bool Take(size_t from, size_t to, Visit visit) {
        if (from >= to) return true;
        size_t low = from;
        size_t high = to;
        size_t at = from;
        auto span = m_spans.upper_bound(from);
        if (span != m_spans.begin() && std::prev(span)->second >= from) --span;
        while (span != m_spans.end() && span->first <= std::max(at, to)) {
            for (; at < std::min(span->first, to); ++at)
                if (!visit(at)) return false;
            low = std::min(low, span->first);
            high = std::max(high, span->second);
            at = std::max(at, span->second);
            span = m_spans.erase(span);
        }
        for (; at < to; ++at)
            if (!visit(at)) return false;
        m_spans[low] = high;
        return true;
    }

private:
    std::map<size_t, size_t> m_spans; // first index -> the index after the span
};

} // namespace

uint32_t InstructionSize(std::string_view text) {
    std::string_view word = WordAt(text, 0);
    if (word.size() == kGeneratedLabelLength && word.front() == 'L' &&
        word[kGeneratedLabelLength - 1] == ':')
        word = WordAt(text, 1);
    return static_cast<uint32_t>(word.size() / 2);
}

std::string LabelNameOf(std::string_view labelText) {
    std::string_view text = labelText.substr(0, labelText.find('\r'));
    return std::string(WordAt(text, 2));
}

InstructionOrder OrderInstructions(const AddressTextMap& instructions) {
    InstructionOrder order;
    order.m_addresses.reserve(instructions.size());
    for (const auto& instruction : instructions)
        order.m_addresses.push_back(instruction.first);
    std::sort(order.m_addresses.begin(), order.m_addresses.end());
    if (!order.m_addresses.empty()) {
        const uint32_t last = order.m_addresses.back();
        order.m_nEnd =
            uint64_t{last} + std::max<uint32_t>(1, InstructionSize(instructions.at(last)));
    }
    return order;
}

void DropLinesPastImage(MapLoader& map, CSymbolTable& table, uint64_t imageEnd) {
    for (const auto& module : map.m_moduleLineRecords) {
        std::deque<CLineInfoInMapFormat> kept;
        for (const CLineInfoInMapFormat& record : module->m_lines) {
            if (record.m_nKind != kLineSource || record.m_dwAddress < imageEnd) {
                kept.push_back(record);
                continue;
            }
            char address[16];
            std::snprintf(address, sizeof address, "%04XH",
                          static_cast<unsigned>(record.m_dwAddress));
            map.m_faults.Refuse(record.m_nMapLine, "the address", address,
                                "lies past the end of the image");
            if (!kept.empty() && kept.back().m_nKind == kLineSource)
                kept.back().m_bNextRefused = true;
        }
        module->m_lines = std::move(kept);
    }
    table.DropPositionsFrom(imageEnd);
}

int BuildModuleLineEntries(const CLineInfoInModule* module, LSTLoader& listing,
                           const std::string& sourceFileName, const AddressTextMap& instructions,
                           const InstructionOrder& order, const AddressTextMap& labels,
                           CSymbolTable& table, const CSymbolDatabase* database) {
    if (!module) return 0;
    const std::string keyPrefix = UpperCase(sourceFileName) + ":";
    Loader* source = listing.m_pSourceLoader.get();
    FunctionStack functions;
    TakenSpans taken;
    uint64_t previousEnd = 0;

    const auto& records = module->m_lines;
    for (size_t i = 0; i < records.size(); ++i) {
        const CLineInfoInMapFormat& record = records[i];
        if (record.m_nKind == kLineFunctionStart) {
            FunctionLevel level;
            level.pSymbol = table.SymbolAtAddress(record.m_dwAddress, kSelectCode);
            if (level.pSymbol) level.pSegment = CodeSegmentOf(database, record.m_dwAddress);
            functions.Push(level);
            continue;
        }
        if (record.m_nKind == kLineFunctionEnd) {
            functions.Pop();
            continue;
        }
        // The module's last record ends as the last line of a function does.
        const uint32_t nextKind =
            i + 1 < records.size() ? records[i + 1].m_nKind : kLineFunctionEnd;
        const uint32_t start = record.m_dwAddress;
        auto own = instructions.find(start);
        const uint64_t ownEnd =
            own == instructions.end() ? start : uint64_t{start} + InstructionSize(own->second);
        uint64_t end = 0;
        const FunctionLevel* top = functions.Top();
        if (!top) {
            end = ownEnd;
        } else if (nextKind == kLineSource) {
            end = records[i + 1].m_dwAddress;
        } else if (nextKind == kLineFunctionEnd) {
            // Without a segment (an assembler block) the line keeps at least
            // the instruction the map places it at.
            end = top->pSegment ? uint64_t{top->pSegment->m_dwStart} + top->pSegment->m_dwLength
                                : std::max(previousEnd, ownEnd);
        } else {
            end = 0;
        }
        if (record.m_bNextRefused) end = std::min(end, ownEnd);
        previousEnd = end;
        if (end <= start) continue;

        const std::string key = keyPrefix + std::to_string(static_cast<int32_t>(record.m_nLine));
        TextLine* line = nullptr;
        if (source && record.m_nLine >= 1 && record.m_nLine <= source->m_lines.size())
            line = &source->m_lines[record.m_nLine - 1];
        // A line past the end of the file (code of an included file, numbered
        // in that file's lines) takes its code from the other lines but gives
        // it no position: there is no line to show it on.
        const bool pastEnd = source && record.m_nLine != kUntranslatedLine &&
                             record.m_nLine > source->m_lines.size();
        if (pastEnd) table.DropLinePosition(key, start);
        SymbolInfo* function = top ? top->pSymbol : nullptr;

        const std::vector<uint32_t>& addresses = order.m_addresses;
        const auto first = std::lower_bound(addresses.begin(), addresses.end(), start);
        const auto last = std::lower_bound(first, addresses.end(), end);
        const bool translated =
            taken.Take(static_cast<size_t>(first - addresses.begin()),
                       static_cast<size_t>(last - addresses.begin()), [&](size_t at) {
                           const uint32_t address = addresses[at];
                           auto instruction = instructions.find(address);
                           if (instruction == instructions.end()) return true;
                           if (record.m_nLine == kUntranslatedLine) return false;
                           if (pastEnd) {
                               table.DropLinePosition(key, address);
                               return true;
                           }
                           std::string text;
                           auto label = labels.find(address);
                           if (label != labels.end()) text = LabelNameOf(label->second) + ": ";
                           text += instruction->second;
                           if (line && !text.empty()) {
                               line->m_instructions.push_back(
                                   InstructionInfo{text, function, address, InstructionSize(text)});
                               line->m_pFunctionSymbol = function;
                           }
                           table.SetLineOfAddress(address, key);
                           return true;
                       });
        if (!translated) return 0;
    }
    return 1;
}
