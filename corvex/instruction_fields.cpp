#include "instruction_fields.h"

#include <utility>

namespace disasm8051 {

using isa8051::Operand;

void operandOffsets(const isa8051::OpcodeInfo& info, int offsets[3]) {
    int next = 1;
    for (int i = 0; i < 3; ++i) {
        offsets[i] = next;
        next += isa8051::operandBytes(info.operands[i]);
    }
    for (int i = 0; i < 3; ++i) {
        if (info.operands[i] == Operand::DirectSrc) {
            for (int j = 0; j < 3; ++j)
                if (info.operands[j] == Operand::Direct) std::swap(offsets[i], offsets[j]);
        }
    }
}

std::optional<uint16_t> codeTarget(const uint8_t* code, uint16_t address,
                                   const isa8051::OpcodeInfo& info) {
    int offsets[3];
    operandOffsets(info, offsets);
    for (int i = 0; i < 3; ++i) {
        const uint8_t* p = code + offsets[i];
        switch (info.operands[i]) {
        case Operand::Rel:
            return isa8051::relativeTarget(address, info.length, p[0]);
        case Operand::Addr11:
            return isa8051::absoluteTarget(address, code[0], p[0]);
        case Operand::Addr16:
            return static_cast<uint16_t>(p[0] << 8 | p[1]);
        default:
            break;
        }
    }
    return std::nullopt;
}

} // namespace disasm8051
