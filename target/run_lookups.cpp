#include "run_lookups.h"

#include "symbol_lookup.h"

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
