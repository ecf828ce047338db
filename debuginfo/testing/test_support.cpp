#include "test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <filesystem>
#include <fstream>
#include <ftw.h>
#include <set>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>

#include "extended_map_reader.h"
#include "m51_reader.h"
#include "path_resolver.h"

namespace debuginfo_test {

namespace {

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
    return std::remove(path);
}

void MakeParents(const std::string& file) {
    for (size_t slash = file.find('/', 1); slash != std::string::npos;
         slash = file.find('/', slash + 1))
        mkdir(file.substr(0, slash).c_str(), 0755);
}

bool IsDirectory(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::vector<std::string> Entries(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* dir = opendir(folder.c_str())) {
        while (dirent* entry = readdir(dir)) {
            std::string name = entry->d_name;
            if (name != "." && name != "..") names.push_back(name);
        }
        closedir(dir);
    }
    std::sort(names.begin(), names.end());
    return names;
}

bool EndsWithNoCase(const std::string& name, const std::string& ending) {
    return name.size() >= ending.size() &&
           platform::EqualsNoCase(name.substr(name.size() - ending.size()), ending);
}

} // namespace

TempFolder::TempFolder() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/debuginfo-test-XXXXXX";
    if (!mkdtemp(&pattern[0])) throw std::runtime_error("mkdtemp failed");
    m_root = pattern;
}

TempFolder::~TempFolder() {
    nftw(m_root.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

void TempFolder::Write(const std::string& relative, const std::string& content) const {
    const std::string full = Path(relative);
    MakeParents(full);
    std::ofstream out(full, std::ios::binary);
    out << content;
}

std::string HexRecord(unsigned address, const std::vector<unsigned>& bytes) {
    std::vector<unsigned> all = {static_cast<unsigned>(bytes.size()), address >> 8, address & 0xFF,
                                 0};
    all.insert(all.end(), bytes.begin(), bytes.end());
    unsigned sum = 0;
    std::string text = ":";
    char digits[3];
    for (unsigned byte : all) {
        std::snprintf(digits, sizeof digits, "%02X", byte);
        text += digits;
        sum += byte;
    }
    std::snprintf(digits, sizeof digits, "%02X", (0x100 - (sum & 0xFF)) & 0xFF);
    return text + digits + "\n";
}

std::vector<std::string> Words(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;)
        words.push_back(word);
    return words;
}

std::vector<TextSpan> SpansOf(const std::string& text) {
    std::vector<TextSpan> spans;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        spans.push_back({start, spans.size() + 1, line});
        start = end + 1;
    }
    return spans;
}

size_t WordOffset(const TextSpan& span, int index) {
    const std::vector<std::string> words = Words(span.text);
    const size_t wanted = index < 0 ? words.size() - 1 : static_cast<size_t>(index);
    size_t at = 0;
    for (size_t i = 0; i <= wanted; ++i)
        at = span.text.find(words[i], i == 0 ? 0 : at + words[i - 1].size());
    return span.offset + at;
}

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string WithCrlf(const std::string& text) {
    std::string result;
    for (char c : text) {
        if (c == '\n') result += '\r';
        result += c;
    }
    return result;
}

std::string DemoFolder() {
    return std::string(VEXA_SOURCE_DIR) + "/debuginfo/testing/data/demo";
}

void CopyDemoProject(const TempFolder& folder, bool crlf) {
    const char* files[] = {"demo.Uv2",   "demo.M51",   "demo.MAP",   "main.c",
                           "src/util.c", "src/util.h", "STARTUP.A51"};
    for (const char* file : files) {
        std::string text = ReadWholeFile(DemoFolder() + "/" + file);
        if (text.empty()) throw std::runtime_error(std::string("demo file missing: ") + file);
        std::string lowerName = file;
        std::transform(lowerName.begin(), lowerName.end(), lowerName.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        folder.Write(lowerName, crlf ? WithCrlf(text) : text);
    }
}

std::unique_ptr<ParsedMap> ParseMapText(const std::string& text, MapForm form,
                                        const std::string& baseDir) {
    auto parsed = std::make_unique<ParsedMap>();
    parsed->loader.AssignText(form == MapForm::M51 ? "TEST.M51" : "TEST.MAP", text);
    SplitTextLines(parsed->loader);
    if (form == MapForm::M51)
        ParseM51File(parsed->loader, parsed->table, parsed->database, baseDir);
    else
        ParseMapFile(parsed->loader, parsed->table, parsed->database, baseDir);
    return parsed;
}

std::vector<std::string> KeilProjectFolders() {
    std::vector<std::string> folders;
    const std::string root = VEXA_KEIL_FIXTURES;
    for (const std::string& name : Entries(root))
        if (IsDirectory(root + "/" + name)) folders.push_back(root + "/" + name);
    return folders;
}

const char* KeilFixturesAbsentMessage() {
    return "the real projects (" VEXA_KEIL_FIXTURES ") are not beside the repository";
}

std::string MovedCopyOfProject(const std::string& projectFile, const TempFolder& scratch) {
    namespace fs = std::filesystem;
    const fs::path original(projectFile);
    const std::string folder = original.parent_path().filename().string();
    const fs::path copy = fs::path(scratch.Root()) / (folder + "-moved");
    fs::copy(original.parent_path(), copy, fs::copy_options::recursive);
    // The real projects may lie read-only; their copy is ours to change and remove.
    fs::permissions(copy, fs::perms::owner_all, fs::perm_options::add);
    for (const auto& entry : fs::recursive_directory_iterator(copy))
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add);
    std::istringstream lines(ReadWholeFile(projectFile));
    std::string text;
    for (std::string line; std::getline(lines, line);) {
        const size_t open = line.find("<.\\");
        if (line.find("File ") != std::string::npos && open != std::string::npos)
            line.replace(open + 1, 2, "C:\\Users\\someone\\" + folder + "\\");
        text += line + "\n";
    }
    const fs::path moved = copy / original.filename();
    std::ofstream(moved, std::ios::binary) << text;
    return moved.string();
}

