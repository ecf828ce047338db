#include "run_lookups.h"

#include "switch_helpers.h"
#include "symbol_lookup.h"

#include <cstdlib>
#include <memory>
#include <mutex>

namespace {

// Replaced whole, so a worker keeps the set it started a lookup with.
std::mutex g_lookupsMutex;
std::shared_ptr<const RunControlLookups> g_lookups = std::make_shared<RunControlLookups>();

std::shared_ptr<const RunControlLookups> Current() {
    std::lock_guard<std::mutex> lock(g_lookupsMutex);
    return g_lookups;
}

// The address a call's text names: the disassembler's label ("LCALL  L0CB5")
// or a hexadecimal number ("ACALL 0050H").
bool CallTarget(const std::string& text, uint16_t& target) {
    size_t at = text.find("CALL");
    if (at == std::string::npos) return false;
    at = text.find_first_not_of(' ', at + 4);
    if (at == std::string::npos) return false;
    if (text[at] == 'L') ++at;
    const char* digits = text.c_str() + at;
    char* end = nullptr;
    const unsigned long value = std::strtoul(digits, &end, 16);
    if (end == digits || value > 0xFFFF) return false;
    target = uint16_t(value);
    return true;
}

uint32_t SwitchHelperEndAt(uint32_t address) {
    const auto lookups = Current();
    return lookups->switchHelperEnd ? lookups->switchHelperEnd(address) : SwitchHelperEnd(address);
}

} // namespace

void SetRunControlLookups(RunControlLookups lookups) {
    auto replacement = std::make_shared<const RunControlLookups>(std::move(lookups));
    std::lock_guard<std::mutex> lock(g_lookupsMutex);
    g_lookups = std::move(replacement);
}

std::string LineOfAddress(uint32_t address) {
    const auto lookups = Current();
    return lookups->lineOfAddress ? lookups->lineOfAddress(address) : GetLineOfAddress(address);
}

uint32_t AddressOfLine(const std::string& key) {
    const auto lookups = Current();
    return lookups->addressOfLine ? lookups->addressOfLine(key) : GetAddressOfLine(key);
}

std::string DisassemblyText(uint32_t address) {
    const auto lookups = Current();
    return lookups->disassemblyText ? lookups->disassemblyText(address) : std::string();
}

bool ReturnAddressOfCall(uint16_t pc, uint16_t& returnAddress) {
    const std::string text = DisassemblyText(pc);
    if (text.find("LCALL") != std::string::npos) {
        returnAddress = uint16_t(pc + 3);
        return true;
    }
    if (text.find("ACALL") != std::string::npos) {
        returnAddress = uint16_t(pc + 2);
        return true;
    }
    return false;
}

const SymbolInfo* CodeSymbolOfLine(const std::string& file, int line) {
    const auto lookups = Current();
    return lookups->codeSymbolOfLine ? lookups->codeSymbolOfLine(file, line) : nullptr;
}

bool SwitchHelperOfCall(uint16_t pc, CodeRange& helper) {
    const std::string text = DisassemblyText(pc);
    uint16_t target = 0;
    if (text.find("LCALL") == std::string::npos && text.find("ACALL") == std::string::npos)
        return false;
    if (!CallTarget(text, target)) return false;
    const uint32_t end = SwitchHelperEndAt(target);
    if (end <= target) return false;
    helper = {target, end};
    return true;
}
