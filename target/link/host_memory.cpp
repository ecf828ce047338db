#include "host_memory.h"

#include "debugger_views.h"
#include "target_flags.h"
#include "target_messages.h"
#include "target_protocol.h"

std::array<uint8_t, 0x100> g_InternalDataImage{};
std::array<uint8_t, 0x10000> g_ExternalDataImage{};
std::array<uint8_t, 0x10000> g_CodeFlashImage{};
std::array<uint8_t, 0x100> g_DataFlashBuffer{};

namespace {

constexpr uint32_t kLastXdataAddress = 0xFFFF;

} // namespace

void ReadMemoryImages() {
    ReadMemory(0x00, g_InternalDataImage.data(), 0x80, kSpaceInternalData);
    ReadMemory(0x80, g_InternalDataImage.data() + 0x80, 0x80, kSpaceSfr);
    if (g_bHexOnly) return;
    const uint32_t low = g_dwXdataLow;
    const uint32_t high = g_dwXdataHigh > kLastXdataAddress ? kLastXdataAddress : g_dwXdataHigh;
    if (low > kLastXdataAddress || high < low) return;
    ReadMemory(low, g_ExternalDataImage.data() + low, high - low + 1, kSpaceExternalData);
}

void UpdateDebugWindows() {
    LinkErrorScope oneMessage;
    ReadMemoryImages();
    DebuggerPanes* panes = GetDebuggerPanes();
    if (!panes) return;
    panes->UpdateRegisterWnd();
    panes->FillVariables();
    panes->FillLocalVariables();
    panes->UpdateGlobalVariableValues();
    panes->RefreshIDataWindow();
    panes->UpdateSymbolWnd();
}
