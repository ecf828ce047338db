// The instruction interpreter: one switch over the 256 opcodes. Lengths and
// machine cycles come from the shared instruction table.
#include "cpu_access.h"
#include "opcode_table.h"

namespace sim8051 {

namespace {

struct Timing {
    uint8_t length[256];
    uint8_t cycles[256];
};

Timing timingFromTable() {
    Timing t{};
    for (int op = 0; op < 256; ++op) {
        const isa8051::OpcodeInfo& info = isa8051::opcodeInfo(static_cast<uint8_t>(op));
        t.length[op] = info.length;
        t.cycles[op] = info.cycles;
    }
    return t;
}

const Timing kTiming = timingFromTable();

} // namespace

void Cpu::add(uint8_t value, int carryIn) {
    const uint8_t a = acc();
    const unsigned sum = a + value + carryIn;
    const bool carry7 = sum > 0xFF;
    const bool carry6 = (a & 0x7F) + (value & 0x7F) + carryIn > 0x7F;
    uint8_t p = psw() & ~(psw::kCarry | psw::kAuxCarry | psw::kOverflow);
    if (carry7) p |= psw::kCarry;
    if ((a & 0x0F) + (value & 0x0F) + carryIn > 0x0F) p |= psw::kAuxCarry;
    if (carry6 != carry7) p |= psw::kOverflow;
    sfr_[PSW - 0x80] = p;
    setAcc(static_cast<uint8_t>(sum));
}

void Cpu::subb(uint8_t value) {
    const uint8_t a = acc();
    const int borrowIn = carry() ? 1 : 0;
    const int diff = a - value - borrowIn;
    const bool borrow7 = diff < 0;
    const bool borrow6 = (a & 0x7F) - (value & 0x7F) - borrowIn < 0;
    uint8_t p = psw() & ~(psw::kCarry | psw::kAuxCarry | psw::kOverflow);
    if (borrow7) p |= psw::kCarry;
    if ((a & 0x0F) - (value & 0x0F) - borrowIn < 0) p |= psw::kAuxCarry;
    if (borrow6 != borrow7) p |= psw::kOverflow;
    sfr_[PSW - 0x80] = p;
    setAcc(static_cast<uint8_t>(diff));
}

// DA A: each nibble above 9 (or with its carry set) gets 6 added; a carry
// out of the high nibble sets CY, which DA never clears.
void Cpu::decimalAdjust() {
    unsigned a = acc();
    const uint8_t p = psw();
    if ((a & 0x0F) > 9 || (p & psw::kAuxCarry)) a += 0x06;
    if (a > 0xFF || (p & psw::kCarry) || (a & 0xF0) > 0x90) a += 0x60;
    if (a > 0xFF) setCarry(true);
    setAcc(static_cast<uint8_t>(a));
}

void Cpu::compareJump(uint8_t a, uint8_t b, uint8_t rel, uint16_t next) {
    setCarry(a < b);
    if (a != b) pc_ = static_cast<uint16_t>(next + static_cast<int8_t>(rel));
}

// The six forms of ORL, ANL and XRL from `base` on: direct,A and direct,#imm
// (read-modify-write: ports use the latch), then A,#imm, A,direct, A,@Ri and
// A,Rn.
#define LOGIC_GROUP(base, OP)                                                                      \
    case base + 0x0: /* direct,A */                                                                \
        writeDirect(b1, static_cast<uint8_t>(readDirectLatch(b1) OP a));                           \
        break;                                                                                     \
    case base + 0x1: /* direct,#imm */                                                             \
        writeDirect(b1, static_cast<uint8_t>(readDirectLatch(b1) OP b2));                          \
        break;                                                                                     \
    case base + 0x2:                                                                               \
        setAcc(static_cast<uint8_t>(a OP b1));                                                     \
        break;                                                                                     \
    case base + 0x3:                                                                               \
        setAcc(static_cast<uint8_t>(a OP readDirect(b1)));                                         \
        break;                                                                                     \
    case base + 0x4:                                                                               \
    case base + 0x5:                                                                               \
        setAcc(static_cast<uint8_t>(a OP readIndirect(r(op & 1))));                                \
        break;                                                                                     \
    case base + 0x6:                                                                               \
    case base + 0x7:                                                                               \
    case base + 0x8:                                                                               \
    case base + 0x9:                                                                               \
    case base + 0xA:                                                                               \
    case base + 0xB:                                                                               \
    case base + 0xC:                                                                               \
    case base + 0xD:                                                                               \
        setAcc(static_cast<uint8_t>(a OP r(op & 7)));                                              \
        break;

// Inlined into step() and run(): one call less per instruction.
inline __attribute__((always_inline)) void Cpu::execute() {
    const uint16_t at = pc_;
    const uint8_t op = code_[at];
    const uint16_t next = static_cast<uint16_t>(at + kTiming.length[op]);
    const uint8_t b1 = code_[static_cast<uint16_t>(at + 1)];
    const uint8_t b2 = code_[static_cast<uint16_t>(at + 2)];
    const auto jump = [&](uint8_t rel) {
        pc_ = static_cast<uint16_t>(next + static_cast<int8_t>(rel));
    };
    uint8_t& a = sfr_[ACC - 0x80];
    pc_ = next;

    switch (op) {
    case 0x00: // NOP
    case 0xA5: // undefined: no operation
        break;

    // Jumps and calls -------------------------------------------------------
    case 0x01: // AJMP
    case 0x21:
    case 0x41:
    case 0x61:
    case 0x81:
    case 0xA1:
    case 0xC1:
    case 0xE1:
        pc_ = isa8051::absoluteTarget(at, op, b1);
        break;
    case 0x11: // ACALL
    case 0x31:
    case 0x51:
    case 0x71:
    case 0x91:
    case 0xB1:
    case 0xD1:
    case 0xF1:
        push(static_cast<uint8_t>(next));
        push(static_cast<uint8_t>(next >> 8));
        pc_ = isa8051::absoluteTarget(at, op, b1);
        break;
    case 0x02: // LJMP
        pc_ = static_cast<uint16_t>(b1 << 8 | b2);
        break;
    case 0x12: // LCALL
        push(static_cast<uint8_t>(next));
        push(static_cast<uint8_t>(next >> 8));
        pc_ = static_cast<uint16_t>(b1 << 8 | b2);
        break;
    case 0x22: { // RET
        const uint8_t hi = pop();
        pc_ = static_cast<uint16_t>(hi << 8 | pop());
        break;
    }
    case 0x32: { // RETI
        const uint8_t hi = pop();
        pc_ = static_cast<uint16_t>(hi << 8 | pop());
        returnFromInterrupt();
        break;
    }
    case 0x73: // JMP @A+DPTR
        pc_ = static_cast<uint16_t>(dptr() + a);
        break;
    case 0x80: // SJMP
        jump(b1);
        break;
    case 0x40: // JC
        if (carry()) jump(b1);
        break;
    case 0x50: // JNC
        if (!carry()) jump(b1);
        break;
    case 0x60: // JZ
        if (a == 0) jump(b1);
        break;
    case 0x70: // JNZ
        if (a != 0) jump(b1);
        break;
    case 0x20: // JB bit,rel
        if (readBit(b1)) jump(b2);
        break;
    case 0x30: // JNB bit,rel
        if (!readBit(b1)) jump(b2);
        break;
    case 0x10: // JBC bit,rel (read-modify-write: the latch)
        if (readBitLatch(b1)) {
            writeBit(b1, false);
            jump(b2);
        }
        break;
    case 0xB4: // CJNE A,#imm,rel
        compareJump(a, b1, b2, next);
        break;
    case 0xB5: // CJNE A,direct,rel
        compareJump(a, readDirect(b1), b2, next);
        break;
    case 0xB6: // CJNE @Ri,#imm,rel
    case 0xB7:
        compareJump(readIndirect(r(op & 1)), b1, b2, next);
        break;
    case 0xB8: // CJNE Rn,#imm,rel
    case 0xB9:
    case 0xBA:
    case 0xBB:
    case 0xBC:
    case 0xBD:
    case 0xBE:
    case 0xBF:
        compareJump(r(op & 7), b1, b2, next);
        break;
    case 0xD5: { // DJNZ direct,rel (read-modify-write)
        const uint8_t v = static_cast<uint8_t>(readDirectLatch(b1) - 1);
        writeDirect(b1, v);
        if (v != 0) jump(b2);
        break;
    }
    case 0xD8: // DJNZ Rn,rel
    case 0xD9:
    case 0xDA:
    case 0xDB:
    case 0xDC:
    case 0xDD:
    case 0xDE:
    case 0xDF:
        if (--r(op & 7) != 0) jump(b1);
        break;

    // Increment and decrement ---------------------------------------------
    case 0x04: // INC A
        setAcc(static_cast<uint8_t>(a + 1));
        break;
    case 0x05: // INC direct
        writeDirect(b1, static_cast<uint8_t>(readDirectLatch(b1) + 1));
        break;
    case 0x06:
    case 0x07: { // INC @Ri
        const uint8_t addr = r(op & 1);
        writeIndirect(addr, static_cast<uint8_t>(readIndirect(addr) + 1));
        break;
    }
    case 0x08: // INC Rn
    case 0x09:
    case 0x0A:
    case 0x0B:
    case 0x0C:
    case 0x0D:
    case 0x0E:
    case 0x0F:
        ++r(op & 7);
        break;
    case 0x14: // DEC A
        setAcc(static_cast<uint8_t>(a - 1));
        break;
    case 0x15: // DEC direct
        writeDirect(b1, static_cast<uint8_t>(readDirectLatch(b1) - 1));
        break;
    case 0x16:
    case 0x17: { // DEC @Ri
        const uint8_t addr = r(op & 1);
        writeIndirect(addr, static_cast<uint8_t>(readIndirect(addr) - 1));
        break;
    }
    case 0x18: // DEC Rn
    case 0x19:
    case 0x1A:
    case 0x1B:
    case 0x1C:
    case 0x1D:
    case 0x1E:
    case 0x1F:
        --r(op & 7);
        break;
    case 0xA3: { // INC DPTR
        const uint16_t d = static_cast<uint16_t>(dptr() + 1);
        sfr_[DPL - 0x80] = static_cast<uint8_t>(d);
        sfr_[DPH - 0x80] = static_cast<uint8_t>(d >> 8);
        break;
    }

    // Rotations and accumulator operations ---------------------------------
    case 0x03: // RR A
        setAcc(static_cast<uint8_t>(a >> 1 | a << 7));
        break;
    case 0x13: { // RRC A
        const bool c = a & 1;
        setAcc(static_cast<uint8_t>(a >> 1 | (carry() ? 0x80 : 0)));
        setCarry(c);
        break;
    }
    case 0x23: // RL A
        setAcc(static_cast<uint8_t>(a << 1 | a >> 7));
        break;
    case 0x33: { // RLC A
        const bool c = a & 0x80;
        setAcc(static_cast<uint8_t>(a << 1 | (carry() ? 1 : 0)));
        setCarry(c);
        break;
    }
    case 0xC4: // SWAP A
        setAcc(static_cast<uint8_t>(a << 4 | a >> 4));
        break;
    case 0xD4: // DA A
        decimalAdjust();
        break;
    case 0xE4: // CLR A
        setAcc(0);
        break;
    case 0xF4: // CPL A
        setAcc(static_cast<uint8_t>(~a));
        break;
    case 0xA4: { // MUL AB: OV when the product exceeds 255, CY cleared
        const unsigned product = a * sfr_[B - 0x80];
        setAcc(static_cast<uint8_t>(product));
        sfr_[B - 0x80] = static_cast<uint8_t>(product >> 8);
        uint8_t& p = sfr_[PSW - 0x80];
        p = static_cast<uint8_t>((p & ~(psw::kCarry | psw::kOverflow)) |
                                 (product > 0xFF ? psw::kOverflow : 0));
        break;
    }
    case 0x84: { // DIV AB: OV on division by zero (A and B kept), CY cleared
        const uint8_t divisor = sfr_[B - 0x80];
        uint8_t& p = sfr_[PSW - 0x80];
        p &= static_cast<uint8_t>(~(psw::kCarry | psw::kOverflow));
        if (divisor == 0) {
            p |= psw::kOverflow;
        } else {
            const uint8_t dividend = a;
            sfr_[B - 0x80] = static_cast<uint8_t>(dividend % divisor);
            setAcc(static_cast<uint8_t>(dividend / divisor));
        }
        break;
    }

    // Arithmetic ------------------------------------------------------------
    case 0x24: // ADD A,#imm
        add(b1, 0);
        break;
    case 0x25: // ADD A,direct
        add(readDirect(b1), 0);
        break;
    case 0x26: // ADD A,@Ri
    case 0x27:
        add(readIndirect(r(op & 1)), 0);
        break;
    case 0x28: // ADD A,Rn
    case 0x29:
    case 0x2A:
    case 0x2B:
    case 0x2C:
    case 0x2D:
    case 0x2E:
    case 0x2F:
        add(r(op & 7), 0);
        break;
    case 0x34: // ADDC A,#imm
        add(b1, carry());
        break;
    case 0x35: // ADDC A,direct
        add(readDirect(b1), carry());
        break;
    case 0x36: // ADDC A,@Ri
    case 0x37:
        add(readIndirect(r(op & 1)), carry());
        break;
    case 0x38: // ADDC A,Rn
    case 0x39:
    case 0x3A:
    case 0x3B:
    case 0x3C:
    case 0x3D:
    case 0x3E:
    case 0x3F:
        add(r(op & 7), carry());
        break;
    case 0x94: // SUBB A,#imm
        subb(b1);
        break;
    case 0x95: // SUBB A,direct
        subb(readDirect(b1));
        break;
    case 0x96: // SUBB A,@Ri
    case 0x97:
        subb(readIndirect(r(op & 1)));
        break;
    case 0x98: // SUBB A,Rn
    case 0x99:
    case 0x9A:
    case 0x9B:
    case 0x9C:
    case 0x9D:
    case 0x9E:
    case 0x9F:
        subb(r(op & 7));
        break;

        // Logic: ORL 0x42-0x4F, ANL 0x52-0x5F, XRL 0x62-0x6F -------------------
        LOGIC_GROUP(0x42, |)
        LOGIC_GROUP(0x52, &)
        LOGIC_GROUP(0x62, ^)

    // Boolean (carry) operations ------------------------------------------
    case 0x72: // ORL C,bit
        setCarry(carry() || readBit(b1));
        break;
    case 0xA0: // ORL C,/bit
        setCarry(carry() || !readBit(b1));
        break;
    case 0x82: // ANL C,bit
        setCarry(carry() && readBit(b1));
        break;
    case 0xB0: // ANL C,/bit
        setCarry(carry() && !readBit(b1));
        break;
    case 0xA2: // MOV C,bit
        setCarry(readBit(b1));
        break;
    case 0x92: // MOV bit,C
        writeBit(b1, carry());
        break;
    case 0xB2: // CPL bit
        writeBit(b1, !readBitLatch(b1));
        break;
    case 0xB3: // CPL C
        setCarry(!carry());
        break;
    case 0xC2: // CLR bit
        writeBit(b1, false);
        break;
    case 0xC3: // CLR C
        setCarry(false);
        break;
    case 0xD2: // SETB bit
        writeBit(b1, true);
        break;
    case 0xD3: // SETB C
        setCarry(true);
        break;

    // Data moves ------------------------------------------------------------
    case 0x74: // MOV A,#imm
        setAcc(b1);
        break;
    case 0x75: // MOV direct,#imm
        writeDirect(b1, b2);
        break;
    case 0x76: // MOV @Ri,#imm
    case 0x77:
        writeIndirect(r(op & 1), b1);
        break;
    case 0x78: // MOV Rn,#imm
    case 0x79:
    case 0x7A:
    case 0x7B:
    case 0x7C:
    case 0x7D:
    case 0x7E:
    case 0x7F:
        r(op & 7) = b1;
        break;
    case 0x85: // MOV direct,direct (source first)
        writeDirect(b2, readDirect(b1));
        break;
    case 0x86: // MOV direct,@Ri
    case 0x87:
        writeDirect(b1, readIndirect(r(op & 1)));
        break;
    case 0x88: // MOV direct,Rn
    case 0x89:
    case 0x8A:
    case 0x8B:
    case 0x8C:
    case 0x8D:
    case 0x8E:
    case 0x8F:
        writeDirect(b1, r(op & 7));
        break;
    case 0x90: // MOV DPTR,#imm16
        sfr_[DPH - 0x80] = b1;
        sfr_[DPL - 0x80] = b2;
        break;
    case 0xA6: // MOV @Ri,direct
    case 0xA7:
        writeIndirect(r(op & 1), readDirect(b1));
        break;
    case 0xA8: // MOV Rn,direct
    case 0xA9:
    case 0xAA:
    case 0xAB:
    case 0xAC:
    case 0xAD:
    case 0xAE:
    case 0xAF:
        r(op & 7) = readDirect(b1);
        break;
    case 0xE5: // MOV A,direct
        setAcc(readDirect(b1));
        break;
    case 0xE6: // MOV A,@Ri
    case 0xE7:
        setAcc(readIndirect(r(op & 1)));
        break;
    case 0xE8: // MOV A,Rn
    case 0xE9:
    case 0xEA:
    case 0xEB:
    case 0xEC:
    case 0xED:
    case 0xEE:
    case 0xEF:
        setAcc(r(op & 7));
        break;
    case 0xF5: // MOV direct,A
        writeDirect(b1, a);
        break;
    case 0xF6: // MOV @Ri,A
    case 0xF7:
        writeIndirect(r(op & 1), a);
        break;
    case 0xF8: // MOV Rn,A
    case 0xF9:
    case 0xFA:
    case 0xFB:
    case 0xFC:
    case 0xFD:
    case 0xFE:
    case 0xFF:
        r(op & 7) = a;
        break;
    case 0x83: // MOVC A,@A+PC
        setAcc(code_[static_cast<uint16_t>(next + a)]);
        break;
    case 0x93: // MOVC A,@A+DPTR
        setAcc(code_[static_cast<uint16_t>(dptr() + a)]);
        break;
    case 0xE0: // MOVX A,@DPTR
        setAcc(xdata_[dptr()]);
        break;
    case 0xF0: // MOVX @DPTR,A
        xdata_[dptr()] = a;
        break;
    case 0xE2: // MOVX A,@Ri (P2 is the high byte)
    case 0xE3:
        setAcc(xdata_[static_cast<uint16_t>(sfr_[P2 - 0x80] << 8 | r(op & 1))]);
        break;
    case 0xF2: // MOVX @Ri,A
    case 0xF3:
        xdata_[static_cast<uint16_t>(sfr_[P2 - 0x80] << 8 | r(op & 1))] = a;
        break;
    case 0xC0: { // PUSH direct: SP is incremented first (PUSH SP stores the new SP)
        uint8_t& sp = sfr_[SP - 0x80];
        ++sp;
        writeIndirect(sp, readDirect(b1));
        break;
    }
    case 0xD0: { // POP direct: SP is decremented before the store (POP SP keeps the popped value)
        const uint8_t v = pop();
        writeDirect(b1, v);
        break;
    }
    case 0xC5: { // XCH A,direct
        const uint8_t v = readDirect(b1);
        writeDirect(b1, a);
        setAcc(v);
        break;
    }
    case 0xC6:
    case 0xC7: { // XCH A,@Ri
        const uint8_t addr = r(op & 1);
        const uint8_t v = readIndirect(addr);
        writeIndirect(addr, a);
        setAcc(v);
        break;
    }
    case 0xC8: // XCH A,Rn
    case 0xC9:
    case 0xCA:
    case 0xCB:
    case 0xCC:
    case 0xCD:
    case 0xCE:
    case 0xCF: {
        const uint8_t v = r(op & 7);
        r(op & 7) = a;
        setAcc(v);
        break;
    }
    case 0xD6:
    case 0xD7: { // XCHD A,@Ri: exchange the low nibbles
        const uint8_t addr = r(op & 1);
        const uint8_t v = readIndirect(addr);
        writeIndirect(addr, static_cast<uint8_t>((v & 0xF0) | (a & 0x0F)));
        setAcc(static_cast<uint8_t>((a & 0xF0) | (v & 0x0F)));
        break;
    }
    }
}

#undef LOGIC_GROUP

int Cpu::step() {
    const int cycles = kTiming.cycles[code_[pc_]];
    if (idle_) {
        execute();
        cycles_ += static_cast<uint64_t>(cycles);
        return cycles;
    }
    return cycles + stepWithPeripherals(cycles);
}

uint64_t Cpu::run(uint64_t count) {
    for (uint64_t i = 0; i < count; ++i) {
        const int cycles = kTiming.cycles[code_[pc_]];
        if (idle_) {
            execute();
            cycles_ += static_cast<uint64_t>(cycles);
        } else {
            stepWithPeripherals(cycles);
        }
    }
    return count;
}

// The timers count the instruction's cycles with the control bits as they
// were before it: its own writes take effect at its end. The INT pins are
// sampled in every cycle; as they only change between instructions, the
// first cycle's sample decides, and it is seen by this instruction's poll
// unless the first cycle is also the final one.
int Cpu::stepWithPeripherals(int cycles) {
    interruptDelay_ = false;
    if (cycles > 1) {
        sampleInterruptPins();
        advanceClock(cycles - 1);
    }
    const uint8_t tconSeen = sfr_[TCON - 0x80];
    const uint8_t sconSeen = sfr_[SCON - 0x80];
    if (cycles == 1) sampleInterruptPins();
    advanceClock(1);
    execute();
    cycles_ += static_cast<uint64_t>(cycles);
    const int callCycles =
        interruptDelay_ || (sfr_[IE - 0x80] & 0x80) == 0 ? 0 : pollInterrupts(tconSeen, sconSeen);
    refreshIdle();
    return callCycles;
}

} // namespace sim8051
