// The image of every real project beside the repository: it holds the bytes
// its map places, and when it is missing from its output folder Open says
// which file it looked for, and takes an image of the same name beside the
// project only when it is this build's.
#include <gtest/gtest.h>

#include <bitset>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "loaded_model.h"
#include "loader_fakes.h"
#include "map_code_segments.h"
#include "message_service.h"
#include "path_resolver.h"
#include "project_image.h"
#include "test_support.h"

namespace fs = std::filesystem;

namespace {

// The map Open reads for the project, found as the loader finds it.
std::string ProjectMap(const ProjectSettings& settings) {
    const std::string base = settings.m_strLstDir + settings.m_strOutName;
    const std::string m51 = LocateProjectFile(settings.m_strProjectDir, base + ".M51");
    const std::string map = LocateProjectFile(settings.m_strProjectDir, base + ".MAP");
    if (!map.empty() && (m51.empty() || settings.m_strMapExt == "MAP")) return map;
    return m51;
}

struct OpenResult {
    bool loaded = false;
    std::vector<std::string> messages;
    bool disassembled = false; // Open went on to the image's disassembly
};

OpenResult Open(const std::string& project, const std::string& output,
                platform::MessageAnswer first = platform::MessageAnswer::Ok) {
    debuginfo_test::RecordingView view;
    debuginfo_test::RecordingSession session;
    CProjectLoader loader(view, session);
    loader.m_strDisassemblerDir = VEXA_BIN_DIR;
    loader.m_strDisassemblyOutput = output;
    platform::RecordingMessageService messages;
    messages.answers = {first, platform::MessageAnswer::Ok, platform::MessageAnswer::No};
    view.dialogAnswers.push_back(project);
    loader.OnFileOpen();
    OpenResult result{session.loaded, messages.Texts(), !view.Calls("SetCodeMemoryEnd").empty()};
    loader.CloseProject();
    return result;
}

} // namespace

TEST(KeilProjectImages, EachImageHoldsTheBytesItsMapPlacesAndNoOther) {
    const std::vector<std::string> folders = debuginfo_test::KeilProjectFolders();
    if (folders.empty()) GTEST_SKIP() << debuginfo_test::KeilFixturesAbsentMessage();
    size_t checked = 0;
    for (const std::string& folder : folders) {
        for (const std::string& project : debuginfo_test::FilesWithExtensions(folder, {".uv2"})) {
            SCOPED_TRACE(project);
            ProjectSettings settings;
            ASSERT_TRUE(ReadProjectFile(project, settings));
            const ProjectImage image = LocateProjectImage(settings);
            EXPECT_FALSE(image.IsSubstitute());
            const MapLoader map(ProjectMap(settings));
            ASSERT_TRUE(map.m_bFileOpen);
            auto bytes = std::make_unique<intelhex::Image>();
            std::string why;
            ASSERT_TRUE(intelhex::readFile(image.m_strPath, *bytes, why)) << why;
            EXPECT_TRUE(ImageMatchesCodeSegments(*bytes, ReadCodeSegments(map), "", why)) << why;
            ++checked;
        }
    }
    EXPECT_GT(checked, 0u);
}

// Projects whose output folder is not the project folder, copied: the image
// removed from the output folder, then a same-named image put beside the
// project, first another build's (one byte more than the map places), then
// the right one.
TEST(KeilProjectImages, AMissingImageIsNamedAndOnlyThisBuildsImageTakesItsPlace) {
    const std::vector<std::string> folders = debuginfo_test::KeilProjectFolders();
    if (folders.empty()) GTEST_SKIP() << debuginfo_test::KeilFixturesAbsentMessage();
    debuginfo_test::TempFolder scratch;
    const std::string output = scratch.Path("Corvex.out");
    size_t tried = 0;
    for (const std::string& folder : folders) {
        for (const std::string& original : debuginfo_test::FilesWithExtensions(folder, {".uv2"})) {
            SCOPED_TRACE(original);
            ProjectSettings settings;
            ASSERT_TRUE(ReadProjectFile(original, settings));
            const std::string outputFolder =
                platform::ResolvePath(settings.m_strProjectDir, settings.m_strOutDir);
            if (outputFolder.empty() || fs::equivalent(outputFolder, settings.m_strProjectDir))
                continue;

            debuginfo_test::TempFolder copy;
            fs::copy(folder, copy.Root(), fs::copy_options::recursive);
            const std::string project = copy.Path(fs::relative(original, folder).string());
            const std::string projectDir = fs::path(project).parent_path().string();
            const std::string named = platform::ResolvePath(projectDir, settings.m_strOutDir) +
                                      "/" + settings.m_strOutName + ".hex";
            const std::string beside = projectDir + "/" + settings.m_strOutName + ".hex";
            const OpenResult untouched = Open(project, output);

            const std::string right = debuginfo_test::ReadWholeFile(named);
            auto image = std::make_unique<intelhex::Image>();
            std::string why;
            ASSERT_TRUE(intelhex::parseText(right, *image, why)) << why;
            fs::remove(named);
            fs::remove(beside);
            EXPECT_EQ(Open(project, output).messages,
                      (std::vector<std::string>{"Disassembler failed: corvex: " + named +
                                                ": cannot open: No such file or directory\n"
                                                "Stop Project Loading."}));

            unsigned free = 0;
            while (free < intelhex::kImageSize && image->present[free])
                ++free;
            ASSERT_LT(free, intelhex::kImageSize);
            std::ofstream(beside) << debuginfo_test::HexRecord(free, {0x22}) << right;
            char where[8];
            std::snprintf(where, sizeof where, "0x%04X", free);
            const OpenResult other = Open(project, output);
            EXPECT_FALSE(other.loaded);
            ASSERT_EQ(other.messages.size(), 1u);
            const std::string stop = "The project's image " + named +
                                     " does not exist. The image of that name found at " + beside +
                                     " is not this build's: the image holds bytes at " + where +
                                     ", where the map ";
            EXPECT_EQ(other.messages[0].rfind(stop, 0), 0u) << other.messages[0];
            EXPECT_NE(other.messages[0].find(" places no code.\nStop Project Loading."),
                      std::string::npos);

            std::ofstream(beside) << right;
            const OpenResult taken = Open(project, output);
            EXPECT_EQ(taken.loaded, untouched.loaded);
            EXPECT_EQ(taken.messages, untouched.messages);
            ++tried;
        }
    }
    std::printf("%zu projects with an output folder of their own\n", tried);
}

