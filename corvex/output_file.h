// The output file: what may be replaced, and writing it so that a reader
// never sees a partial one.
#pragma once

#include <string>

namespace corvex {

// Whether `output` may be replaced by the disassembly of `input`: it does not
// exist yet, or it is a regular file of one name (no other hard link) that is
// writable and is not `input` itself. A symbolic link (even a dangling one),
// a folder, FIFO, device or socket is not replaced, and nothing is written
// through it. Otherwise returns false with a one-line message in `error`.
bool mayReplaceOutput(const std::string& input, const std::string& output, std::string& error);

// Writes `contents` to a new temporary file in the same folder as `path`, then
// renames it to `path`, which replaces that name only. On failure returns
// false with a one-line message in `error`; the temporary file is removed and
// `path` is left as it was.
bool writeFileAtomically(const std::string& path, const std::string& contents, std::string& error);

} // namespace corvex
