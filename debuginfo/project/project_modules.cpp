#include "project_modules.h"

#include <cctype>
#include <vector>

#include "path_resolver.h"
#include "project_paths.h"
#include "regular_file.h"

namespace {

constexpr const char* kStartupBase = "STARTUP";
constexpr const char* kStartupModuleName = "?C_STARTUP";

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

// The NAME an assembler file gives its module, read from the file at `path`.
std::string ModuleNameIn(const std::string& path) {
    std::string bytes;
    if (path.empty() || !platform::FileExists(path) || !platform::ReadFileBytes(path, bytes))
        return std::string();
    Loader text;
    text.AssignText(platform::FileNameOf(path), std::move(bytes));
    SplitTextLines(text);
    return AssemblerModuleName(text);
}

std::string FoundOrAsWritten(const std::string& projectDir, const std::string& path,
                             const std::vector<std::string>& alsoIn = {}) {
    const std::string found = LocateProjectFile(projectDir, path, alsoIn);
    return found.empty() ? path : found;
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

std::vector<ProjectModule> FindProjectModules(const ProjectSettings& settings,
                                              const CFileStruct& files) {
    std::vector<ProjectModule> modules;
    for (const FILEINFO& file : files.m_listFileInfo) {
        ProjectModule module;
        // Headers, documents and other files of the groups are not modules.
        module.m_kind = ModuleKindOf(file);
        if (module.m_kind == ModuleKind::None) continue;
        module.m_strBase = platform::FileNameOf(file.m_strPath);
        module.m_strSourceName = module.m_strBase + file.m_strExt;
        auto path = settings.m_mapSourcePaths.find(module.m_strSourceName);
        module.m_strSourcePath =
            path != settings.m_mapSourcePaths.end() ? path->second : file.m_strPath + file.m_strExt;
        module.m_strModuleName = module.m_strBase;
        if (module.m_kind == ModuleKind::Assembler) {
            std::string name = ModuleNameIn(ModuleSourcePath(settings, module));
            if (name.empty()) name = ModuleNameIn(ModuleListingPath(settings, module));
            if (name.empty() && module.m_strBase == kStartupBase) name = kStartupModuleName;
            if (!name.empty()) module.m_strModuleName = name;
        }
        modules.push_back(std::move(module));
    }
    return modules;
}

std::string ModuleListingPath(const ProjectSettings& settings, const ProjectModule& module) {
    const std::string& dir = settings.m_strProjectDir;
    return FoundOrAsWritten(dir, settings.m_strLstDir + module.m_strBase + ".lst",
                            {LocateProjectFile(dir, settings.m_strLstDir)});
}

std::string ModuleSourcePath(const ProjectSettings& settings, const ProjectModule& module) {
    return FoundOrAsWritten(settings.m_strProjectDir, module.m_strSourcePath);
}
