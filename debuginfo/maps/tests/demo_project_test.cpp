// The demo project in both map forms, read from LF and CRLF copies whose
// names on disk are lower case, gives the same exact answers.
#include <gtest/gtest.h>

#include "demo_cases.h"
#include "extended_map_reader.h"
#include "m51_reader.h"
#include "map_loader.h"
#include "map_rules.h"
#include "project_file.h"
#include "symbol_lookup.h"
#include "test_support.h"
#include "xdata_range.h"

using debuginfo_test::DemoCase;
using debuginfo_test::TempFolder;

namespace {

// Opens the demo copy the way a project is opened: the project file, then the
// map it names, read into the process-wide tables.
class DemoProject : public testing::TestWithParam<DemoCase> {
protected:
    void SetUp() override {
        debuginfo_test::CopyDemoProject(m_folder, GetParam().crlf);
        ASSERT_EQ(ReadProjectFile(m_folder.Path("DEMO.UV2"), m_settings), 1);
        const std::string extension = GetParam().extended ? ".MAP" : ".M51";
        ResetXdataRange();
        AllocateProjectTables();
        g_pSymbolTable = std::make_unique<CSymbolTable>();
        m_loader = std::make_unique<MapLoader>(m_settings.m_strLstDir + m_settings.m_strOutName +
                                                   extension,
                                               m_settings.m_strProjectDir);
        ASSERT_FALSE(m_loader->m_lines.empty());
        if (GetParam().extended)
            ASSERT_EQ(ParseMapFile(*m_loader, m_settings.m_strProjectDir), 1);
        else
            ASSERT_EQ(ParseM51File(*m_loader, m_settings.m_strProjectDir), 1);
        g_pSymbolTable->m_pModuleRecords = &m_loader->m_listModules;
    }
    void TearDown() override {
        g_pSymbolTable.reset();
        g_pSymbolDatabase.reset();
        ResetXdataRange();
    }

    TempFolder m_folder;
    ProjectSettings m_settings;
    std::unique_ptr<MapLoader> m_loader;
};

} // namespace

TEST_P(DemoProject, SourcePositionsOfEveryLine) {
    const std::vector<std::pair<std::string, uint32_t>> lineToAddress = {
        {"MAIN.C:7", 0x03},        {"MAIN.C:8", 0x03},        {"MAIN.C:10", 0x03},
        {"MAIN.C:11", 0x18},       {"MAIN.C:13", 0x07},       {"MAIN.C:17", 0x1E},
        {"MAIN.C:18", 0x25},       {"MAIN.C:19", 0x27},       {"UTIL.C:5", 0x28},
        {"UTIL.C:6", 0x28},        {"UTIL.C:8", 0x2A},        {"UTIL.C:9", 0x30},
        {"UTIL.C:10", 0x39},       {"UTIL.C:11", 0x3D},       {"STARTUP.A51:92", 0x00},
        {"STARTUP.A51:99", 0x3E},  {"STARTUP.A51:100", 0x40}, {"STARTUP.A51:101", 0x41},
        {"STARTUP.A51:102", 0x42}, {"STARTUP.A51:151", 0x44}, {"STARTUP.A51:152", 0x47}};
    for (const auto& [key, address] : lineToAddress)
        EXPECT_EQ(GetAddressOfLine(key), address) << key;
    EXPECT_EQ(g_pSymbolTable->LinePositionCount(), lineToAddress.size());
    EXPECT_EQ(GetAddressOfLine("MAIN.C:9"), kNoAddress);
    EXPECT_EQ(GetAddressOfLine("main.c:10"), kNoAddress);

    const std::vector<std::pair<uint32_t, std::string>> addressToLine = {
        {0x00, "STARTUP.A51:92"},  {0x03, "MAIN.C:10"},       {0x06, "MAIN.C:11"},
        {0x07, "MAIN.C:13"},       {0x18, "MAIN.C:11"},       {0x1E, "MAIN.C:17"},
        {0x25, "MAIN.C:18"},       {0x27, "MAIN.C:19"},       {0x28, "UTIL.C:6"},
        {0x2A, "UTIL.C:8"},        {0x30, "UTIL.C:9"},        {0x39, "UTIL.C:10"},
        {0x3D, "UTIL.C:11"},       {0x3E, "STARTUP.A51:99"},  {0x40, "STARTUP.A51:100"},
        {0x41, "STARTUP.A51:101"}, {0x42, "STARTUP.A51:102"}, {0x44, "STARTUP.A51:151"},
        {0x47, "STARTUP.A51:152"}};
    for (const auto& [address, key] : addressToLine)
        EXPECT_EQ(GetLineOfAddress(address), key) << address;
    EXPECT_EQ(g_pSymbolTable->AddressPositionCount(), addressToLine.size());
    EXPECT_EQ(GetLineOfAddress(0x04), "");
    EXPECT_EQ(GetLineOfAddress(0x48), "");
}

