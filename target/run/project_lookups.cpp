#include "project_lookups.h"

#include "project_loader.h"

#include <strings.h>

RunControlLookups ProjectLookups(const CProjectLoader& loader) {
    RunControlLookups lookups;
    const CProjectLoader* project = &loader;
    lookups.disassemblyText = [project](uint32_t address) -> std::string {
        if (!project->m_pDisasmLoader) return {};
        const auto& instructions = project->m_pDisasmLoader->m_mapInstructions;
        auto it = instructions.find(address);
        return it == instructions.end() ? std::string() : it->second;
    };
    lookups.codeSymbolOfLine = [project](const std::string& file, int line) -> const SymbolInfo* {
        for (const auto& source : project->m_listSourceLoaders) {
            if (strcasecmp(source->m_strName.c_str(), file.c_str()) != 0) continue;
            if (line < 1 || static_cast<size_t>(line) > source->m_lines.size()) return nullptr;
            return source->m_lines[line - 1].m_pFunctionSymbol;
        }
        return nullptr;
    };
    return lookups;
}
