#include "code_exits.h"

#include "opcode_table.h"

#include <cstring>
#include <map>
#include <string>

namespace {

using isa8051::Operand;

struct Instruction {
    uint8_t bytes[3] = {};
    const isa8051::OpcodeInfo* info = nullptr;
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The instruction a text "BYTES MNEMONIC ..." holds; false when its bytes do
// not make one instruction of the mnemonic written after them ("DB" data, a
// disassembly of other bytes).
bool Decode(const std::string& text, Instruction& instruction) {
    const size_t space = text.find(' ');
    if (space == std::string::npos || space % 2 != 0 || space == 0 || space > 6) return false;
    for (size_t i = 0; i < space; i += 2) {
        const int high = HexDigit(text[i]), low = HexDigit(text[i + 1]);
        if (high < 0 || low < 0) return false;
        instruction.bytes[i / 2] = uint8_t(high << 4 | low);
    }
    instruction.info = &isa8051::opcodeInfo(instruction.bytes[0]);
    const size_t start = text.find_first_not_of(' ', space);
    const size_t end = text.find(' ', start);
    const std::string mnemonic = start == std::string::npos ? "" : text.substr(start, end - start);
    return instruction.info->length == space / 2 && mnemonic == instruction.info->mnemonic &&
           instruction.bytes[0] != isa8051::kUndefinedOpcode;
}

// The code address a jump or call names; false when it names none.
bool TargetOf(uint16_t at, const Instruction& instruction, uint16_t& target) {
    const isa8051::OpcodeInfo& info = *instruction.info;
    int offset = 1;
    for (Operand op : info.operands) {
        const uint8_t* operand = instruction.bytes + offset;
        if (op == Operand::Rel) {
            target = isa8051::relativeTarget(at, info.length, operand[0]);
            return true;
        }
        if (op == Operand::Addr11) {
            target = isa8051::absoluteTarget(at, instruction.bytes[0], operand[0]);
            return true;
        }
        if (op == Operand::Addr16) {
            target = uint16_t(operand[0] << 8 | operand[1]);
            return true;
        }
        offset += isa8051::operandBytes(op);
    }
    return false;
}

bool IsReturn(const Instruction& instruction) {
    return std::strcmp(instruction.info->mnemonic, "RET") == 0 ||
           std::strcmp(instruction.info->mnemonic, "RETI") == 0;
}

// Control never goes on to the next instruction.
bool NeverGoesOn(const Instruction& instruction) {
    const char* m = instruction.info->mnemonic;
    return IsReturn(instruction) || std::strcmp(m, "JMP") == 0 || std::strcmp(m, "LJMP") == 0 ||
           std::strcmp(m, "AJMP") == 0 || std::strcmp(m, "SJMP") == 0;
}

} // namespace

bool ExitsOfCode(const CodeRange& code, std::vector<uint16_t>& exits) {
    exits.clear();
    std::map<uint32_t, Instruction> instructions;
    uint32_t at = code.low;
    while (at < code.high) {
        const std::string text = DisassemblyText(at);
        if (text.empty()) break;
        Instruction instruction;
        if (!Decode(text, instruction)) return false;
        instructions[at] = instruction;
        at += instruction.info->length;
    }
    if (instructions.empty()) return false;
    const uint32_t textsEnd = at;
    for (const auto& [address, instruction] : instructions) {
        uint16_t target = 0;
        bool leaves = IsReturn(instruction) || instruction.bytes[0] == 0x73; // JMP @A+DPTR
        if (!leaves && TargetOf(uint16_t(address), instruction, target)) {
            leaves = !code.Holds(target);
            if (!leaves && !instructions.count(target)) return false;
        }
        const uint32_t next = address + instruction.info->length;
        if (next == textsEnd && !NeverGoesOn(instruction)) {
            if (textsEnd < code.high) return false; // on into code without texts
            leaves = true;                          // on past the end
        }
        if (leaves) exits.push_back(uint16_t(address));
    }
    return true;
}
