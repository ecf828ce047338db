// Writing a whole file so that a reader never sees a partial one.
#pragma once

#include <string>

namespace corvex {

// Writes `contents` to a temporary file in the same folder as `path`, then
// renames it to `path`. On failure returns false with a one-line message in
// `error`; the temporary file is removed and `path` is left as it was.
bool writeFileAtomically(const std::string& path, const std::string& contents, std::string& error);

} // namespace corvex