// Each project with the image of the next one copied over its own: Open names
// the image, the map and the first address where they differ, and goes on
// with that image only when the user says Yes.
TEST(KeilProjectImages, AnotherProjectsImageIsNamedAndTakenOnlyOnYes) {
    std::vector<std::string> projects;
    for (const std::string& folder : debuginfo_test::KeilProjectFolders())
        for (const std::string& project : debuginfo_test::FilesWithExtensions(folder, {".uv2"}))
            projects.push_back(project);
    if (projects.size() < 2) GTEST_SKIP() << debuginfo_test::KeilFixturesAbsentMessage();
    debuginfo_test::TempFolder scratch;
    size_t asked = 0;
    for (size_t i = 0; i < projects.size(); ++i) {
        const std::string& original = projects[i];
        SCOPED_TRACE(original);
        ProjectSettings settings, other;
        ASSERT_TRUE(ReadProjectFile(original, settings));
        ASSERT_TRUE(ReadProjectFile(projects[(i + 1) % projects.size()], other));
        const std::string foreign =
            debuginfo_test::ReadWholeFile(LocateProjectImage(other).m_strPath);
        auto image = std::make_unique<intelhex::Image>();
        std::string why;
        ASSERT_TRUE(intelhex::parseText(foreign, *image, why)) << why;
        std::bitset<intelhex::kImageSize> code;
        for (const CodeSegment& segment : ReadCodeSegments(MapLoader(ProjectMap(settings))))
            for (uint32_t a = segment.m_dwStart; a - segment.m_dwStart < segment.m_dwLength; ++a)
                code.set(a);
        uint32_t first = 0;
        while (first < intelhex::kImageSize && code[first] == image->present[first])
            ++first;
        if (first == intelhex::kImageSize) continue; // the same addresses: nothing tells them apart

        const std::string folder = fs::path(original).parent_path().string();
        const std::string copy = scratch.Path("copy" + std::to_string(i));
        debuginfo_test::CopyFolder(folder, copy);
        const std::string project = copy + "/" + fs::relative(original, folder).string();
        ASSERT_TRUE(ReadProjectFile(project, settings));
        const std::string named = LocateProjectImage(settings).m_strPath;
        std::ofstream(named, std::ios::binary | std::ios::trunc) << foreign;
        char where[16];
        std::snprintf(where, sizeof where, " at 0x%04X", unsigned(first));
        for (auto answer : {platform::MessageAnswer::No, platform::MessageAnswer::Yes}) {
            const OpenResult opened = Open(project, scratch.Path("Corvex.out"), answer);
            ASSERT_FALSE(opened.messages.empty());
            const std::string& question = opened.messages[0];
            EXPECT_EQ(question.rfind("The image " + named + " is not the build the map ", 0), 0u)
                << question;
            EXPECT_NE(question.find(platform::FileNameOf(ProjectMap(settings))), std::string::npos);
            EXPECT_NE(question.find(where), std::string::npos) << question;
            EXPECT_EQ(opened.disassembled, answer == platform::MessageAnswer::Yes);
            if (answer == platform::MessageAnswer::No) {
                EXPECT_FALSE(opened.loaded);
                EXPECT_EQ(opened.messages.size(), 1u);
            }
        }
        ++asked;
    }
    EXPECT_GT(asked, 0u);
}