std::vector<std::string> FilesWithExtensions(const std::string& folder,
                                             const std::vector<std::string>& extensions) {
    std::vector<std::string> files;
    for (const std::string& name : Entries(folder)) {
        const std::string full = folder + "/" + name;
        if (IsDirectory(full)) {
            for (std::string& inner : FilesWithExtensions(full, extensions))
                files.push_back(std::move(inner));
            continue;
        }
        for (const std::string& extension : extensions)
            if (EndsWithNoCase(name, extension)) {
                files.push_back(full);
                break;
            }
    }
    return files;
}

std::string FirstRepeatedSourceRow(const CListingModel& model, const CSymbolTable& table) {
    std::set<std::string> shown; // "FILE:LINE" of every row shown so far
    std::vector<uint32_t> block; // the line numbers of the current block's rows
    for (size_t row = 0; row < model.m_srcRows.size(); ++row) {
        if (model.m_srcRowKinds[row] == kRowSource) {
            const std::string& text = model.m_srcRows[row];
            const size_t number = text.find_first_not_of(' ', text.find('>') + 1);
            block.push_back(
                static_cast<uint32_t>(std::strtoul(text.c_str() + number, nullptr, 10)));
            continue;
        }
        if (block.empty()) continue;
        auto address = model.m_mapSrcRowToAddress.find(static_cast<int32_t>(row));
        const std::string position = address == model.m_mapSrcRowToAddress.end()
                                         ? ""
                                         : table.GetLineOfAddress(address->second);
        const std::string file = position.substr(0, position.find(':')) + ":";
        std::set<uint32_t> inBlock;
        for (size_t i = 0; i < block.size(); ++i) {
            if (block[i] == 0) continue; // a symbol row
            const std::string key = file + std::to_string(block[i]);
            const bool again = !shown.insert(key).second;
            if (!inBlock.insert(block[i]).second || (again && i + 1 < block.size())) return key;
        }
        block.clear();
    }
    return std::string();
}

std::map<std::string, std::string> ObjectModuleNames(const std::string& mapText) {
    std::map<std::string, std::string> names;
    for (std::string_view line : SplitLines(mapText)) {
        const std::string upper = platform::ToUpperKey(std::string(line));
        const size_t object = upper.find(".OBJ (");
        const size_t close = upper.find(')', object);
        if (object == std::string::npos || close == std::string::npos) continue;
        const std::string path = upper.substr(0, object);
        const size_t first = path.find_first_not_of(' ');
        names[platform::FileNameOf(path.substr(first == std::string::npos ? 0 : first))] =
            std::string(line.substr(object + 6, close - object - 6));
    }
    return names;
}

std::string FieldFolder() {
    return std::string(VEXA_SOURCE_DIR) + "/debuginfo/testing/data/field";
}

std::vector<const SymbolInfo*> ExpectSymbols(const CSymbolTable& table,
                                             const std::vector<ExpectedSymbol>& expected) {
    std::vector<const SymbolInfo*> found;
    for (const ExpectedSymbol& e : expected) {
        SCOPED_TRACE(e.name);
        const SymbolInfo* symbol = table.LookupSymbol(e.name, e.selector);
        found.push_back(symbol);
        EXPECT_NE(symbol, nullptr);
        if (!symbol) continue;
        EXPECT_EQ(symbol->m_dwAddress, e.address);
        EXPECT_EQ(symbol->m_strKind, e.kind);
        EXPECT_EQ(symbol->m_strClass, e.memoryClass);
        EXPECT_EQ(symbol->m_nSpace, e.space);
    }
    return found;
}

} // namespace debuginfo_test
