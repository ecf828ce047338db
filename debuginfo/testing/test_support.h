// Helpers shared by the debug-information tests: temporary folders, copies of
// the demo project, maps read from text, and the real projects beside the
// repository.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "listing_model.h"
#include "map_loader.h"
#include "symbol_records.h"
#include "symbol_table.h"

namespace debuginfo_test {

// One symbol a map must give: found by name with `selector` (1 code, 2 data),
// with these address, kind, memory class and space.
struct ExpectedSymbol {
    const char* name;
    int selector;
    uint32_t address;
    const char* kind;
    const char* memoryClass;
    uint32_t space;
};

// Checks each expected symbol in `table` and returns what was found, in order
// (nullptr where a symbol is missing), for further checks by the caller.
std::vector<const SymbolInfo*> ExpectSymbols(const CSymbolTable& table,
                                             const std::vector<ExpectedSymbol>& expected);

// A temporary folder, removed with everything in it afterwards.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Root() const { return m_root; }
    std::string Path(const std::string& relative) const { return m_root + "/" + relative; }
    // Writes `content` to the file, making its folders first.
    void Write(const std::string& relative, const std::string& content) const;

private:
    std::string m_root;
};

std::string ReadWholeFile(const std::string& path);
// The blank-separated words of a text.
std::vector<std::string> Words(const std::string& text);
// One text line of a file: where it starts, its number and its text without line end.
struct TextSpan {
    size_t offset = 0;
    size_t number = 0;
    std::string text;
};
std::vector<TextSpan> SpansOf(const std::string& text);
// Where word `index` (-1: the last one) of the line starts in the file.
size_t WordOffset(const TextSpan& span, int index);
// One Intel HEX data record, with its line end.
std::string HexRecord(unsigned address, const std::vector<unsigned>& bytes);
std::string WithCrlf(const std::string& text);

// The demo project's folder in the repository.
std::string DemoFolder();
// Copies the demo project into `folder` with lower-case names on disk and
// LF or CRLF line ends.
void CopyDemoProject(const TempFolder& folder, bool crlf);

// A map read from text, with the tables it filled.
struct ParsedMap {
    MapLoader loader;
    CSymbolTable table;
    CSymbolDatabase database;
};
enum class MapForm { M51, Extended };
std::unique_ptr<ParsedMap> ParseMapText(const std::string& text, MapForm form,
                                        const std::string& baseDir = ".");

// The real projects: every sub-folder of the fixtures folder (empty when absent).
std::vector<std::string> KeilProjectFolders();
const char* KeilFixturesAbsentMessage();
// A copy of a real project's folder under `scratch`, renamed, whose project
// file names each source by the absolute path of the machine that built it
// ("<.\Src\STARTUP.A51>" becomes "<C:\Users\someone\FOLDER\Src\STARTUP.A51>"),
// as a project moved from that machine does. The copy's project file.
std::string MovedCopyOfProject(const std::string& projectFile, const TempFolder& scratch);
// Every file below `folder` whose name ends in one of `extensions` (any case).
std::vector<std::string> FilesWithExtensions(const std::string& folder,
                                             const std::vector<std::string>& extensions);

// The mixed listing shows a source line again only as the line of a block
// with code of its own (the last source row before an instruction row), and
// never twice in one block. The first line shown against that, as
// "FILE:LINE", or "" when there is none. Rows are given to the file of the
// instruction that follows them.
std::string FirstRepeatedSourceRow(const CListingModel& model, const CSymbolTable& table);

// The module each object file of a linker map's "INPUT MODULES INCLUDED:"
// list holds, by the object's upper-case name without extension
// ("  .\obj\wait1.obj (WAIT)" gives WAIT1 -> WAIT).
std::map<std::string, std::string> ObjectModuleNames(const std::string& mapText);

// The folder of the hand-written field project in the repository.
std::string FieldFolder();

} // namespace debuginfo_test
