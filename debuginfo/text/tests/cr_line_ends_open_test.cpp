// A project whose text files all end their lines with a lone carriage return
// loads exactly as the project as written: the example in both map forms and
// every real project that opens.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "loaded_model.h"
#include "path_resolver.h"
#include "test_support.h"

using namespace debuginfo_test;

namespace {

// Every file below `folder` but the images and files with NUL bytes, its
// CR LF and LF line ends turned into CR.
void MakeLineEndsCrOnly(const std::string& folder) {
    namespace fs = std::filesystem;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_regular_file() ||
            platform::EqualsNoCase(entry.path().extension().string(), ".hex"))
            continue;
        const std::string text = ReadWholeFile(entry.path().string());
        if (text.find('\0') != std::string::npos) continue;
        std::string cr;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
            cr += text[i] == '\n' ? '\r' : text[i];
        }
        std::ofstream(entry.path(), std::ios::binary | std::ios::trunc) << cr;
    }
}

} // namespace

TEST(CrLineEndsOpen, ACrOnlyProjectLoadsAsTheProjectAsWritten) {
    ForEveryProjectThatOpens([](const LoadedModel& written, const FreshCopy& fresh) {
        const ProjectCopy copy = fresh();
        MakeLineEndsCrOnly(copy.root);
        const LoadedModel cr = copy.Open();
        ASSERT_TRUE(cr.loaded);
        EXPECT_EQ(cr.messages, written.messages);
        ExpectSameModel(cr, written);
    });
}
