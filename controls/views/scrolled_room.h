// The least room a window with scrollbars may be given. The toolkit lays a
// scrollbar out to a minimum length (about 46 pixels in the default theme)
// and warns on every layout that gives it less, so a pane too small for its
// list lets the list run past its bottom edge (cut off there) instead.
#pragma once

namespace controls {
constexpr int kLeastScrolledLength = 48;
} // namespace controls
