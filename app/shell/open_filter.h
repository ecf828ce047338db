// The Open dialog's file filter.
#pragma once

#include <string>

// A "description | *.a;*.b; |" filter turned into the dialog's
// "description|patterns" form, each "*.ext" pattern also given in lower and
// upper case (".Uv2", ".uv2" and ".UV2" all match).
std::string DialogFilter(const std::string& filter);
