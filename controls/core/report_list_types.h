// Records and codes shared by the report-list model and its views.
#pragma once

#include "colour.h"

#include <cstdint>
#include <string>
#include <vector>

namespace controls {

// Item state bits as the state operations take and give them.
enum ItemStateBits : unsigned {
    kStateAny = 0x01,
    kStateSelected = 0x02,
    kStateNotSelected = 0x04,
    kStateChecked = 0x08,
    kStateNotChecked = 0x10,
    kStateFocused = 0x20,
    kStateNotFocused = 0x40,
};

// 0: no check handling; 1: free check boxes; 2: at most one checked row;
// 3: check boxes that a click cannot change.
enum class CheckMode { None = 0, Free = 1, Single = 2, Locked = 3 };

// The mouse message that caused a check change (carried by its notification).
enum class MouseButton {
    LeftDown,
    LeftDoubleClick,
    RightDown,
    RightDoubleClick,
    MiddleDown,
    MiddleDoubleClick,
};

inline bool IsLeftButton(MouseButton button) {
    return button == MouseButton::LeftDown || button == MouseButton::LeftDoubleClick;
}

// Keys the list looks at before its edit box or its own navigation.
enum class EditKey { Tab, Return, Escape, Up, Down, Space, Delete, Other };

// Per-row data kept beside the texts: the caller's item data and a text and
// background colour per column, used when the row is drawn.
struct RowRecord {
    std::uint32_t itemData = 0;
    std::vector<Rgb> textColours;
    std::vector<Rgb> backgroundColours;
};

struct ReportRow {
    std::vector<std::string> texts; // one per column
    RowRecord record;
    bool checked = false;
    bool selected = false;
    bool focused = false;
};

// Where a mouse click landed.
struct CellHit {
    int row = -1;
    int column = -1;
    bool onCheckBox = false;
};

} // namespace controls
