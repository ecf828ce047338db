// What a reader could not take from a text file of the build: the lines it
// refused (a damaged number, an address the program cannot have) and whether
// the file ends before its last section does. Open tells the user once per
// file; what the file holds besides is read as usual.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The largest code or external-data address, and the most bytes a segment or
// a variable can span.
constexpr uint32_t kHighestAddress = 0xFFFF;
constexpr uint32_t kAddressSpaceSize = 0x10000;

struct RefusedLine {
    uint32_t m_nLine = 0; // the file's line, from 1
    std::string m_strReason;
};

class FileFaults {
public:
    // The line `line` was not read: `field` holds `text`, which `fault`
    // (a phrase such as "is not a number").
    void Refuse(uint32_t line, std::string_view field, std::string_view text,
                std::string_view fault);
    void SetIncomplete() { m_bIncomplete = true; }
    bool Empty() const { return m_refused.empty() && !m_bIncomplete; }

    // The one message for the file at `path`: that it is incomplete, and the
    // lines left out in line order (the first few, then how many more).
    std::string Message(const std::string& path) const;

    std::vector<RefusedLine> m_refused;
    bool m_bIncomplete = false;
};
