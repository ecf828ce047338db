#include <gtest/gtest.h>

#include <filesystem>

#include "path_resolver.h"
#include "project_file.h"
#include "project_modules.h"
#include "project_paths.h"
#include "test_support.h"

using debuginfo_test::TempFolder;

namespace {

ProjectSettings ReadSettings(const std::string& text, const std::string& fileName = "P.UV2") {
    TempFolder folder;
    folder.Write(fileName, text);
    ProjectSettings settings;
    EXPECT_EQ(ReadProjectFile(folder.Path(fileName), settings), 1);
    return settings;
}

std::vector<std::string> GroupFileTexts(const std::string& text) {
    TempFolder folder;
    folder.Write("p.uv2", text);
    CFileStruct files;
    EXPECT_EQ(ReadProjectGroupFiles(folder.Path("P.UV2"), files), 1);
    std::vector<std::string> texts;
    for (const FILEINFO& file : files.m_listFileInfo)
        texts.push_back(file.m_strPath + "|" + file.m_strExt);
    return texts;
}

} // namespace

TEST(ProjectFile, MapKindComesFromBit0x8000OfT51FlAndNeverFromXt51Fl) {
    EXPECT_EQ(ReadSettings(" T51FL=98941\n").m_strMapExt, "MAP");
    EXPECT_EQ(ReadSettings(" T51FL=625\n").m_strMapExt, "M51");
    EXPECT_EQ(ReadSettings(" T51FL=\n").m_strMapExt, "M51");
    EXPECT_EQ(ReadSettings(" T51FL=  32768 x\n").m_strMapExt, "MAP");
    EXPECT_EQ(ReadSettings(" XT51FL=32768\n").m_strMapExt, "");
    EXPECT_EQ(ReadSettings(" T51FL=32768\n XT51FL=0\n").m_strMapExt, "MAP");
    EXPECT_EQ(ReadSettings(" T51FL 32768\n").m_strMapExt, "");
}

TEST(ProjectFile, DirectoriesNamesAndSourcePaths) {
    const ProjectSettings settings = ReadSettings(" OutDir (.\\Objects\\)\n"
                                                  " LstDir (.\\Listings\\) OutDir (.\\x\\)\n"
                                                  " OutName (demo\n"
                                                  " OutDir missing parenthesis\n"
                                                  "File 1,1,<.\\src\\main.c><main.c> 0x0\n"
                                                  "File 1,1,<.\\only.c>\n"
                                                  "File 1,1,<.\\a.c><x.c><third.c>\n"
                                                  "File 1,1,<.\\open.c><open.c\n"
                                                  "File 1,1,<><empty.c>\n");
    EXPECT_EQ(settings.m_strOutDir, ".\\Objects\\");
    EXPECT_EQ(settings.m_strLstDir, ".\\Listings\\");
    EXPECT_EQ(settings.m_strOutName, "demo");
    const std::map<std::string, std::string> expected = {{"MAIN.C", ".\\SRC\\MAIN.C"},
                                                         {"THIRD.C", ".\\A.C"}};
    EXPECT_EQ(settings.m_mapSourcePaths, expected);
}

TEST(ProjectFile, ProjectDirectoryIsTheRealFolderOfTheFile) {
    TempFolder folder;
    folder.Write("work/demo.uv2", "\n");
    ProjectSettings settings;
    ASSERT_EQ(ReadProjectFile(folder.Path("WORK/DEMO.UV2"), settings), 1);
    EXPECT_EQ(settings.m_strProjectDir, folder.Path("work"));
    ProjectSettings upper;
    ASSERT_EQ(ReadProjectFile(platform::ToUpperKey(folder.Path("work/demo.uv2")), upper), 1);
    EXPECT_EQ(upper.m_strProjectDir, folder.Path("work"));

    ProjectSettings relative; // "./work/demo.uv2" from the folder above
    const std::string here = std::filesystem::current_path().string();
    std::filesystem::current_path(folder.Root());
    EXPECT_EQ(ReadProjectFile(".\\WORK\\demo.UV2", relative), 1);
    std::filesystem::current_path(here);
    EXPECT_EQ(relative.m_strProjectDir, folder.Path("work"));

    ProjectSettings missing;
    missing.m_strOutName = "kept";
    EXPECT_EQ(ReadProjectFile(folder.Path("nothing.uv2"), missing), 0);
    EXPECT_EQ(missing.m_strOutName, "kept");
    EXPECT_EQ(missing.m_strProjectDir, "");
}

