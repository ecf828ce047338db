// The toolbar icons, built into the program from res/icons/*.svg.
#pragma once

namespace res {

struct EmbeddedIcon {
    const char* name; // the file name without ".svg"
    const char* svg;  // the whole SVG text
};

// Every icon, in the order of their names.
const EmbeddedIcon* IconsBegin();
const EmbeddedIcon* IconsEnd();
// The SVG text of the icon `name`; null when there is none.
const char* IconSvg(const char* name);

} // namespace res
