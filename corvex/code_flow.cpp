#include "code_flow.h"

#include "instruction_fields.h"
#include "opcode_table.h"

#include <memory>
#include <vector>

namespace disasm8051 {

namespace {

constexpr uint16_t kResetVector = 0x0000;
constexpr uint16_t kVectors[] = {kResetVector, 0x0003, 0x000B, 0x0013, 0x001B, 0x0023, 0x002B};

// Instructions after which execution never goes on to the next address.
bool endsFlow(uint8_t opcode) {
    const bool ajmp = (opcode & 0x1F) == 0x01;
    return ajmp || opcode == 0x02 /* LJMP */ || opcode == 0x80 /* SJMP */ ||
           opcode == 0x73 /* JMP @A+DPTR */ || opcode == 0x22 /* RET */ ||
           opcode == 0x32 /* RETI */;
}

// Whether the image holds a whole defined instruction at `address`.
bool holdsInstruction(const intelhex::Image& image, uint32_t address) {
    if (address >= intelhex::kImageSize) return false;
    const uint8_t opcode = image.bytes[address];
    if (opcode == isa8051::kUndefinedOpcode) return false;
    const uint32_t end = address + isa8051::opcodeInfo(opcode).length;
    if (end > intelhex::kImageSize) return false;
    for (uint32_t a = address; a < end; ++a)
        if (!image.present[a]) return false;
    return true;
}

// The instructions reached from one start address.
struct Flow {
    std::bitset<intelhex::kImageSize> starts;
    std::bitset<intelhex::kImageSize> inside; // every byte of them but the first
};

std::unique_ptr<Flow> follow(const intelhex::Image& image, uint16_t start) {
    auto flow = std::make_unique<Flow>();
    std::vector<uint32_t> pending = {start};
    while (!pending.empty()) {
        const uint32_t address = pending.back();
        pending.pop_back();
        if (!holdsInstruction(image, address) || flow->starts[address]) continue;
        flow->starts.set(address);

        const uint8_t opcode = image.bytes[address];
        const isa8051::OpcodeInfo& info = isa8051::opcodeInfo(opcode);
        for (uint32_t a = address + 1; a < address + info.length; ++a)
            flow->inside.set(a);
        if (const auto target =
                codeTarget(&image.bytes[address], static_cast<uint16_t>(address), info))
            pending.push_back(*target);
        if (!endsFlow(opcode)) pending.push_back(address + info.length);
    }
    return flow;
}

} // namespace

std::bitset<intelhex::kImageSize> reachedInstructions(const intelhex::Image& image) {
    std::vector<uint16_t> vectors;
    std::vector<std::unique_ptr<Flow>> flows;
    for (uint16_t vector : kVectors) {
        if (!image.present[vector]) continue;
        vectors.push_back(vector);
        flows.push_back(follow(image, vector));
    }
    // flows[0] is the reset vector's whenever the image holds 0000H.
    const Flow* reset = !vectors.empty() && vectors[0] == kResetVector ? flows[0].get() : nullptr;
    std::bitset<intelhex::kImageSize> reached;
    for (size_t i = 0; i < vectors.size(); ++i) {
        const Flow& flow = *flows[i];
        bool overlaid = false;
        if (vectors[i] != kResetVector) {
            for (size_t j = 0; j < vectors.size(); ++j)
                overlaid = overlaid || (j != i && flows[j]->inside[vectors[i]]);
            if (reset)
                overlaid = overlaid || (flow.starts & reset->inside).any() ||
                           (flow.inside & reset->starts).any();
        }
        if (!overlaid) reached |= flow.starts;
    }
    return reached;
}

} // namespace disasm8051
