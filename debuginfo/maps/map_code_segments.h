// The code memory map of a linker map: the addresses the build gave code and
// constants, which are the bytes its Intel HEX image holds.
#pragma once

#include <cstdint>
#include <vector>

#include "map_loader.h"

// One segment of the code memory map: [m_dwStart, m_dwStart + m_dwLength).
struct CodeSegment {
    uint32_t m_dwStart = 0;
    uint32_t m_dwLength = 0;
};

// The segments of the map's code memory map in map order, read from an .M51
// map ("CODE    0800H     008CH     UNIT   ?C_C51STARTUP") or an extended
// .MAP map ("000800H   000A43H   000244H   BYTE   INBLOCK  CODE   ?PR?MAIN?M");
// gaps are not segments, and lines that do not read as a segment are skipped,
// as are the lines the map's reader refused (`leftOut` then says so).
std::vector<CodeSegment> ReadCodeSegments(const MapLoader& map, bool* leftOut = nullptr);
