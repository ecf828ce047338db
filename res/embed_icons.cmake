# Writes OUTPUT: a C++ source holding every ICON_DIR/*.svg as a text, found
# by its file name without ".svg" (see embedded_icons.h).
file(GLOB icons ${ICON_DIR}/*.svg)
list(SORT icons)
set(table "")
foreach(icon IN LISTS icons)
  get_filename_component(name ${icon} NAME_WE)
  file(READ ${icon} text)
  string(APPEND table "    {\"${name}\", R\"vexasvg(${text})vexasvg\"},\n")
endforeach()
file(WRITE ${OUTPUT}.tmp
"// Generated from res/icons/*.svg by res/embed_icons.cmake; do not edit.
#include \"embedded_icons.h\"

#include <cstring>

namespace res {
namespace {

const EmbeddedIcon kIcons[] = {
${table}};

} // namespace

const EmbeddedIcon* IconsBegin() { return kIcons; }
const EmbeddedIcon* IconsEnd() { return kIcons + sizeof kIcons / sizeof kIcons[0]; }

const char* IconSvg(const char* name) {
    for (const EmbeddedIcon* icon = IconsBegin(); icon != IconsEnd(); ++icon)
        if (std::strcmp(icon->name, name) == 0) return icon->svg;
    return nullptr;
}

} // namespace res
")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
