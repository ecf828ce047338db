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
constexpr std::string_view kInvocation = "COMPILER INVOKED BY:";
constexpr std::string_view kSrcDirective = "SRC";

// A line that starts a segment of the .SRC text ("\tRSEG  ?PR?MAIN?MAIN").
bool StartsSegment(std::string_view text) {
    LineTokenizer tokens(text);
    const auto word = tokens.Next(" \t");
    return word && (*word == "RSEG" || *word == "rseg");
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f';
}

// The compiler's command line as the listing's heading writes it, with its
// continuation lines joined on.
std::string InvocationText(const Loader& listing) {
    const std::vector<TextLine>& lines = listing.m_lines;
    for (size_t i = 0; i < lines.size(); ++i) {
        const size_t at = lines[i].m_strText.find(kInvocation);
        if (at == std::string::npos) continue;
        std::string text = lines[i].m_strText.substr(at + kInvocation.size());
        for (size_t next = i + 1; next < lines.size(); ++next) {
            const std::string& more = lines[next].m_strText;
            const size_t first = more.find_first_not_of(" \t");
            if (first == std::string::npos || more[first] != '-') break;
            text += more.substr(first + 1);
        }
        return text;
    }
    return std::string();
}

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
    size_t waitingFrom = 0; // the lines from here on wait for the next comment
    bool waiting = true;
    for (size_t i = 0; i < src.m_lines.size(); ++i) {
        const std::string& text = src.m_lines[i].m_strText;
        if (ContainsText(text, kSourceLineMark)) {
            current = CommentLine(text);
            if (waiting)
                for (size_t k = waitingFrom; k < i; ++k)
                    table[k] = current;
            waiting = false;
        } else if (StartsSegment(text) && !waiting) {
            waiting = true;
            waitingFrom = i;
        }
        table[i] = current;
    }
    return table;
}

bool CompiledThroughSrc(const Loader& listing, std::string& srcPath) {
    const std::string text = InvocationText(listing);
    for (size_t at = text.find(kSrcDirective); at != std::string::npos;
         at = text.find(kSrcDirective, at + 1)) {
        const size_t end = at + kSrcDirective.size();
        if (at > 0 && !IsBlank(text[at - 1])) continue;
        if (end < text.size() && !IsBlank(text[end]) && text[end] != '(') continue;
        srcPath.clear();
        if (end < text.size() && text[end] == '(') {
            const size_t close = text.find(')', end);
            srcPath = text.substr(end + 1,
                                  close == std::string::npos ? std::string::npos : close - end - 1);
        }
        return true;
    }
    return false;
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
