#include "src_listing_reader.h"

#include <cctype>

#include "line_tokenizer.h"

namespace {

constexpr std::string_view kSourceLineMark = "; SOURCE LINE #";
constexpr std::string_view kAsmTableHeading = "N A M E";
constexpr std::string_view kAsmCodeHeading = "LOC";
constexpr std::string_view kAsmTableEnd = "ASSEMBLY";
constexpr std::string_view kVariableNote = ";---- Variable";
constexpr std::string_view kPageHeading = "C51 COMPILER";
constexpr std::string_view kStartupModuleName = "?C_STARTUP";

bool IsNameStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}

// The C line of a "; SOURCE LINE #" comment: its fifth blank-separated word.
int32_t CommentLine(std::string_view text) {
    LineTokenizer tokens(text);
    for (int word = 0; word < 4; ++word)
        if (!tokens.Next(" ")) return 0;
    const auto number = tokens.Next(" \t\n");
    return number ? ParseDecimalNumber(*number) : 0;
}

SymbolInfo* FindIn(const SymbolInfo& record, std::string_view name) {
    for (const auto& child : record.m_children) {
        if (child->m_strName == name) return child.get();
        for (const auto& grandchild : child->m_children)
            if (grandchild->m_strName == name) return grandchild.get();
    }
    return nullptr;
}

} // namespace

std::vector<int32_t> SourceLineTable(const Loader& src) {
    std::vector<int32_t> table(src.m_lines.size(), kNoSourceLine);
    int32_t current = kNoSourceLine;
    for (size_t i = 0; i < src.m_lines.size(); ++i) {
        const std::string& text = src.m_lines[i].m_strText;
        if (ContainsText(text, kSourceLineMark)) current = CommentLine(text);
        table[i] = current;
    }
    return table;
}

void ParseSrcFile(const Loader& src, CLineInfoInModule* module, CSymbolTable& table) {
    if (!module) return;
    const std::vector<int32_t> cLines = SourceLineTable(src);
    for (CLineInfoInMapFormat& record : module->m_lines) {
        if (record.m_nKind != kLineSource) continue;
        if (record.m_nLine < 1 || record.m_nLine > cLines.size()) continue;
        const int32_t cLine = cLines[record.m_nLine - 1];
        const std::string oldKey = table.GetLineOfAddress(record.m_dwAddress);
        const size_t colon = oldKey.find(':');
        const std::string file = oldKey.substr(0, colon);
        if (!file.empty()) {
            const std::string newKey = file + ":" + std::to_string(cLine);
            table.SetLineOfAddress(record.m_dwAddress, newKey);
            table.RenameLineKey(oldKey, newKey);
        }
        record.m_nLine = static_cast<uint32_t>(cLine);
    }
}

uint32_t FindStartupModuleAddress(const MapLoader& map, std::string_view prefix) {
    for (const auto& module : map.m_listModules)
        if (std::string_view(module->m_strName).substr(0, prefix.size()) == prefix)
            return module->m_dwAddress;
    return 0;
}

SymbolInfo* FindSymbolRecord(const MapLoader& map, std::string_view name) {
    for (const auto& module : map.m_listModules) {
        if (module->m_strName == name) return module.get();
        if (SymbolInfo* found = FindIn(*module, name)) return found;
    }
    return nullptr;
}

int ParseStartupListing(const Loader& listing, const MapLoader& map, uint32_t& startupAddress) {
    size_t index = 0;
    for (; index < listing.m_lines.size(); ++index) {
        const std::string& text = listing.m_lines[index].m_strText;
        if (ContainsText(text, kAsmTableHeading)) break;
        if (ContainsText(text, kAsmCodeHeading)) {
            startupAddress = FindStartupModuleAddress(map, kStartupModuleName);
            return 1;
        }
    }
    // The table starts after the heading and the rule under it.
    for (index += 2; index < listing.m_lines.size(); ++index) {
        const std::string& text = listing.m_lines[index].m_strText;
        if (ContainsText(text, kAsmTableEnd)) break;
        if (text.empty() || ContainsText(text, kVariableNote) || ContainsText(text, kPageHeading))
            continue;
        LineTokenizer tokens(text);
        const auto nameToken = tokens.Next(" .");
        if (!nameToken || !IsNameStart(nameToken->front())) continue;
        std::string name(*nameToken);
        ApplyNameRule(name);
        SymbolInfo* record = FindSymbolRecord(map, name);
        if (!record) continue;
        std::optional<std::string_view> token;
        while ((token = tokens.Next(" ")) && *token == ".") {}
        if (!token) continue;
        if (const auto kind = tokens.Next(" ")) SetTextBuffer(record, std::string(*kind).c_str());
    }
    return 1;
}
