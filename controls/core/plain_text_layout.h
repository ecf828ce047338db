// Layouts of the HTML-row list's other row types: plain text broken into
// lines at blanks to fit a width, and a file path shortened with "..." to
// fit on one line.
#pragma once

#include "text_measurer.h"

#include <string>
#include <vector>

namespace controls {

// Lines of `text` no wider than `width` where a blank allows a break; line
// feeds always break. A single word wider than `width` keeps its own line.
std::vector<std::string> WrapPlainText(const std::string& text, int width, TextMeasurer& measurer);

// `path` unchanged when it fits in `width`; otherwise its leading part, "..."
// and its file name (with the separator before it); when even that does not
// fit, the file name cut short and followed by "...".
std::string CompactPath(const std::string& path, int width, TextMeasurer& measurer);

} // namespace controls
