// The register pane's rows: what each shows, how its value is read from the
// host copies of target memory and how an edited value is written back. One
// table drives building the grid, every refresh and every write; nothing
// here needs a window.
#pragma once

#include <array>
#include <cstdint>
#include <string>

enum class RegisterGroup {
    kDefault, // "Default Registers"
    kPsw,     // "PSW", inside "Default Registers"
    kSpecial, // "Speicial Registers"
};

enum class RegisterKind {
    kWorking,        // R0-R7 of the bank the PSW selects; `address` is n
    kByte,           // one SFR byte
    kWord,           // an SFR pair, low byte at `address`
    kProgramCounter, // read from and written to the adapter
    kFlag,           // one PSW bit, `bit`
    kBank,           // the PSW's two register-bank bits, from `bit`
};

struct RegisterRow {
    const char* name;
    RegisterGroup group;
    uint8_t address;
    RegisterKind kind;
    uint8_t bit; // lowest PSW bit of a flag or the bank field
};

constexpr int kRegisterRowCount = 66;
constexpr uint8_t kPswAddress = 0xD0;

// The rows in display order: R0-R7, A, B, SP, DPTR0, "PC $", the PSW group
// (P, F1, OV, RS, F0, AC, CY), then the 46 special function registers.
const std::array<RegisterRow, kRegisterRowCount>& RegisterTable();

// The caption of a group.
const char* RegisterGroupName(RegisterGroup group);
// The row's description: "Register " and its name ("Register 0" for R0).
std::string RegisterDescription(const RegisterRow& row);
// The row of a name, -1 when none has it.
int FindRegisterRow(const std::string& name);
// The row of the bank field (RS).
int BankRow();

// One value per row of the table.
using RegisterValues = std::array<uint32_t, kRegisterRowCount>;

// Every row's value from the 256-byte internal data and SFR copy and the
// program counter: R0-R7 from the bank the copy's PSW selects, words low
// byte first.
RegisterValues ReadRegisterValues(const std::array<uint8_t, 0x100>& image, uint16_t pc);

// The row's value text: "0x%.2x" for bytes, "0x%.4x" for words and the
// program counter, "%d" for the PSW fields.
std::string RegisterValueText(const RegisterRow& row, uint32_t value);

// What an edit of a row sends to the target.
struct RegisterWrite {
    enum class Kind { kMemory, kProgramCounter } kind = Kind::kMemory;
    uint32_t address = 0; // internal data below 0x80, else SFR
    uint32_t value = 0;
    int size = 1; // bytes, 1 or 2
};

// The write of `value` into `row`. Working registers go to the bank shown
// last (`shownBank`, not re-read). A PSW field takes as many low bits of the
// value as it is wide, in place of its bits of `psw`; the other bits stay.
RegisterWrite PlanRegisterWrite(const RegisterRow& row, uint32_t value, int shownBank, uint8_t psw);

// Writes the register `name` to the target, the PSW's other bits taken from
// the host copy. 1 when it was sent, 0 after a link failure (the message was
// shown) or for a name no row has.
int WriteRegister(const std::string& name, uint32_t value, int shownBank);
