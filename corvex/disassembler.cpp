#include "disassembler.h"

#include "code_flow.h"
#include "instruction_fields.h"
#include "opcode_table.h"
#include "operand_text.h"

#include <algorithm>
#include <bitset>
#include <cstdio>
#include <optional>

namespace disasm8051 {

using isa8051::Operand;

namespace {

constexpr uint32_t kDataLineBytes = 4;
constexpr uint32_t kAddressBytes = 2;

// One decoded item of the listing.
struct Decoded {
    uint16_t address;
    uint8_t length;                 // bytes taken from the image
    bool data;                      // written as a data line
    std::optional<uint16_t> target; // code target of a jump or call
};

Decoded instructionAt(const intelhex::Image& image, uint32_t a) {
    const isa8051::OpcodeInfo& info = isa8051::opcodeInfo(image.bytes[a]);
    const uint16_t address = static_cast<uint16_t>(a);
    return {address, info.length, false, codeTarget(&image.bytes[a], address, info)};
}

// Decodes the bytes [start, end) linearly from `start`. An instruction that
// would reach `end` or beyond, or the undefined opcode, is a data line.
void sweep(const intelhex::Image& image, uint32_t start, uint32_t end,
           std::vector<Decoded>& items) {
    uint32_t a = start;
    while (a < end) {
        const uint8_t opcode = image.bytes[a];
        const isa8051::OpcodeInfo& info = isa8051::opcodeInfo(opcode);
        const uint16_t address = static_cast<uint16_t>(a);
        if (a + info.length > end) {
            items.push_back({address, static_cast<uint8_t>(end - a), true, {}});
        } else if (opcode == isa8051::kUndefinedOpcode) {
            items.push_back({address, info.length, true, {}});
        } else {
            items.push_back(instructionAt(image, a));
        }
        a += items.back().length;
    }
}

// The bytes [start, end) as data lines of at most kDataLineBytes bytes.
void dataLines(uint32_t start, uint32_t end, std::vector<Decoded>& items) {
    for (uint32_t a = start; a < end; a += kDataLineBytes)
        items.push_back({static_cast<uint16_t>(a),
                         static_cast<uint8_t>(std::min(end - a, kDataLineBytes)),
                         true,
                         {}});
}

// A case table's data lines: one per entry (two when the entry is longer
// than a data line: the address, then the value), and one for the zero
// address with the default's address.
void caseTableLines(const CaseTable& table, std::vector<Decoded>& items) {
    const uint32_t entryBytes = kAddressBytes + table.valueBytes;
    uint32_t a = table.start;
    for (; a + 2 * kAddressBytes < table.end; a += entryBytes) {
        if (entryBytes <= kDataLineBytes) {
            dataLines(a, a + entryBytes, items);
        } else {
            dataLines(a, a + kAddressBytes, items);
            dataLines(a + kAddressBytes, a + entryBytes, items);
        }
    }
    dataLines(a, table.end, items);
}

struct DecodedImage {
    std::vector<Decoded> items;        // in address order
    std::vector<uint16_t> caseTargets; // the code addresses the case tables name
};

// The reached instructions, the case tables after the switch calls, and the
// sweep of every run of present bytes that none of them covers, in address
// order. A run that begins where a switch call's unread table would be is
// data as a whole.
DecodedImage decode(const intelhex::Image& image, const FlowHints& hints) {
    const CodeFlow flow = followCode(image, hints);
    DecodedImage decoded;
    std::vector<Decoded>& items = decoded.items;
    std::bitset<intelhex::kImageSize> covered;
    for (uint32_t a = 0; a < intelhex::kImageSize; ++a) {
        if (!flow.starts[a]) continue;
        items.push_back(instructionAt(image, a));
        for (uint32_t b = a; b < a + items.back().length; ++b)
            covered.set(b);
    }
    for (const CaseTable& table : flow.tables) {
        bool clear = true;
        for (uint32_t a = table.start; a < table.end; ++a)
            clear = clear && !covered[a];
        if (!clear) continue; // what flow decoded otherwise stays; the rest is swept
        caseTableLines(table, items);
        for (uint32_t a = table.start; a < table.end; ++a)
            covered.set(a);
        decoded.caseTargets.insert(decoded.caseTargets.end(), table.targets.begin(),
                                   table.targets.end());
    }
    std::bitset<intelhex::kImageSize> unread;
    for (uint16_t start : flow.unreadTables)
        unread.set(start);
    for (const intelhex::Range& range : image.ranges()) {
        uint32_t a = range.start;
        while (a < range.end) {
            if (covered[a]) {
                ++a;
                continue;
            }
            const uint32_t gap = a;
            while (a < range.end && !covered[a])
                ++a;
            if (unread[gap])
                dataLines(gap, a, items);
            else
                sweep(image, gap, a, items);
        }
    }
    std::sort(items.begin(), items.end(),
              [](const Decoded& x, const Decoded& y) { return x.address < y.address; });
    return decoded;
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

std::vector<ListingLine> disassemble(const intelhex::Image& image, const FlowHints& hints) {
    const DecodedImage decoded = decode(image, hints);
    const std::vector<Decoded>& items = decoded.items;

    std::bitset<intelhex::kImageSize> starts;
    for (const Decoded& d : items)
        starts.set(d.address);
    std::bitset<intelhex::kImageSize> labels;
    for (const Decoded& d : items)
        if (d.target && starts[*d.target]) labels.set(*d.target);
    for (uint16_t target : decoded.caseTargets)
        if (starts[target]) labels.set(target);

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
