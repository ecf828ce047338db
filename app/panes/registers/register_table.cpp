#include "register_table.h"

#include "host_memory.h"
#include "target_protocol.h"

#include <cstdio>
#include <cstring>

namespace {

using G = RegisterGroup;
using K = RegisterKind;

constexpr std::array<RegisterRow, kRegisterRowCount> kRows = {{
    {"R0", G::kDefault, 0, K::kWorking, 0},          {"R1", G::kDefault, 1, K::kWorking, 0},
    {"R2", G::kDefault, 2, K::kWorking, 0},          {"R3", G::kDefault, 3, K::kWorking, 0},
    {"R4", G::kDefault, 4, K::kWorking, 0},          {"R5", G::kDefault, 5, K::kWorking, 0},
    {"R6", G::kDefault, 6, K::kWorking, 0},          {"R7", G::kDefault, 7, K::kWorking, 0},
    {"A", G::kDefault, 0xE0, K::kByte, 0},           {"B", G::kDefault, 0xF0, K::kByte, 0},
    {"SP", G::kDefault, 0x81, K::kByte, 0},          {"DPTR0", G::kDefault, 0x82, K::kWord, 0},
    {"PC $", G::kDefault, 0, K::kProgramCounter, 0}, {"P", G::kPsw, kPswAddress, K::kFlag, 0},
    {"F1", G::kPsw, kPswAddress, K::kFlag, 1},       {"OV", G::kPsw, kPswAddress, K::kFlag, 2},
    {"RS", G::kPsw, kPswAddress, K::kBank, 3},       {"F0", G::kPsw, kPswAddress, K::kFlag, 5},
    {"AC", G::kPsw, kPswAddress, K::kFlag, 6},       {"CY", G::kPsw, kPswAddress, K::kFlag, 7},
    {"P0", G::kSpecial, 0x80, K::kByte, 0},          {"DPL", G::kSpecial, 0x82, K::kByte, 0},
    {"DPH", G::kSpecial, 0x83, K::kByte, 0},         {"DPTR1", G::kSpecial, 0x84, K::kWord, 0},
    {"DPS", G::kSpecial, 0x86, K::kByte, 0},         {"PCON", G::kSpecial, 0x87, K::kByte, 0},
    {"TCON", G::kSpecial, 0x88, K::kByte, 0},        {"TMOD", G::kSpecial, 0x89, K::kByte, 0},
    {"TL0", G::kSpecial, 0x8A, K::kByte, 0},         {"TL1", G::kSpecial, 0x8B, K::kByte, 0},
    {"TH0", G::kSpecial, 0x8C, K::kByte, 0},         {"TH1", G::kSpecial, 0x8D, K::kByte, 0},
    {"CKCON", G::kSpecial, 0x8E, K::kByte, 0},       {"P1", G::kSpecial, 0x90, K::kByte, 0},
    {"WTST", G::kSpecial, 0x92, K::kByte, 0},        {"DPX0", G::kSpecial, 0x93, K::kByte, 0},
    {"DPX1", G::kSpecial, 0x95, K::kByte, 0},        {"SCON", G::kSpecial, 0x98, K::kByte, 0},
    {"SBUF", G::kSpecial, 0x99, K::kByte, 0},        {"P2", G::kSpecial, 0xA0, K::kByte, 0},
    {"IE", G::kSpecial, 0xA8, K::kByte, 0},          {"P3", G::kSpecial, 0xB0, K::kByte, 0},
    {"IP", G::kSpecial, 0xB8, K::kByte, 0},          {"TA", G::kSpecial, 0xC7, K::kByte, 0},
    {"T2CON", G::kSpecial, 0xC8, K::kByte, 0},       {"RLDL", G::kSpecial, 0xCA, K::kByte, 0},
    {"RLDH", G::kSpecial, 0xCB, K::kByte, 0},        {"TL2", G::kSpecial, 0xCC, K::kByte, 0},
    {"TH2", G::kSpecial, 0xCD, K::kByte, 0},         {"PSW", G::kSpecial, kPswAddress, K::kByte, 0},
    {"WDCON", G::kSpecial, 0xD8, K::kByte, 0},       {"ACC", G::kSpecial, 0xE0, K::kByte, 0},
    {"EIE", G::kSpecial, 0xE8, K::kByte, 0},         {"STATUS", G::kSpecial, 0xE9, K::kByte, 0},
    {"MXAX", G::kSpecial, 0xEA, K::kByte, 0},        {"ISPID", G::kSpecial, 0xF1, K::kByte, 0},
    {"ISPADDR", G::kSpecial, 0xF2, K::kWord, 0},     {"ISPDATA", G::kSpecial, 0xF4, K::kByte, 0},
    {"CKCBK", G::kSpecial, 0xF5, K::kByte, 0},       {"DPX0BK", G::kSpecial, 0xF6, K::kByte, 0},
    {"DPX1BK", G::kSpecial, 0xF7, K::kByte, 0},      {"DPSBK", G::kSpecial, 0xF9, K::kByte, 0},
    {"RAMBA16", G::kSpecial, 0xFA, K::kWord, 0},     {"RAMEA16", G::kSpecial, 0xFC, K::kWord, 0},
    {"PHYCONF", G::kSpecial, 0xFE, K::kByte, 0},     {"WCONF", G::kSpecial, 0xFF, K::kByte, 0},
}};

// The bits of a PSW field, not yet shifted into place.
uint32_t FieldMask(const RegisterRow& row) {
    return row.kind == K::kBank ? 0x3 : 0x1;
}

int FindBankRow() {
    for (int i = 0; i < kRegisterRowCount; ++i)
        if (kRows[i].kind == K::kBank) return i;
    return -1;
}

} // namespace

