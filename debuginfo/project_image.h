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
// image holds nothing", with `mapName` after "the map").
bool ImageMatchesCodeSegments(const intelhex::Image& image,
                              const std::vector<CodeSegment>& segments, const std::string& mapName,
                              std::string& why);

// A substitute is taken only when it matches the code segments of `map`
// (null when the project has no map). True when it is taken or when there
// is no substitute; otherwise `message` is the text that stops Open, naming
// both images.
bool AcceptSubstituteImage(const ProjectImage& image, const MapLoader* map, std::string& message);
