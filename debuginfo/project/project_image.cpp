#include "project_image.h"

#include <bitset>
#include <cstdio>
#include <memory>

#include "path_resolver.h"
#include "project_messages.h"
#include "project_paths.h"

namespace {

std::string AddressRange(uint32_t first, uint32_t last) {
    char text[32];
    if (first == last)
        std::snprintf(text, sizeof text, "0x%04X", unsigned(first));
    else
        std::snprintf(text, sizeof text, "0x%04X-0x%04X", unsigned(first), unsigned(last));
    return text;
}

bool IsFile(const std::string& path) {
    return !path.empty() && platform::FileExists(path);
}

} // namespace

ProjectImage LocateProjectImage(const ProjectSettings& settings) {
    const std::string& projectDir = settings.m_strProjectDir;
    const std::string name = settings.m_strOutName + ".hex";
    const std::string written = settings.m_strOutDir + name;
    ProjectImage image;
    const std::string folder = LocateProjectFile(projectDir, settings.m_strOutDir);
    if (folder.empty()) {
        image.m_strNamed = platform::ResolvePathForDisplay(projectDir, written);
    } else {
        const std::string found = platform::ResolvePath(folder, name);
        image.m_strNamed = found.empty() ? platform::JoinPath(folder, name) : found;
    }
    image.m_strPath = image.m_strNamed;
    // A named image that is no file to read is refused when it is read, not
    // passed over for another.
    if (platform::PathExists(image.m_strNamed)) return image;

    std::string other = LocateProjectFile(projectDir, written);
    if (!IsFile(other)) other = platform::ResolvePath(projectDir, name);
    if (IsFile(other)) image.m_strPath = other;
    return image;
}

bool ImageMatchesCodeSegments(const intelhex::Image& image,
                              const std::vector<CodeSegment>& segments, const std::string& mapName,
                              std::string& why, bool leftOut) {
    std::bitset<intelhex::kImageSize> code;
    for (const CodeSegment& segment : segments)
        for (uint64_t a = segment.m_dwStart;
             a < uint64_t(segment.m_dwStart) + segment.m_dwLength && a < intelhex::kImageSize; ++a)
            code.set(size_t(a));
    const std::bitset<intelhex::kImageSize> present =
        leftOut ? image.present & code : image.present;
    if (code == present) return true;

    uint32_t first = 0;
    while (code[first] == present[first])
        ++first;
    uint32_t last = first;
    while (last + 1 < intelhex::kImageSize && code[last + 1] == code[first] &&
           present[last + 1] == present[first])
        ++last;
    const std::string where = AddressRange(first, last);
    if (code[first])
        why = "the map " + mapName + " places code at " + where + ", where the image holds nothing";
    else
        why =
            "the image holds bytes at " + where + ", where the map " + mapName + " places no code";
    return false;
}

ImageDecision JudgeProjectImage(const ProjectImage& image, const MapLoader* map,
                                std::string& message) {
    const bool substitute = image.IsSubstitute();
    std::string why;
    auto bytes = std::make_unique<intelhex::Image>();
    if (!map) {
        if (!substitute) return ImageDecision::Take;
        why = "there is no linker map to compare it with";
    } else if (!intelhex::readFile(image.m_strPath, *bytes, why)) {
        if (!substitute) return ImageDecision::Take;
    } else {
        bool leftOut = false;
        const std::vector<CodeSegment> segments = ReadCodeSegments(*map, &leftOut);
        if (ImageMatchesCodeSegments(*bytes, segments, map->m_strPath, why, leftOut))
            return ImageDecision::Take;
    }
    if (!substitute) {
        message = FillFormat(kForeignImageQuestionFormat, {image.m_strPath, why});
        return ImageDecision::Ask;
    }
    message = FillFormat(kSubstituteImageFormat, {image.m_strNamed, image.m_strPath, why});
    return ImageDecision::Refuse;
}