TEST(ProjectFile, GroupFilesOfSeveralGroupsUpToTheOptions) {
    const std::string text = "Target (Target 1)\n"
                             "File 9,9,<.\\before.c><before.c>\n"
                             "Group (Source Group 1)\n"
                             "Group (Startup Code)\n"
                             "\n"
                             "File 1,1,<.\\main.c><main.c> 0x0\n"
                             "File 1,1,<.\\src\\util.c><util.c>\r\n"
                             "File 1,1,<.\\single.c>\n"
                             "just text\n"
                             "File 2,2,<.\\STARTUP.A51><STARTUP.A51>\n"
                             "File 3,5,<.\\README><README>\n"
                             "Options 1,0,0\n"
                             "File 1,1,<.\\after.c><after.c>\n";
    EXPECT_EQ(GroupFileTexts(text),
              (std::vector<std::string>{"MAIN|.C", "UTIL|.C", "STARTUP|.A51", "README|."}));
    EXPECT_TRUE(GroupFileTexts("File 1,1,<.\\main.c><main.c>\n").empty());

    CFileStruct files;
    EXPECT_EQ(ReadProjectGroupFiles("/nonexistent/p.uv2", files), 0);
}

TEST(ProjectFile, FieldHelpers) {
    EXPECT_EQ(SplitAngleBrackets("File 1,1,<.\\main.c><main.c> 0x0"), "main.c");
    EXPECT_EQ(SplitAngleBrackets("File 1,1,<.\\main.c>"), "");
    EXPECT_EQ(SplitAngleBrackets("File 1,1,<.\\main.c><main.c"), "");
    EXPECT_EQ(SplitFileNameAtDot("MAIN.C>"), "C");
    EXPECT_EQ(SplitFileNameAtDot("V1.2.A51"), "A51");
    EXPECT_EQ(SplitFileNameAtDot("README"), "");
}

// The file type of a "File" line decides what a group file is; the extension
// only when the line names no known type.
TEST(ProjectFile, ModuleKindsComeFromTheFileType) {
    auto kindOf = [](const char* line) {
        const std::string name = platform::ToUpperKey(SplitAngleBrackets(line));
        return ModuleKindOf(FILEINFO{RemoveFileExtension(name), "." + SplitFileNameAtDot(name),
                                     FileTypeOfLine(line)});
    };
    EXPECT_EQ(kindOf("File 1,1,<.\\main.c51><main.c51>"), ModuleKind::C);
    EXPECT_EQ(kindOf("File 2,2,<.\\boot.src><boot.src> 0x0"), ModuleKind::Assembler);
    EXPECT_EQ(kindOf("File 3,5,<.\\old\\blink.c><blink.c>"), ModuleKind::None);
    EXPECT_EQ(kindOf("File 1,4,<C51S.LIB><C51S.LIB>"), ModuleKind::None);
    EXPECT_EQ(kindOf("File 1, 9,<.\\x.C51><x.C51>"), ModuleKind::C); // unknown type
    EXPECT_EQ(kindOf("File <.\\x.a51><x.a51>"), ModuleKind::Assembler);
    EXPECT_EQ(kindOf("File 1,9,<.\\notes.txt><notes.txt>"), ModuleKind::None);
}

// An assembler module is named by its NAME directive, in its source or in
// the assembler's listing of it.
TEST(ProjectFile, AssemblerModulesByTheirNameDirective) {
    auto nameIn = [](const std::string& text) {
        Loader loader;
        loader.AssignText("x", text);
        SplitTextLines(loader);
        return AssemblerModuleName(loader);
    };
    EXPECT_EQ(nameIn("; NAME commented\n\nNAME \twait ; the module\n"), "WAIT");
    EXPECT_EQ(nameIn("$NOMOD51\n\t\tNAME\t?C_STARTUP\r\n"), "?C_STARTUP");
    EXPECT_EQ(nameIn("LOC  OBJ            LINE     SOURCE\n\n"
                     "                     113                     NAME    ?C_STARTUP\n"),
              "?C_STARTUP");
    EXPECT_EQ(nameIn("N A M E             T Y P E  V A L U E\nNAMES EQU 1\n"), "");
}

