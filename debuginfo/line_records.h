// The line records of the linker map, one list per module.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

constexpr uint32_t kLineFunctionStart = 0; // function or block start
constexpr uint32_t kLineFunctionEnd = 1;   // function or block end
constexpr uint32_t kLineSource = 2;        // a source line

struct CLineInfoInMapFormat {
    uint32_t m_nLine = 0;     // 0 for the start and end kinds
    uint32_t m_dwAddress = 0; // 0 for an end
    uint32_t m_nKind = kLineSource;
};

// The line records of one module in map order. Records keep their place in
// memory while more are added.
class CLineInfoInModule {
public:
    explicit CLineInfoInModule(std::string moduleName) : m_strModuleName(std::move(moduleName)) {}

    CLineInfoInMapFormat* AddLine(uint32_t line, uint32_t address, uint32_t kind) {
        m_lines.push_back(CLineInfoInMapFormat{line, address, kind});
        return &m_lines.back();
    }

    std::deque<CLineInfoInMapFormat> m_lines;
    std::string m_strModuleName;
};
