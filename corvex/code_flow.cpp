#include "code_flow.h"

#include "instruction_fields.h"
#include "opcode_table.h"

#include <algorithm>
#include <memory>
#include <optional>

namespace disasm8051 {

namespace {

using Bits = std::bitset<intelhex::kImageSize>;

constexpr uint16_t kResetVector = 0x0000;
constexpr uint16_t kInterruptVectors[] = {0x0003, 0x000B, 0x0013, 0x001B, 0x0023, 0x002B};
constexpr uint32_t kAddressBytes = 2;

// Instructions after which execution never goes on to the next address.
bool endsFlow(uint8_t opcode) {
    const bool ajmp = (opcode & 0x1F) == 0x01;
    return ajmp || opcode == 0x02 /* LJMP */ || opcode == 0x80 /* SJMP */ ||
           opcode == 0x73 /* JMP @A+DPTR */ || opcode == 0x22 /* RET */ ||
           opcode == 0x32 /* RETI */;
}

bool isCall(uint8_t opcode) {
    return opcode == 0x12 /* LCALL */ || (opcode & 0x1F) == 0x11 /* ACALL */;
}

bool holdsBytes(const intelhex::Image& image, uint32_t address, uint32_t count) {
    if (address + count > intelhex::kImageSize) return false;
    for (uint32_t a = address; a < address + count; ++a)
        if (!image.present[a]) return false;
    return true;
}

// Whether the image holds a whole defined instruction at `address`.
bool holdsInstruction(const intelhex::Image& image, uint32_t address) {
    if (address >= intelhex::kImageSize) return false;
    const uint8_t opcode = image.bytes[address];
    return opcode != isa8051::kUndefinedOpcode &&
           holdsBytes(image, address, isa8051::opcodeInfo(opcode).length);
}

uint16_t wordAt(const intelhex::Image& image, uint32_t address) {
    return static_cast<uint16_t>(image.bytes[address] << 8 | image.bytes[address + 1]);
}

std::optional<CaseTable> readCaseTable(const intelhex::Image& image, uint32_t start,
                                       uint8_t valueBytes) {
    CaseTable table{static_cast<uint16_t>(start), 0, valueBytes, {}};
    const uint32_t entryBytes = kAddressBytes + valueBytes;
    for (uint32_t at = start;; at += entryBytes) {
        if (!holdsBytes(image, at, kAddressBytes)) return std::nullopt;
        if (wordAt(image, at) == 0) {
            if (!holdsBytes(image, at + kAddressBytes, kAddressBytes)) return std::nullopt;
            table.targets.push_back(wordAt(image, at + kAddressBytes));
            table.end = at + 2 * kAddressBytes;
            break;
        }
        if (!holdsBytes(image, at, entryBytes)) return std::nullopt;
        table.targets.push_back(wordAt(image, at));
    }
    for (uint16_t target : table.targets)
        if (!holdsInstruction(image, target) || (target >= table.start && target < table.end))
            return std::nullopt;
    return table;
}

// The instructions and case tables reached from some start addresses.
struct Flow {
    Bits starts;
    Bits inside; // every byte of them but the first
    Bits tableBytes;
    std::vector<CaseTable> tables;
    std::vector<uint16_t> unreadTables;

    // Whether this flow and `other` decode some byte differently.
    bool clashesWith(const Flow& other) const {
        return (starts & (other.inside | other.tableBytes)).any() ||
               (inside & (other.starts | other.tableBytes)).any() ||
               (tableBytes & (other.starts | other.inside)).any();
    }
};

const SwitchHelper* switchHelperAt(const FlowHints& hints, uint16_t address) {
    auto it = std::find_if(hints.switchHelpers.begin(), hints.switchHelpers.end(),
                           [&](const SwitchHelper& h) { return h.address == address; });
    return it == hints.switchHelpers.end() ? nullptr : &*it;
}

std::unique_ptr<Flow> follow(const intelhex::Image& image, std::vector<uint32_t> pending,
                             const FlowHints& hints) {
    auto flow = std::make_unique<Flow>();
    while (!pending.empty()) {
        const uint32_t address = pending.back();
        pending.pop_back();
        if (!holdsInstruction(image, address) || flow->starts[address]) continue;
        flow->starts.set(address);

        const uint8_t opcode = image.bytes[address];
        const isa8051::OpcodeInfo& info = isa8051::opcodeInfo(opcode);
        const uint32_t next = address + info.length;
        for (uint32_t a = address + 1; a < next; ++a)
            flow->inside.set(a);
        const auto target = codeTarget(&image.bytes[address], static_cast<uint16_t>(address), info);
        if (target) pending.push_back(*target);
        const SwitchHelper* helper =
            target && isCall(opcode) ? switchHelperAt(hints, *target) : nullptr;
        if (!helper) {
            if (!endsFlow(opcode)) pending.push_back(next);
        } else if (auto table = readCaseTable(image, next, helper->valueBytes)) {
            for (uint32_t a = table->start; a < table->end; ++a)
                flow->tableBytes.set(a);
            pending.insert(pending.end(), table->targets.begin(), table->targets.end());
            flow->tables.push_back(std::move(*table));
        } else if (next < intelhex::kImageSize) {
            flow->unreadTables.push_back(static_cast<uint16_t>(next));
        }
    }
    return flow;
}

} // namespace

CodeFlow followCode(const intelhex::Image& image, const FlowHints& hints) {
    std::vector<uint32_t> known(hints.codeStarts.begin(), hints.codeStarts.end());
    if (image.present[kResetVector]) known.push_back(kResetVector);
    const std::unique_ptr<Flow> main = follow(image, known, hints);

    std::vector<uint16_t> vectors;
    std::vector<std::unique_ptr<Flow>> flows;
    for (uint16_t vector : kInterruptVectors) {
        if (!image.present[vector]) continue;
        vectors.push_back(vector);
        flows.push_back(follow(image, {vector}, hints));
    }
    CodeFlow result;
    auto take = [&result](Flow& flow) {
        result.starts |= flow.starts;
        std::move(flow.tables.begin(), flow.tables.end(), std::back_inserter(result.tables));
        result.unreadTables.insert(result.unreadTables.end(), flow.unreadTables.begin(),
                                   flow.unreadTables.end());
    };
    take(*main);
    for (size_t i = 0; i < vectors.size(); ++i) {
        bool overlaid = main->inside[vectors[i]] || main->tableBytes[vectors[i]] ||
                        flows[i]->clashesWith(*main);
        for (size_t j = 0; j < vectors.size(); ++j)
            overlaid = overlaid || (j != i && flows[j]->inside[vectors[i]]);
        if (!overlaid) take(*flows[i]);
    }
    return result;
}

} // namespace disasm8051
