#include "project_modules.h"

#include <cctype>
#include <vector>

#include "path_resolver.h"

namespace {

// The blank-separated words of `text` up to its comment (";").
std::vector<std::string> WordsBeforeComment(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        if (c == ';') break;
        if (c == ' ' || c == '\t' || c == '\r' || c == '\f') {
            if (!word.empty()) words.push_back(std::move(word));
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.empty()) words.push_back(std::move(word));
    return words;
}

// A word of a listing's columns before the source text: the line number, an
// include level ("+1") or an address.
bool IsListingColumn(const std::string& word) {
    for (char c : word)
        if (!std::isxdigit(static_cast<unsigned char>(c)) && c != '+' && c != '=') return false;
    return true;
}

} // namespace

ModuleKind ModuleKindOf(const FILEINFO& file) {
    switch (file.m_nType) {
    case kFileTypeC:
        return ModuleKind::C;
    case kFileTypeAssembler:
        return ModuleKind::Assembler;
    case kFileTypeObject:
    case kFileTypeLibrary:
    case kFileTypeDocument:
    case kFileTypeCustom:
        return ModuleKind::None;
    default:
        break;
    }
    const std::string extension = platform::ToUpperKey(file.m_strExt);
    if (extension == ".C" || extension == ".C51") return ModuleKind::C;
    if (extension == ".A51" || extension == ".ASM") return ModuleKind::Assembler;
    return ModuleKind::None;
}

const char* ModuleKindName(ModuleKind kind) {
    switch (kind) {
    case ModuleKind::C:
        return "C";
    case ModuleKind::Assembler:
        return "assembler";
    default:
        return "none";
    }
}

std::string AssemblerModuleName(const Loader& text) {
    for (const TextLine& line : text.m_lines) {
        const std::vector<std::string> words = WordsBeforeComment(line.m_strText);
        size_t at = 0;
        while (at < words.size() && IsListingColumn(words[at]))
            ++at;
        if (at + 1 < words.size() && platform::EqualsNoCase(words[at], "NAME"))
            return platform::ToUpperKey(words[at + 1]);
    }
    return std::string();
}
