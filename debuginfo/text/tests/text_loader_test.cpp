#include <gtest/gtest.h>

#include <algorithm>

#include "message_service.h"
#include "project_paths.h"
#include "test_support.h"
#include "text_loader.h"

using debuginfo_test::TempFolder;

namespace {

std::vector<std::string> LineTexts(const Loader& loader) {
    std::vector<std::string> texts;
    for (const TextLine& line : loader.m_lines)
        texts.push_back(line.m_strText);
    return texts;
}

} // namespace

TEST(TextLoader, LfCrlfAndCrFilesNumberTheirLinesAlike) {
    const std::string text = "first\n\nthird\n\n\nsixth\nlast";
    const std::vector<std::string> expected = {"first", "", "third", "", "", "sixth", "last"};
    std::string crOnly = text;
    std::replace(crOnly.begin(), crOnly.end(), '\n', '\r');
    for (const std::string& form : {text, debuginfo_test::WithCrlf(text), crOnly}) {
        Loader loader;
        loader.AssignText("x.c", form);
        ASSERT_EQ(SplitTextLines(loader), 1);
        EXPECT_EQ(LineTexts(loader), expected) << form;
        for (size_t i = 0; i < loader.m_lines.size(); ++i)
            EXPECT_EQ(loader.m_lines[i].m_nLine, i + 1);
    }
}

TEST(TextLoader, LineEndsAndEmptyTexts) {
    EXPECT_EQ(SplitLines("a\n"), (std::vector<std::string_view>{"a"}));
    EXPECT_EQ(SplitLines("a\r\n\r\n"), (std::vector<std::string_view>{"a", ""}));
    EXPECT_EQ(SplitLines("\n"), (std::vector<std::string_view>{""}));
    // A lone carriage return ends a line as the editor ends it, before a CR LF too.
    EXPECT_EQ(SplitLines("a\r\r\nb\r"), (std::vector<std::string_view>{"a", "", "b"}));
    EXPECT_EQ(SplitLines("a\n\rb\r\n"), (std::vector<std::string_view>{"a", "", "b"}));
    EXPECT_TRUE(SplitLines("").empty());

    Loader empty;
    empty.AssignText("empty.c", "");
    EXPECT_EQ(SplitTextLines(empty), 0);
    EXPECT_TRUE(empty.m_lines.empty());

    Loader closed;
    closed.AssignText("closed.c", "text\n");
    CloseLoaderFile(closed);
    EXPECT_EQ(SplitTextLines(closed), 0);
    EXPECT_EQ(closed.m_strText, "text\n");
}

TEST(TextLoader, FilesResolveWithoutRegardToCaseAndKeepTheirFileName) {
    TempFolder folder;
    folder.Write("src/sub/util.c", "int x;\r\n\r\nint y;\r\n");
    Loader loader;
    ASSERT_EQ(LoadSourceFile(loader, ".\\SRC\\Sub\\UTIL.C", folder.Root()), 1);
    EXPECT_EQ(loader.m_strName, "UTIL.C");
    EXPECT_EQ(loader.m_strPath, folder.Path("src/sub/util.c"));
    ASSERT_EQ(SplitTextLines(loader), 1);
    ASSERT_NE(GetLineText(loader, 2), nullptr);
    EXPECT_EQ(*GetLineText(loader, 2), "int y;");
    EXPECT_EQ(*GetLineText(loader, 1), "");
    EXPECT_EQ(GetLineText(loader, 3), nullptr);
    FreeTextLines(loader);
    EXPECT_EQ(GetLineText(loader, 0), nullptr);

    const TextFileLoader text(".\\src\\sub\\util.c", folder.Root());
    EXPECT_EQ(text.m_lines.size(), 3u);
}

