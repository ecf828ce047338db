// Which Intel HEX image Open takes for a project file, and whether an image
// found in place of a missing one is the image of the build the map describes.
#pragma once

#include <string>
#include <vector>

#include "intel_hex.h"
#include "map_code_segments.h"
#include "map_loader.h"
#include "project_file.h"

struct ProjectImage {
    // The image the project names: OutName + ".hex" in its output folder,
    // with as much of the path resolved as exists.
    std::string m_strNamed;
    // The image Open takes: the named one when it exists; else a same-named
    // image found elsewhere (a substitute); else the named path.
    std::string m_strPath;

    bool IsSubstitute() const { return m_strPath != m_strNamed; }
};

// The output folder is found as the project's other files are (an absolute
// one by its trailing parts under the project folder). When the image is not
// in it, a same-named image is looked for by those trailing parts, then beside
// the project file.
ProjectImage LocateProjectImage(const ProjectSettings& settings);

// True when `image` holds a byte at every address of `segments` and at no
// other: the bytes the linker placed, and nothing else. Otherwise `why` says
// where they first differ ("the map places code at 0x07F9-0x07FA, where the
// image holds nothing", with `mapName` after "the map"). When `leftOut`, the
// map had segment lines that could not be read: the image's bytes outside
// `segments` may be theirs and are not held against it.
bool ImageMatchesCodeSegments(const intelhex::Image& image,
                              const std::vector<CodeSegment>& segments, const std::string& mapName,
                              std::string& why, bool leftOut = false);

// What Open does with the image it found.
enum class ImageDecision {
    Take,   // the image is this build's, or there is nothing to compare it with
    Ask,    // the project's own image differs from its map: the user decides
    Refuse, // a substitute that is not this build's
};

// The image is compared with the code memory map of `map` (null when the
// project has no map). A substitute is taken only when it matches; the
// project's own image is taken when it matches, when there is no map and
// when it cannot be read (the disassembler then says why), and asked about
// otherwise. For Ask and Refuse, `message` is the text to show, naming the
// image, the map and where they first differ.
ImageDecision JudgeProjectImage(const ProjectImage& image, const MapLoader* map,
                                std::string& message);
