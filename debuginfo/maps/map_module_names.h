// The object modules a linker map lists under "INPUT MODULES INCLUDED:".
#pragma once

#include <list>
#include <string>
#include <string_view>

#include "text_loader.h"

// 1 for a line whose first two words are "COMMENT" and "TYPE" (the second
// followed by a blank): a note under a module line. 0 for any other line.
int ParseMapHeaderLine(std::string_view line);

// Adds at the front of `names`, for every ".obj" line after the heading, the
// line's file without its extension; the first line of another kind ends the
// list. Notes are skipped.
void ReadMapModuleNames(const Loader& map, std::list<std::string>& names);
