#include "typed_values.h"

#include "debugger_views.h"
#include "host_memory.h"
#include "symbol_lookup.h"
#include "value_texts.h"

#include <cstdio>

std::vector<std::unique_ptr<CInfo>> g_VariableInfoList;
int g_nVariableInfoCount = 0;

namespace {

// The host image of a memory space and its length; null for a space without one.
uint8_t* ImageOfSpace(uint32_t space, size_t& length) {
    switch (space) {
    case kMemSpaceData:
    case kMemSpaceSfr:
        length = g_InternalDataImage.size();
        return g_InternalDataImage.data();
    case kMemSpaceXdata:
        length = g_ExternalDataImage.size();
        return g_ExternalDataImage.data();
    case kMemSpaceCode:
        length = g_CodeFlashImage.size();
        return g_CodeFlashImage.data();
    default:
        length = 0;
        return nullptr;
    }
}

// Offset from the address of the byte of weight 256^index.
uint32_t OffsetOfByte(uint32_t space, int size, int index) {
    if (space == kMemSpaceSfr && size == 2) return uint32_t(index);
    return uint32_t(size - 1 - index);
}

std::string ValueText(const char* format, uint32_t value) {
    char text[16];
    if (format[1] == 'u')
        std::snprintf(text, sizeof text, format, unsigned(value));
    else
        std::snprintf(text, sizeof text, format, int(int32_t(value)));
    return text;
}

} // namespace

uint32_t ReadTypedValue(uint32_t space, int size, uint32_t address) {
    size_t length = 0;
    const uint8_t* image = ImageOfSpace(space, length);
    if (!image) return 0;
    uint32_t value = 0;
    for (int index = 0; index < size; ++index) {
        const uint64_t at = uint64_t(address) + OffsetOfByte(space, size, index);
        if (at < length) value |= uint32_t(image[at]) << (8 * index);
    }
    return value;
}

void PatchTypedValue(uint32_t space, int size, uint32_t address, uint32_t value) {
    if (space == kMemSpaceCode) return; // code memory takes no value writes
    size_t length = 0;
    uint8_t* image = ImageOfSpace(space, length);
    if (!image) return;
    for (int index = 0; index < size; ++index) {
        const uint64_t at = uint64_t(address) + OffsetOfByte(space, size, index);
        if (at < length) image[at] = uint8_t(value >> (8 * index));
    }
}

std::optional<std::string> GenericPointerValueText(const SymbolInfo& symbol) {
    if (!IsGenericPointer(symbol.m_strType, symbol.m_nSize)) return std::nullopt;
    return GenericPointerText(
        ReadTypedValue(symbol.m_nSpace, kGenericPointerBytes, symbol.m_dwAddress));
}

void AddVariableInfo(const std::string& name, const std::string& value, const std::string& type,
                     const std::string& address, const std::string& kind) {
    g_VariableInfoList.push_back(std::make_unique<CInfo>(CInfo{name, value, type, address, kind}));
    ++g_nVariableInfoCount;
}

void ClearVariableInfo() {
    g_VariableInfoList.clear();
    g_nVariableInfoCount = 0;
}

void FormatSymbolValue(const char* name) {
    if (!name || !g_pSymbolDatabase) return;
    const PcDisplay* display = GetPcDisplay();
    uint16_t pc = 0;
    if (!display || !display->GetCurrentPc(pc)) return;

    const SymbolInfo* symbol = nullptr;
    if (const CSymbolStruct* function = FindFunctionOfAddress(pc))
        symbol = FindSymbolInRange(function, name, pc);
    if (!symbol) symbol = LookupSymbol(name, kSelectData);
    if (!symbol) return;

    const int width = ReadWidthOfType(symbol->m_strType);
    const uint32_t value = ReadTypedValue(symbol->m_nSpace, width, symbol->m_dwAddress);
    AddVariableInfo(symbol->m_strName,
                    GenericPointerValueText(*symbol).value_or(ValueText("%d", value)),
                    symbol->m_strType, InfoAddressText(symbol->m_dwAddress), symbol->m_strKind);
}

CInfo* FindVariableValue(const std::string& name) {
    if (name.empty()) return nullptr;
    CInfo* record = nullptr;
    for (const auto& info : g_VariableInfoList) {
        if (info->m_strName == name) {
            record = info.get();
            break;
        }
    }
    if (!record) return nullptr;
    const SymbolInfo* symbol = LookupSymbol(name, kSelectData);
    if (!symbol) return nullptr;
    const int width = ReadWidthOfType(symbol->m_strType);
    const uint32_t value = ReadTypedValue(symbol->m_nSpace, width, symbol->m_dwAddress);
    record->m_strValue =
        GenericPointerValueText(*symbol).value_or(ValueText(width == 4 ? "%u" : "%d", value));
    return record;
}

void RefreshVariableRow(VariableRows& rows, int row, const std::string& name) {
    if (name.empty()) return;
    const CInfo* record = FindVariableValue(name);
    if (!record) return;
    rows.SetItemText(row, variable_column::kValue, record->m_strValue);
    rows.SetItemText(row, variable_column::kType, record->m_strType);
    rows.SetItemText(row, variable_column::kAddress, record->m_strAddress);
}
