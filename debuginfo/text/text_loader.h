// Text files of a project loaded whole and cut into numbered lines: the
// linker map, listings, sources, assembler sources.
//
// Files arrive with CRLF, LF or CR-only line ends, or a mix of them; all
// number their lines alike, as the editor does: a CR LF pair, a lone LF and
// a lone CR each end one line (empty lines included).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct SymbolInfo;

// One instruction compiled from a source line (made by the line-table builder).
struct InstructionInfo {
    std::string m_strText;
    SymbolInfo* m_pFunction = nullptr; // code symbol of the enclosing function
    uint32_t m_dwAddress = 0;
    uint32_t m_nSize = 0;
};

// One line of a loaded text file.
struct TextLine {
    uint32_t m_nLine = 0; // from 1
    std::string m_strText;
    std::vector<InstructionInfo> m_instructions;
    SymbolInfo* m_pFunctionSymbol = nullptr; // set with the first instruction
};

// Cuts `text` into lines as described above. A final line without a line end
// is a line; a text that ends with a line end has no empty line after it.
std::vector<std::string_view> SplitLines(std::string_view text);

// Set when a listing or source could not be used.
extern int g_bLoadError;

// The path that is never loaded.
constexpr const char* kUnloadedStartupSource = "STARTUP.C";
// The message shown when a file cannot be loaded ("%s" is the path).
constexpr const char* kCannotFindFileFormat = "Cannot Find %s File .\nStop Project Loading.";
// The message shown when the file is there but cannot be read: the path, then
// why ("Permission denied", "a FIFO, not a regular file").
constexpr const char* kCannotReadFileFormat = "Cannot Read %s File (%s) .\nStop Project Loading.";

class Loader {
public:
    Loader() = default;
    Loader(const Loader&) = delete;
    Loader& operator=(const Loader&) = delete;
    // Moving keeps the lines (and pointers to them) valid.
    Loader(Loader&&) = default;
    Loader& operator=(Loader&&) = default;
    virtual ~Loader() = default;

    // Takes `text` as the loaded file named `name` (for text that is not read
    // from disk).
    void AssignText(std::string name, std::string text);

    std::string m_strName; // the file-name part of the path
    std::string m_strPath; // the file on disk, empty when not loaded from disk
    std::string m_strText; // the whole file
    bool m_bFileOpen = false;
    std::vector<TextLine> m_lines; // fixed once split
};

// Loads `path` (a Windows or POSIX path, resolved against `baseDir` without
// regard to case). 1 when loaded. The path "STARTUP.C" is never loaded: 0 and
// g_bLoadError set, without a message. Only a regular file is read. A file
// that is not there, or one that is there but cannot be read (a folder, FIFO
// or device, or a file without read permission): the matching message above,
// g_bLoadError set, 0.
int LoadSourceFile(Loader& loader, const std::string& path, const std::string& baseDir = ".");

// Cuts the loaded text into the loader's lines. 0 when there is nothing to cut
// (an empty file or no open file); 1 otherwise.
int SplitTextLines(Loader& loader);

// The loader lets go of its file; the text and the lines stay.
void CloseLoaderFile(Loader& loader);

// Drops every line with its instruction records.
void FreeTextLines(Loader& loader);

// The text of line `index` (from 0); null outside the lines.
const std::string* GetLineText(const Loader& loader, size_t index);

// A text file loaded and cut into lines in one step.
class TextFileLoader : public Loader {
public:
    explicit TextFileLoader(const std::string& path, const std::string& baseDir = ".");
};

// The listing of one module with the loaded source file of that module.
class LSTLoader : public Loader {
public:
    std::shared_ptr<Loader> m_pSourceLoader; // set by CreateSourceLoader
    std::string m_strModuleName;
};

// Creates the listing's source loader and loads `path` into it; a failed load
// shows through g_bLoadError. Returns 1.
int CreateSourceLoader(LSTLoader& listing, const std::string& path,
                       const std::string& baseDir = ".");

// The listing's source file, its line `index` (from 0; null outside) and that
// line's first instruction (null when it has none).
struct FirstLineRecord {
    Loader* pSource = nullptr;
    TextLine* pLine = nullptr;
    InstructionInfo* pInstruction = nullptr;
};
FirstLineRecord GetFirstLineRecord(const LSTLoader& listing, size_t index);
