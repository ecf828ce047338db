#include "loaded_model.h"

#include <filesystem>
#include <fstream>
#include <set>

#include <gtest/gtest.h>

#include "line_tables.h"
#include "loader_fakes.h"
#include "message_service.h"
#include "path_resolver.h"
#include "symbol_table.h"
#include "test_support.h"

namespace debuginfo_test {

namespace {

std::string SymbolText(const SymbolInfo& symbol) {
    return symbol.m_strName + " " + std::to_string(symbol.m_dwAddress) + " " + symbol.m_strKind +
           " " + symbol.m_strClass + " " + symbol.m_strType + " " + std::to_string(symbol.m_nSize) +
           " " + std::to_string(symbol.m_nSpace);
}

void ReadSymbols(const CProjectLoader& loader, LoadedModel& model) {
    for (const auto& module : loader.m_pMapLoader->m_listModules) {
        model.symbols.push_back("module " + module->m_strName);
        for (const auto& child : module->m_children) {
            model.symbols.push_back("  " + SymbolText(*child));
            // The listing completes the table's record, not the module's copy.
            const int selector = child->m_strClass == "CODE" ? kSelectCode : kSelectData;
            if (const SymbolInfo* entered =
                    g_pSymbolTable->LookupSymbol(child->m_strName, selector))
                model.symbols.push_back("  table " + SymbolText(*entered));
        }
    }
    for (const auto& function : g_pSymbolDatabase->m_listCode) {
        model.symbols.push_back("function " + function->m_strName);
        for (const auto& local : function->m_locals)
            model.symbols.push_back("  " + SymbolText(*local));
    }
}

void ReadLines(const CProjectLoader& loader, LoadedModel& model) {
    for (const ProjectModule& module : loader.m_modules) {
        model.moduleSources[module.m_strModuleName] = module.m_strSourceName;
        if (const CLineInfoInModule* lines =
                FindModuleLineInfo(*loader.m_pMapLoader, module.m_strModuleName))
            for (const CLineInfoInMapFormat& record : lines->m_lines) {
                model.records[module.m_strModuleName].push_back(
                    {record.m_nKind, record.m_nLine, record.m_dwAddress});
                model.lineOfAddress[record.m_dwAddress] =
                    g_pSymbolTable->GetLineOfAddress(record.m_dwAddress);
            }
        const LSTLoader& listing = *loader.m_mapLstLoaders.at(module.m_strModuleName);
        model.listings[module.m_strModuleName] = listing.m_strPath;
        const Loader& source = *listing.m_pSourceLoader;
        model.sourcePaths[module.m_strSourceName] = source.m_strPath;
        std::vector<std::string>& texts = model.sourceLines[module.m_strSourceName];
        for (const TextLine& line : source.m_lines) {
            texts.push_back(line.m_strText);
            const std::string key = module.m_strSourceName + ":" + std::to_string(line.m_nLine);
            for (const InstructionInfo& instruction : line.m_instructions) {
                model.instructions[key].push_back(
                    {instruction.m_dwAddress, instruction.m_strText,
                     instruction.m_pFunction ? instruction.m_pFunction->m_strName : ""});
                model.lineOfAddress[instruction.m_dwAddress] =
                    g_pSymbolTable->GetLineOfAddress(instruction.m_dwAddress);
            }
        }
    }
    model.lineOfAddress[0xFFFFFFFF] = g_pSymbolTable->GetLineOfAddress(0xFFFFFFFF);
}

} // namespace

std::ostream& operator<<(std::ostream& out, const LineRecord& record) {
    return out << "{kind " << record.kind << ", line " << record.line << ", address "
               << record.address << "}";
}

std::ostream& operator<<(std::ostream& out, const AttachedInstruction& instruction) {
    return out << "{" << instruction.address << " " << instruction.text << " in "
               << instruction.function << "}";
}

LoadedModel OpenAndRead(const std::string& project, const std::string& scratchFolder) {
    RecordingView view;
    RecordingSession session;
    CProjectLoader loader(view, session);
    loader.m_strDisassemblerDir = VEXA_BIN_DIR;
    loader.m_strDisassemblyOutput = scratchFolder + "/Corvex.out";
    platform::RecordingMessageService messages;
    messages.answers = {platform::MessageAnswer::Ok, platform::MessageAnswer::Ok,
                        platform::MessageAnswer::No};
    view.dialogAnswers.push_back(project);
    loader.OnFileOpen();

    LoadedModel model;
    model.messages = messages.Texts();
    model.imagePath = loader.m_strHexPath;
    model.loaded = session.loaded && !session.hexOnly && loader.m_pMapLoader;
    if (model.loaded) {
        model.mapPath = loader.m_pMapLoader->m_strPath;
        model.imageEnd = OrderInstructions(loader.m_pDisasmLoader->m_mapInstructions).m_nEnd;
        ReadSymbols(loader, model);
        ReadLines(loader, model);
    }
    loader.CloseProject();
    return model;
}

std::vector<ProjectInFolder> ExampleAndRealProjects() {
    const std::string example = std::string(VEXA_SOURCE_DIR) + "/example";
    std::vector<ProjectInFolder> projects = {{example, example + "/blinky.uv2"},
                                             {example, example + "/blinky_lx.uv2"}};
    for (const std::string& folder : KeilProjectFolders())
        for (const std::string& project : FilesWithExtensions(folder, {".uv2"}))
            projects.push_back({folder, project});
    return projects;
}

void ExpectSameModel(const LoadedModel& got, const LoadedModel& expected, bool symbols) {
    if (symbols) {
        EXPECT_EQ(got.symbols, expected.symbols);
    }
    EXPECT_EQ(got.moduleSources, expected.moduleSources);
    EXPECT_EQ(got.records, expected.records);
    EXPECT_EQ(got.sourceLines, expected.sourceLines);
    EXPECT_EQ(got.instructions, expected.instructions);
    EXPECT_EQ(got.lineOfAddress, expected.lineOfAddress);
}

void ExpectOpened(const LoadedModel& got, const std::string& path, const std::string& text,
                  const LoadedModel& expected) {
    ASSERT_TRUE(got.loaded) << (got.messages.empty() ? "" : got.messages.back());
    ASSERT_EQ(got.messages.size(), 1u);
    EXPECT_NE(got.messages[0].find(path), std::string::npos) << got.messages[0];
    EXPECT_NE(got.messages[0].find(text), std::string::npos) << got.messages[0];
    ExpectSameModel(got, expected);
}

std::string ProjectCopy::Of(const std::string& original) const {
    return root + "/" + std::filesystem::relative(original, folder).string();
}

LoadedModel ProjectCopy::OpenAltered(const std::string& path,
                                     const std::function<void()>& alter) const {
    const std::string intact = ReadWholeFile(path);
    alter();
    LoadedModel opened = Open();
    std::filesystem::remove(path);
    std::ofstream(path, std::ios::binary) << intact;
    return opened;
}

LoadedModel ProjectCopy::OpenReplaced(const std::string& path, size_t offset, size_t length,
                                      const std::string& replacement) const {
    return OpenAltered(path, [&] {
        std::string text = ReadWholeFile(path);
        text.replace(offset, length, replacement);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
    });
}

void ForEveryProjectThatOpens(
    const std::function<void(const LoadedModel& whole, const FreshCopy& fresh)>& check) {
    TempFolder scratch;
    int copies = 0;
    std::set<std::string> forms;
    for (const ProjectInFolder& candidate : ExampleAndRealProjects()) {
        SCOPED_TRACE(candidate.project);
        const LoadedModel whole = OpenAndRead(candidate.project, scratch.Root());
        // A project that stops, or says something of its own (a source edited
        // after the build, say), is not compared.
        if (!whole.loaded || !whole.messages.empty()) continue;
        forms.insert(platform::ToUpperKey(platform::ExtensionOf(whole.mapPath)));
        check(whole, [&] {
            ProjectCopy copy{candidate.folder, scratch.Path("copy" + std::to_string(++copies)), ""};
            CopyFolder(candidate.folder, copy.root);
            copy.project = copy.Of(candidate.project);
            return copy;
        });
    }
    EXPECT_EQ(forms, (std::set<std::string>{".M51", ".MAP"}));
}

void CopyFolder(const std::string& folder, const std::string& to) {
    namespace fs = std::filesystem;
    fs::copy(folder, to, fs::copy_options::recursive);
    // The real projects are read-only; the copy is altered and removed.
    fs::permissions(to, fs::perms::owner_all, fs::perm_options::add);
    for (const auto& entry : fs::recursive_directory_iterator(to))
        fs::permissions(entry.path(),
                        fs::perms::owner_read | fs::perms::owner_write |
                            (entry.is_directory() ? fs::perms::owner_exec : fs::perms::none),
                        fs::perm_options::add);
}

} // namespace debuginfo_test