// A project moved from the machine that built it: a drive-letter path is
// looked for under the project folder by its trailing parts, then by its
// file name in the folders given, never joined onto the project folder.
TEST(ProjectFile, DriveLetterPathsOfAMovedProject) {
    TempFolder folder;
    folder.Write("Obj/P.hex", ":00000001FF\n");
    folder.Write("Lst/x.lst", "listing\n");
    const std::string& dir = folder.Root();
    EXPECT_EQ(LocateProjectFile(dir, "C:\\Users\\me\\P\\OBJ\\p.HEX"), folder.Path("Obj/P.hex"));
    EXPECT_EQ(LocateProjectFile(dir, "C:\\Users\\me\\P\\Obj\\"), folder.Path("Obj"));
    EXPECT_EQ(LocateProjectFile(dir, "D:\\elsewhere\\x.lst"), "");
    EXPECT_EQ(LocateProjectFile(dir, "D:\\elsewhere\\x.lst", {folder.Path("Lst")}),
              folder.Path("Lst/x.lst"));
    EXPECT_EQ(LocateProjectFile(dir, ".\\x.lst", {folder.Path("Lst")}), ""); // relative: as given
}

TEST(ProjectFile, DemoProjectWithLowerCaseNamesOnDisk) {
    for (bool crlf : {false, true}) {
        TempFolder folder;
        debuginfo_test::CopyDemoProject(folder, crlf);
        ProjectSettings settings;
        ASSERT_EQ(ReadProjectFile(folder.Path("DEMO.UV2"), settings), 1);
        EXPECT_EQ(settings.m_strProjectDir, folder.Root());
        EXPECT_EQ(settings.m_strOutDir, ".\\");
        EXPECT_EQ(settings.m_strLstDir, ".\\");
        EXPECT_EQ(settings.m_strOutName, "demo");
        EXPECT_EQ(settings.m_strMapExt, "M51");
        ASSERT_EQ(settings.m_mapSourcePaths.size(), 3u);
        EXPECT_EQ(settings.m_mapSourcePaths.at("UTIL.C"), ".\\SRC\\UTIL.C");
        for (const auto& [name, path] : settings.m_mapSourcePaths)
            EXPECT_NE(platform::ResolvePath(settings.m_strProjectDir, path), "") << name;

        CFileStruct files;
        ASSERT_EQ(ReadProjectGroupFiles(folder.Path("DEMO.UV2"), files), 1);
        ASSERT_EQ(files.m_listFileInfo.size(), 3u);
        EXPECT_EQ(files.m_listFileInfo[1].m_strPath, "UTIL");
        EXPECT_EQ(files.m_listFileInfo[2].m_strExt, ".A51");
    }
}

TEST(ProjectFile, EveryRealProjectFileIsRead) {
    const std::vector<std::string> folders = debuginfo_test::KeilProjectFolders();
    if (folders.empty()) GTEST_SKIP() << debuginfo_test::KeilFixturesAbsentMessage();
    for (const std::string& folder : folders) {
        const auto projects = debuginfo_test::FilesWithExtensions(folder, {".uv2"});
        EXPECT_FALSE(projects.empty()) << folder;
        for (const std::string& project : projects) {
            SCOPED_TRACE(project);
            ProjectSettings settings;
            ASSERT_EQ(ReadProjectFile(project, settings), 1);
            EXPECT_TRUE(settings.m_strMapExt == "M51" || settings.m_strMapExt == "MAP");
            EXPECT_FALSE(settings.m_strOutName.empty());
            EXPECT_FALSE(settings.m_mapSourcePaths.empty());
            // Sources found as Open finds them (a moved project's absolute paths too).
            size_t found = 0;
            for (const auto& entry : settings.m_mapSourcePaths)
                if (!LocateProjectFile(settings.m_strProjectDir, entry.second).empty()) ++found;
            EXPECT_GT(found, 0u);

            CFileStruct files;
            ASSERT_EQ(ReadProjectGroupFiles(project, files), 1);
            EXPECT_FALSE(files.m_listFileInfo.empty());
            for (const FILEINFO& file : files.m_listFileInfo) {
                EXPECT_FALSE(file.m_strPath.empty());
                EXPECT_EQ(file.m_strExt.front(), '.');
            }
        }
    }
}