const std::array<RegisterRow, kRegisterRowCount>& RegisterTable() {
    return kRows;
}

const char* RegisterGroupName(RegisterGroup group) {
    switch (group) {
    case G::kDefault:
        return "Default Registers";
    case G::kPsw:
        return "PSW";
    case G::kSpecial:
        return "Speicial Registers";
    }
    return "";
}

std::string RegisterDescription(const RegisterRow& row) {
    if (row.kind == K::kWorking) return "Register " + std::to_string(row.address);
    return std::string("Register ") + row.name;
}

int FindRegisterRow(const std::string& name) {
    for (int i = 0; i < kRegisterRowCount; ++i)
        if (name == kRows[i].name) return i;
    return -1;
}

int BankRow() {
    static const int row = FindBankRow();
    return row;
}

RegisterValues ReadRegisterValues(const std::array<uint8_t, 0x100>& image, uint16_t pc) {
    const uint8_t psw = image[kPswAddress];
    const unsigned bank = (psw >> 3) & 0x3;
    RegisterValues values{};
    for (int i = 0; i < kRegisterRowCount; ++i) {
        const RegisterRow& row = kRows[i];
        switch (row.kind) {
        case K::kWorking:
            values[i] = image[bank * 8 + row.address];
            break;
        case K::kByte:
            values[i] = image[row.address];
            break;
        case K::kWord:
            values[i] = image[row.address] | uint32_t(image[row.address + 1]) << 8;
            break;
        case K::kProgramCounter:
            values[i] = pc;
            break;
        case K::kFlag:
        case K::kBank:
            values[i] = (psw >> row.bit) & FieldMask(row);
            break;
        }
    }
    return values;
}

std::string RegisterValueText(const RegisterRow& row, uint32_t value) {
    char text[16];
    switch (row.kind) {
    case K::kWorking:
    case K::kByte:
        std::snprintf(text, sizeof text, "0x%.2x", unsigned(value));
        break;
    case K::kWord:
    case K::kProgramCounter:
        std::snprintf(text, sizeof text, "0x%.4x", unsigned(value));
        break;
    case K::kFlag:
    case K::kBank:
        std::snprintf(text, sizeof text, "%d", int(value));
        break;
    }
    return text;
}

RegisterWrite PlanRegisterWrite(const RegisterRow& row, uint32_t value, int shownBank,
                                uint8_t psw) {
    RegisterWrite write;
    switch (row.kind) {
    case K::kWorking:
        write.address = uint32_t(shownBank & 0x3) * 8 + row.address;
        write.value = value & 0xFF;
        break;
    case K::kByte:
        write.address = row.address;
        write.value = value & 0xFF;
        break;
    case K::kWord:
        write.address = row.address;
        write.value = value & 0xFFFF;
        write.size = 2;
        break;
    case K::kProgramCounter:
        write.kind = RegisterWrite::Kind::kProgramCounter;
        write.value = value & 0xFFFF;
        break;
    case K::kFlag:
    case K::kBank: {
        const uint32_t mask = FieldMask(row) << row.bit;
        write.address = kPswAddress;
        write.value = ((psw & ~mask) | ((value << row.bit) & mask)) & 0xFF;
        break;
    }
    }
    return write;
}

int WriteRegister(const std::string& name, uint32_t value, int shownBank) {
    const int index = FindRegisterRow(name);
    if (index < 0) return 0;
    const RegisterWrite write =
        PlanRegisterWrite(kRows[index], value, shownBank, g_InternalDataImage[kPswAddress]);
    if (write.kind == RegisterWrite::Kind::kProgramCounter) return SetPc(uint16_t(write.value));
    // The address decides between internal data and the SFRs.
    return WriteTargetValue(write.address, write.value, write.size, kSpaceInternalData);
}
