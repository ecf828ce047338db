// Texts of 8051 operands in Intel assembler style.
#pragma once

#include <cstdint>
#include <string>

namespace disasm8051 {

// "30H", "0FFH": two hex digits and "H", with a leading 0 when the first
// digit is a letter.
std::string hexByte(uint8_t value);

// "0800H", "0F000H": four hex digits and "H", same leading 0 rule.
std::string hexWord(uint16_t value);

// A direct address: the standard SFR name for P0 SP DPL DPH PCON TCON TMOD
// TL0 TL1 TH0 TH1 P1 SCON SBUF P2 IE P3 IP PSW ACC B, otherwise hexByte.
std::string directText(uint8_t address);

// A bit address: 0x00-0x7F as "<RAM byte 20H-2FH>.<n>", 0x80-0xFF as
// "<directText of the SFR byte>.<n>" ("ACC.7", "0C8H.1").
std::string bitText(uint8_t bitAddress);

} // namespace disasm8051
