// The line records of the linker map, one list per module.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

constexpr uint32_t kLineFunctionStart = 0; // function or block start
constexpr uint32_t kLineFunctionEnd = 1;   // function or block end
constexpr uint32_t kLineSource = 2;        // a source line

// The address of a function start whose code segment the map gives no
// usable numbers for: no code lies there.
constexpr uint32_t kNoCodeAddress = 0xFFFFFFFF;

struct CLineInfoInMapFormat {
    uint32_t m_nLine = 0;     // 0 for the start and end kinds
    uint32_t m_dwAddress = 0; // 0 for an end
    uint32_t m_nKind = kLineSource;
    uint32_t m_nMapLine = 0; // the map's line that gave the record, from 1
    // The record after this source line was refused or cut off, so where
    // this line's code ends is not known: it keeps only the instruction at
    // its address.
    bool m_bNextRefused = false;
};

// The line records of one module in map order. Records keep their place in
// memory while more are added.
class CLineInfoInModule {
public:
    explicit CLineInfoInModule(std::string moduleName) : m_strModuleName(std::move(moduleName)) {}

    CLineInfoInMapFormat* AddLine(uint32_t line, uint32_t address, uint32_t kind,
                                  uint32_t mapLine = 0) {
        m_lines.push_back(CLineInfoInMapFormat{line, address, kind, mapLine, false});
        return &m_lines.back();
    }

    std::deque<CLineInfoInMapFormat> m_lines;
    std::string m_strModuleName;
};
