// Run control's lookups answered by the open project: the disassembly text
// of an address and the code symbol of a source line. Positions come from
// the loaded symbol table.
#pragma once

#include "run_lookups.h"

class CProjectLoader;

// Lookups reading `loader`'s project as it is when they are asked.
RunControlLookups ProjectLookups(const CProjectLoader& loader);
