// 8051 disassembler of an Intel HEX code image.
//
// Code flow: decoding follows the program from the reset vector 0000H and
// from the interrupt vectors 0003H 000BH 0013H 001BH 0023H 002BH that the
// image holds, to the code target of every jump and call (LJMP, AJMP, SJMP,
// conditional jumps, CJNE, DJNZ, JB, JNB, JBC, LCALL, ACALL) and to the next
// instruction, except after RET, RETI, LJMP, AJMP, SJMP and JMP @A+DPTR.
// Flow stops at an address outside the image, at the undefined opcode 0xA5
// and at an instruction with a byte the image does not hold. An interrupt
// vector is not followed where the linker placed code over it: when it lies
// inside an instruction reached from another vector, or when an instruction
// reached from it and one reached from 0000H (or a hint's code start, or
// their case tables, below) overlap with different starts.
// Every instruction flow reaches is written, also where two of them overlap.
//
// Hints (flow_hints.h) from the program's linker map add to this: flow also
// starts at every code start they name, as 0000H does, and a call (LCALL,
// ACALL) of a switch helper they name does not go on after itself: the case
// table that follows the call is read (code_flow.h: entries of the case's
// code address, high byte first, and its value, up to a 0000H address and
// the default's address) and flow goes on at every case and the default.
// The table is written as data lines: one per entry (two, the address and
// the value, when the entry is longer than 4 bytes) and one for the 0000H
// address with the default's. A table that runs out of the image or names a
// place holding no instruction is not read: the bytes after such a call, up
// to the next instruction reached, are data lines of up to 4 bytes.
//
// Sweep: every run of consecutive present bytes that no reached instruction
// or case table covers is decoded linearly from the run's first byte, so nothing present is
// left out; absent bytes are never decoded. An instruction that would run
// past the end of its run (the end of the present bytes or the start of a
// reached instruction), and the undefined opcode 0xA5, become a data line
// holding the bytes concerned. An image that holds no vector is thus swept
// linearly as a whole. Instruction lengths come from the shared opcode table.
//
// Output: one line per instruction, data line and label, in address order,
// each "AAAA TEXT\n": the address as 4 upper-case hex digits, one blank, the
// text. No tabs, no trailing blanks, LF line ends.
//
// Instruction text: the instruction's bytes as one word of upper-case hex
// digits (2 to 6 characters), one blank, the mnemonic; when there are
// operands, the mnemonic is padded with blanks to 6 characters and followed
// by one more blank, then the operands separated by "," (no blanks).
//     0800 12080A LCALL  L080A
//     0803 7401 MOV    A,#01H
//     0805 22 RET
// An instruction text never holds ":" or the word LABEL.
//
// Data line: the bytes word, "DB", and each byte as an operand:
//     0807 A5 DB     0A5H
//     0FFE 02F0 DB     02H,0F0H
//
// Operands, Intel style:
//     registers      A AB C DPTR @DPTR @A+DPTR @A+PC R0..R7 @R0 @R1
//     numbers        hex with "H", 2 digits (4 for 16-bit values), a leading
//                    0 when the first digit is a letter: 30H 0FFH 0F000H
//     immediates     "#" and the number: #01H #1234H
//     direct         SFR name for the standard 8051 SFRs (P0 SP DPL DPH
//                    PCON TCON TMOD TL0 TL1 TH0 TH1 P1 SCON SBUF P2 IE P3 IP
//                    PSW ACC B), else the number: 30H 0C8H
//     bit            "<byte>.<n>": RAM bits as 20H.0-2FH.7, SFR bits with
//                    the SFR's direct text: ACC.7 P1.0 0C8H.1; "/" before
//                    the complemented bit of ORL/ANL C,/bit
//     code target    (SJMP, conditional jumps, CJNE, DJNZ, AJMP, ACALL,
//                    LJMP, LCALL) the label name when the target has a label
//                    line, else the address as a 16-bit number: L080A 0F000H
//
// Label line: "; LABEL Lxxxx" at the address of an instruction or data line
// that some decoded code target or case table points at, written just before that line;
// the label name is its third blank-separated word. Targets that point
// outside the image, into a gap, or into the middle of an instruction get no
// label.
#pragma once

#include "flow_hints.h"
#include "intel_hex.h"

#include <cstdint>
#include <string>
#include <vector>

namespace disasm8051 {

struct ListingLine {
    enum class Kind { Label, Instruction, Data };
    Kind kind;
    uint16_t address;
    std::string text; // the part after the address and its blank
};

// Disassembles every present byte of the image.
std::vector<ListingLine> disassemble(const intelhex::Image& image, const FlowHints& hints = {});

// The output file's contents for these lines.
std::string renderListing(const std::vector<ListingLine>& lines);

} // namespace disasm8051
