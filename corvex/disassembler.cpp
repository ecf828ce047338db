#include "disassembler.h"

#include "opcode_table.h"
#include "operand_text.h"

#include <bitset>
#include <cstdio>
#include <optional>

namespace disasm8051 {

using isa8051::Operand;

namespace {

// One decoded item of the sweep.
struct Decoded {
    uint16_t address;
    uint8_t length;                 // bytes taken from the image
    bool data;                      // written as a data line
    std::optional<uint16_t> target; // code target of a jump or call
};

// Byte offset inside the instruction of each operand, in assembly order.
// Operands are encoded in assembly order, except MOV direct,direct whose
// source byte comes first.
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

std::vector<Decoded> sweep(const intelhex::Image& image) {
    std::vector<Decoded> items;
    for (const intelhex::Range& range : image.ranges()) {
        uint32_t a = range.start;
        while (a < range.end) {
            const uint8_t opcode = image.bytes[a];
            const isa8051::OpcodeInfo& info = isa8051::opcodeInfo(opcode);
            const uint16_t address = static_cast<uint16_t>(a);
            if (a + info.length > range.end) {
                items.push_back({address, static_cast<uint8_t>(range.end - a), true, {}});
            } else if (opcode == isa8051::kUndefinedOpcode) {
                items.push_back({address, info.length, true, {}});
            } else {
                items.push_back(
                    {address, info.length, false, codeTarget(&image.bytes[a], address, info)});
            }
            a += items.back().length;
        }
    }
    return items;
}

std::string bytesWord(const uint8_t* code, int length) {
    std::string s;
    char buf[3];
    for (int i = 0; i < length; ++i) {
        std::snprintf(buf, sizeof buf, "%02X", code[i]);
        s += buf;
    }
    return s;
}

std::string instructionText(const std::string& bytes, const std::string& mnemonic,
                            const std::vector<std::string>& operands) {
    std::string text = bytes + " " + mnemonic;
    if (operands.empty()) return text;
    text.append(mnemonic.size() < 6 ? 6 - mnemonic.size() : 0, ' ');
    text += ' ';
    for (size_t i = 0; i < operands.size(); ++i) {
        if (i) text += ',';
        text += operands[i];
    }
    return text;
}

class Formatter {
public:
    Formatter(const intelhex::Image& image, const std::bitset<intelhex::kImageSize>& labels)
        : image_(image), labels_(labels) {}

    std::string dataText(const Decoded& d) const {
        const uint8_t* code = &image_.bytes[d.address];
        std::vector<std::string> operands;
        for (int i = 0; i < d.length; ++i)
            operands.push_back(hexByte(code[i]));
        return instructionText(bytesWord(code, d.length), "DB", operands);
    }

    std::string instruction(const Decoded& d) const {
        const uint8_t* code = &image_.bytes[d.address];
        const isa8051::OpcodeInfo& info = isa8051::opcodeInfo(code[0]);
        int offsets[3];
        operandOffsets(info, offsets);
        std::vector<std::string> operands;
        for (int i = 0; i < 3 && info.operands[i] != Operand::None; ++i)
            operands.push_back(operand(info.operands[i], code, code + offsets[i], d));
        return instructionText(bytesWord(code, d.length), info.mnemonic, operands);
    }

private:
    std::string target(uint16_t address) const {
        if (!labels_[address]) return hexWord(address);
        char buf[8];
        std::snprintf(buf, sizeof buf, "L%04X", address);
        return buf;
    }

    std::string operand(Operand kind, const uint8_t* code, const uint8_t* p,
                        const Decoded& d) const {
        switch (kind) {
        case Operand::None:
            return "";
        case Operand::A:
            return "A";
        case Operand::AB:
            return "AB";
        case Operand::C:
            return "C";
        case Operand::DPTR:
            return "DPTR";
        case Operand::AtDPTR:
            return "@DPTR";
        case Operand::AtA_DPTR:
            return "@A+DPTR";
        case Operand::AtA_PC:
            return "@A+PC";
        case Operand::Rn:
            return "R" + std::to_string(code[0] & 7);
        case Operand::AtRi:
            return "@R" + std::to_string(code[0] & 1);
        case Operand::Direct:
        case Operand::DirectSrc:
            return directText(p[0]);
        case Operand::Imm8:
            return "#" + hexByte(p[0]);
        case Operand::Imm16:
            return "#" + hexWord(static_cast<uint16_t>(p[0] << 8 | p[1]));
        case Operand::Bit:
            return bitText(p[0]);
        case Operand::NotBit:
            return "/" + bitText(p[0]);
        case Operand::Rel:
        case Operand::Addr11:
        case Operand::Addr16:
            return target(*d.target);
        }
        return "";
    }

    const intelhex::Image& image_;
    const std::bitset<intelhex::kImageSize>& labels_;
};

} // namespace

std::vector<ListingLine> disassemble(const intelhex::Image& image) {
    const std::vector<Decoded> items = sweep(image);

    std::bitset<intelhex::kImageSize> starts;
    for (const Decoded& d : items)
        starts.set(d.address);
    std::bitset<intelhex::kImageSize> labels;
    for (const Decoded& d : items)
        if (d.target && starts[*d.target]) labels.set(*d.target);

    Formatter format(image, labels);
    std::vector<ListingLine> lines;
    lines.reserve(items.size() + labels.count());
    char label[24];
    for (const Decoded& d : items) {
        if (labels[d.address]) {
            std::snprintf(label, sizeof label, "; LABEL L%04X", d.address);
            lines.push_back({ListingLine::Kind::Label, d.address, label});
        }
        if (d.data)
            lines.push_back({ListingLine::Kind::Data, d.address, format.dataText(d)});
        else
            lines.push_back({ListingLine::Kind::Instruction, d.address, format.instruction(d)});
    }
    return lines;
}

std::string renderListing(const std::vector<ListingLine>& lines) {
    std::string out;
    char address[8];
    for (const ListingLine& line : lines) {
        std::snprintf(address, sizeof address, "%04X ", line.address);
        out += address;
        out += line.text;
        out += '\n';
    }
    return out;
}

} // namespace disasm8051
