// libFuzzer target: arbitrary text read as a module's assembler source
// (".SRC"), as an assembler listing against a small linker map, as a C
// listing's heading and as an assembler source's NAME. The .SRC
// translation only renumbers source-line records, each to the C line its
// table gives, and keeps every address with a position in the same file; the
// assembler listing only sets the type words of existing records.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "fuzz_sample_map.h"
#include "project_modules.h"
#include "src_listing_reader.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

std::string FileOfKey(const std::string& key) {
    return key.substr(0, key.find(':'));
}

bool IsComment(const TextLine& line) {
    return line.m_strText.find("; SOURCE LINE #") != std::string::npos;
}

void CheckSourceLineTable(const Loader& src, const std::vector<int32_t>& table) {
    Require(table.size() == src.m_lines.size());
    // A line between comments carries the line of the comment above it or of
    // the comment below it (-1 above: no comment there).
    std::vector<int32_t> below(table.size() + 1, kNoSourceLine);
    std::vector<bool> hasBelow(table.size() + 1, false);
    for (size_t i = table.size(); i-- > 0;) {
        const bool comment = IsComment(src.m_lines[i]);
        below[i] = comment ? table[i] : below[i + 1];
        hasBelow[i] = comment || hasBelow[i + 1];
    }
    int32_t above = kNoSourceLine;
    for (size_t i = 0; i < table.size(); ++i) {
        if (IsComment(src.m_lines[i])) {
            above = table[i];
            continue;
        }
        Require(table[i] == above || (hasBelow[i] && table[i] == below[i]));
    }
}

void CheckSrcTranslation(const Loader& src) {
    auto map = fuzz_sample::ReadSampleMap();
    CLineInfoInModule* module = FindModuleLineInfo(map->loader, "MAIN");
    Require(module && !module->m_lines.empty());
    const std::vector<CLineInfoInMapFormat> before(module->m_lines.begin(), module->m_lines.end());
    std::map<uint32_t, std::string> keysBefore;
    for (const CLineInfoInMapFormat& record : before)
        keysBefore[record.m_dwAddress] = map->table.GetLineOfAddress(record.m_dwAddress);
    const size_t addressPositions = map->table.AddressPositionCount();
    const size_t linePositions = map->table.LinePositionCount();

    const std::vector<int32_t> cLines = SourceLineTable(src);
    CheckSourceLineTable(src, cLines);
    ParseSrcFile(src, module, map->table);

    Require(module->m_lines.size() == before.size());
    std::map<uint32_t, uint32_t> lastLineAt; // address -> C line of its last translated record
    for (size_t i = 0; i < before.size(); ++i) {
        const CLineInfoInMapFormat& was = before[i];
        const CLineInfoInMapFormat& now = module->m_lines[i];
        Require(now.m_dwAddress == was.m_dwAddress && now.m_nKind == was.m_nKind);
        const bool translated =
            was.m_nKind == kLineSource && was.m_nLine >= 1 && was.m_nLine <= cLines.size();
        if (!translated) {
            Require(now.m_nLine == was.m_nLine);
            continue;
        }
        Require(now.m_nLine == static_cast<uint32_t>(cLines[was.m_nLine - 1]));
        lastLineAt[now.m_dwAddress] = now.m_nLine;
    }
    // Every address keeps one position, in its own file, at its last record's C line.
    Require(map->table.AddressPositionCount() == addressPositions);
    Require(map->table.LinePositionCount() <= linePositions);
    for (const auto& [address, key] : keysBefore) {
        const std::string now = map->table.GetLineOfAddress(address);
        Require(FileOfKey(now) == FileOfKey(key));
        const auto last = lastLineAt.find(address);
        if (last != lastLineAt.end() && !FileOfKey(key).empty())
            Require(now ==
                    FileOfKey(key) + ":" + std::to_string(static_cast<int32_t>(last->second)));
    }
    ParseSrcFile(src, nullptr, map->table);
}

struct RecordState {
    const SymbolInfo* record;
    std::string name, type;
    uint32_t address;
    size_t children;
};

std::vector<RecordState> SnapshotModules(const MapLoader& map) {
    std::vector<RecordState> states;
    for (const auto& module : map.m_listModules) {
        states.push_back({module.get(), module->m_strName, module->m_strType, module->m_dwAddress,
                          module->m_children.size()});
        for (const auto& child : module->m_children)
            states.push_back({child.get(), child->m_strName, child->m_strType, child->m_dwAddress,
                              child->m_children.size()});
    }
    return states;
}

void CheckStartupListing(const Loader& listing, const std::string& text) {
    auto map = fuzz_sample::ReadSampleMap();
    const std::vector<RecordState> before = SnapshotModules(map->loader);
    Require(map->loader.m_listModules.size() == 3);
    const uint32_t startModule = FindStartupModuleAddress(map->loader, "?C_STARTUP");
    constexpr uint32_t kUnset = 0xDEADBEEF;
    uint32_t startupAddress = kUnset;
    Require(ParseStartupListing(listing, map->loader, startupAddress) == 1);
    Require(startupAddress == kUnset || startupAddress == startModule);

    const std::vector<RecordState> after = SnapshotModules(map->loader);
    Require(after.size() == before.size());
    for (size_t i = 0; i < after.size(); ++i) {
        Require(after[i].record == before[i].record && after[i].name == before[i].name &&
                after[i].address == before[i].address && after[i].children == before[i].children);
        if (after[i].type != before[i].type)
            Require(after[i].type.find(' ') == std::string::npos &&
                    text.find(after[i].type) != std::string::npos);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Loader loader;
    loader.AssignText("FUZZ.SRC", text);
    SplitTextLines(loader);
    CheckSrcTranslation(loader);
    CheckStartupListing(loader, text);
    // Read as a C listing's heading: the directive's file ends before its ")";
    // without the directive the path is left alone.
    std::string srcPath = "unset";
    if (CompiledThroughSrc(loader, srcPath))
        Require(srcPath.find(')') == std::string::npos);
    else
        Require(srcPath == "unset");
    // Read as an assembler source: a module name is upper case and whole.
    const std::string name = AssemblerModuleName(loader);
    for (char c : name)
        Require(c != ' ' && c != '\t' && !(c >= 'a' && c <= 'z'));
    return 0;
}
