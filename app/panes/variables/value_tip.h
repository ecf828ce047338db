// The value tooltip of the source windows: the identifier under the mouse
// and the text the tip shows for it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

// An array shows at most this many bytes in a tip.
constexpr uint32_t kMaxArrayTipBytes = 64;

// The identifier (a run of ASCII letters, digits and '_') that covers the
// 1-based character column of a line; "-1" when the column falls on no
// identifier. The line ends at its first line feed.
std::string IdentifierAt(const std::string& line, int column);

// The tip of a variable at `pc` (a local of the function holding it first,
// else a data symbol), read from the host copies: "name : value" with the
// value in signed decimal, a generic pointer as where it points
// ("C:0x1336"), or for an array its bytes as two hexadecimal digits joined
// by "," (cut after kMaxArrayTipBytes with ",..."). None for a name that is
// no variable.
std::optional<std::string> ValueTipText(const std::string& identifier, std::optional<uint16_t> pc);
