#include "search_ranges.h"

namespace editor {

SearchRange ForwardSearchRange(long selectionEnd, long textLength) {
    return SearchRange{selectionEnd, textLength};
}

SearchRange BackwardSearchRange(long selectionStart, long caret) {
    return SearchRange{selectionStart >= 0 ? selectionStart : caret, 0};
}

} // namespace editor
