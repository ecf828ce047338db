// The pictures of the toolbar buttons: the SVG icons of res/icons/ as bitmap
// bundles, sharp at every scale.
#pragma once

#include <wx/bmpbndl.h>

// The icon `name` (its file name without ".svg") at a default size of 16 by
// 16 pixels; an empty bundle when there is no such icon.
wxBitmapBundle ToolIcon(const char* name);