TEST(TextLoader, MissingFilesAndTheStartupSourceSetTheLoadError) {
    TempFolder folder;
    folder.Write("STARTUP.C", "x\n");
    platform::RecordingMessageService messages;

    g_bLoadError = 0;
    Loader startup;
    EXPECT_EQ(LoadSourceFile(startup, "STARTUP.C", folder.Root()), 0);
    EXPECT_EQ(g_bLoadError, 1);
    EXPECT_TRUE(messages.shown.empty());
    // Only that exact text is refused.
    g_bLoadError = 0;
    EXPECT_EQ(LoadSourceFile(startup, "startup.c", folder.Root()), 1);
    EXPECT_EQ(g_bLoadError, 0);

    Loader missing;
    EXPECT_EQ(LoadSourceFile(missing, ".\\NOPE.C", folder.Root()), 0);
    EXPECT_EQ(g_bLoadError, 1);
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{"Cannot Find .\\NOPE.C File .\nStop Project Loading."});
    g_bLoadError = 0;
}

TEST(TextLoader, ListingReachesTheFirstInstructionOfASourceLine) {
    TempFolder folder;
    folder.Write("main.c", "void main(void)\n{\n}\n");
    LSTLoader listing;
    EXPECT_EQ(CreateSourceLoader(listing, "MAIN.C", folder.Root()), 1);
    ASSERT_NE(listing.m_pSourceLoader, nullptr);
    ASSERT_EQ(SplitTextLines(*listing.m_pSourceLoader), 1);
    listing.m_pSourceLoader->m_lines[1].m_instructions.push_back({"MOV A,#1", nullptr, 3, 2});

    FirstLineRecord withCode = GetFirstLineRecord(listing, 1);
    EXPECT_EQ(withCode.pSource, listing.m_pSourceLoader.get());
    ASSERT_NE(withCode.pInstruction, nullptr);
    EXPECT_EQ(withCode.pInstruction->m_dwAddress, 3u);
    FirstLineRecord withoutCode = GetFirstLineRecord(listing, 0);
    ASSERT_NE(withoutCode.pLine, nullptr);
    EXPECT_EQ(withoutCode.pInstruction, nullptr);
    EXPECT_EQ(GetFirstLineRecord(listing, 3).pLine, nullptr);
    EXPECT_EQ(GetFirstLineRecord(LSTLoader(), 0).pSource, nullptr);
}

TEST(ProjectPaths, PartsOfPathTexts) {
    EXPECT_EQ(GetFileExtension("C:\\P\\MAIN.C"), "C");
    EXPECT_EQ(GetFileExtension("DEMO.HEX extra"), "HEX");
    EXPECT_EQ(GetFileExtension("MAKEFILE"), "");
    EXPECT_EQ(RemoveFileExtension("  .\\SRC\\UTIL.C"), ".\\SRC\\UTIL");
    EXPECT_EQ(RemoveFileExtension(".\\V1.2\\README"), ".\\V1.2\\README");
    EXPECT_EQ(RemoveFileExtension("lst/main.lst"), "lst/main");
    EXPECT_EQ(GetFileNamePart("..\\lst\\Main.LST"), "Main.LST");
    EXPECT_EQ(GetFileNamePart("/tmp/x/demo.hex"), "demo.hex");
    EXPECT_EQ(GetFileNamePart("demo.hex"), "demo.hex");
}

TEST(ProjectPaths, ProjectFilesAreFoundByNameWithoutExtension) {
    EXPECT_EQ(FindProjectFile("MAIN"), "CAN'T SEARCH");
    CProjectFileList files;
    files.m_listFiles = {"MAIN.C", "STARTUP.A51", "MAIN.A51"};
    g_pProjectFileList = &files;
    EXPECT_EQ(FindProjectFile("MAIN"), "MAIN.C");
    EXPECT_EQ(FindProjectFile("STARTUP"), "STARTUP.A51");
    EXPECT_EQ(FindProjectFile("main"), "CAN'T SEARCH");
    SetProjectDirectory("C:\\WORK\\DEMO\\DEMO.UV2");
    EXPECT_EQ(files.m_strProjectDir, "C:\\WORK\\DEMO");
    g_pProjectFileList = nullptr;
}