TEST_P(DemoProject, SymbolsByNameAndAddress) {
    const std::vector<debuginfo_test::ExpectedSymbol> expected = {
        {"?C_STARTUP", 1, 0x00, "PUBLIC", "CODE", kMemSpaceCode},
        {"IDATALOOP", 1, 0x41, "SYMBOL", "CODE", kMemSpaceCode},
        {"STARTUP1", 1, 0x3E, "SYMBOL", "CODE", kMemSpaceCode},
        {"main", 1, 0x03, "PUBLIC", "CODE", kMemSpaceCode},
        {"_Twice", 1, 0x28, "PUBLIC", "CODE", kMemSpaceCode},
        {"SP", 2, 0x81, "SFRSYM", "DATA", kMemSpaceSfr},
        {"P1", 2, 0x90, "SFRSYM", "DATA", kMemSpaceSfr},
        {"counter", 2, 0x08, "PUBLIC", "DATA", kMemSpaceData},
        {"total", 2, 0x09, "PUBLIC", "DATA", kMemSpaceData},
        {"buf", 2, 0x00, "PUBLIC", "XDATA", kMemSpaceXdata}};
    debuginfo_test::ExpectSymbols(*g_pSymbolTable, expected);
    for (const auto& e : expected) // each is only in its own list
        EXPECT_EQ(LookupSymbol(e.name, 3 - e.selector), nullptr) << e.name;
    EXPECT_EQ(g_pSymbolTable->RecordCount(), expected.size());
    EXPECT_EQ(LookupSymbol("IDATALEN", 2), nullptr);
    EXPECT_EQ(LookupSymbol("i", 2), nullptr);
    EXPECT_EQ(g_pSymbolTable->SymbolAtAddress(0x28, 1)->m_strName, "_Twice");
}

TEST_P(DemoProject, FunctionsAndTheirLocals) {
    ASSERT_EQ(g_pSymbolDatabase->m_listCode.size(), 2u);
    EXPECT_EQ(FindFunctionOfAddress(0x02), nullptr);
    EXPECT_EQ(FindFunctionOfAddress(0x03)->m_strName, "MAIN");
    EXPECT_EQ(FindFunctionOfAddress(0x27)->m_strName, "MAIN");
    const CSymbolStruct* twice = FindFunctionOfAddress(0x28);
    ASSERT_NE(twice, nullptr);
    EXPECT_EQ(twice->m_strName, "TWICE");
    EXPECT_EQ(twice->m_strFile, "UTIL.C");
    EXPECT_EQ(FindFunctionOfAddress(0x3D), twice);
    EXPECT_EQ(FindFunctionOfAddress(0x3E), nullptr);
    EXPECT_EQ(FindSymbolByName("TWICE", kListData)->m_dwStart, 0x0Bu);
    EXPECT_EQ(FindSymbolByName("TWICE", kListXdata)->m_dwLength, 2u);

    const CSymbolLocalVar* i = FindSymbolInRange(FindFunctionOfAddress(0x10), "i", 0x10);
    ASSERT_NE(i, nullptr);
    EXPECT_EQ(i->m_dwAddress, 0x07u);
    EXPECT_EQ(i->m_dwScopeLow, 0x03u);
    EXPECT_EQ(i->m_dwScopeHigh, 0x27u);
    const CSymbolLocalVar* r = FindSymbolInRange(twice, "r\r", 0x30);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->m_dwAddress, 0x0Cu);
    EXPECT_EQ(r->m_strClass, "DATA");
    EXPECT_EQ(r->m_nSpace, kMemSpaceData);
    EXPECT_NE(FindSymbolInRange(twice, "v", 0x28), nullptr);
    EXPECT_EQ(FindSymbolInRange(twice, "v", 0x3E), nullptr);
    EXPECT_EQ(FindSymbolInRange(twice, "i", 0x30), nullptr);

    EXPECT_EQ(g_dwXdataLow, 0x0000u);
    EXPECT_EQ(g_dwXdataHigh, 0x0009u);
}

TEST_P(DemoProject, ModulesAndTheirLineRecords) {
    std::vector<std::string> modules;
    for (const auto& module : m_loader->m_listModules) {
        EXPECT_EQ(module->m_strType, "MODULE");
        modules.push_back(module->m_strName);
    }
    std::vector<std::string> expected = {"?C_STARTUP", "MAIN", "UTIL"};
    if (GetParam().extended) expected.insert(expected.begin(), "C_STARTUP");
    EXPECT_EQ(modules, expected);
    const SymbolInfo& util = *m_loader->m_listModules.back();
    ASSERT_EQ(util.m_children.size(), 3u);
    EXPECT_EQ(util.m_children[0]->m_strName, "P1");

    std::vector<std::pair<uint32_t, uint32_t>> mainLines;
    const CLineInfoInModule* main = FindModuleLineInfo(*m_loader, "MAIN");
    ASSERT_NE(main, nullptr);
    for (const CLineInfoInMapFormat& record : main->m_lines)
        if (record.m_nKind == kLineSource)
            mainLines.emplace_back(record.m_nLine, record.m_dwAddress);
    const std::vector<std::pair<uint32_t, uint32_t>> expectedMain = {
        {10, 0x03}, {11, 0x06}, {13, 0x07}, {11, 0x18}, {17, 0x1E}, {18, 0x25}, {19, 0x27}};
    EXPECT_EQ(mainLines, expectedMain);
    EXPECT_EQ(main->m_lines.front().m_nKind, kLineFunctionStart);
    EXPECT_EQ(main->m_lines.front().m_dwAddress, 0x03u);
    EXPECT_EQ(main->m_lines.back().m_nKind, kLineFunctionEnd);
    EXPECT_NE(FindModuleLineInfo(*m_loader, "?C_STARTUP"), nullptr);
    EXPECT_EQ(FindModuleLineInfo(*m_loader, "main"), nullptr);
    EXPECT_EQ(FirstBrokenMapRule(*m_loader, *g_pSymbolTable, *g_pSymbolDatabase), "");
}

INSTANTIATE_TEST_SUITE_P(BothFormsBothLineEnds, DemoProject, debuginfo_test::EveryDemoCase(),
                         debuginfo_test::DemoCaseName);
