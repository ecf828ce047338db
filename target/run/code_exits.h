// Where control can leave a piece of code, read from its disassembly: the
// texts "BYTES MNEMONIC OPERANDS" the disassembler writes for each address
// (DisassemblyText), decoded through the opcode table.
#pragma once

#include "run_lookups.h"

#include <cstdint>
#include <vector>

// The addresses, low to high, of the instructions of `code` that can hand
// control outside it: JMP @A+DPTR, RET and RETI, a jump or call (conditional
// ones too) whose target lies outside, and the last instruction when it can
// go on past the end. False when the disassembly does not cover the code: no
// instruction at its start, a text whose bytes are no instruction of that
// mnemonic and length, a jump into the code that lands where no instruction
// begins, or code that goes on where the texts end before the end of `code`
// (the texts may end early when nothing jumps or runs there).
bool ExitsOfCode(const CodeRange& code, std::vector<uint16_t>& exits);
