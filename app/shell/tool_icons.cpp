#include "tool_icons.h"

#include "embedded_icons.h"

wxBitmapBundle ToolIcon(const char* name) {
    const char* svg = res::IconSvg(name);
    if (!svg) return wxBitmapBundle();
    return wxBitmapBundle::FromSVG(svg, wxSize(16, 16));
}
