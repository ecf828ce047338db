#include "html_list_model.h"

#include <algorithm>

namespace controls {

int HtmlListModel::InsertItem(const std::string& text, int type, int height, int marker,
                              const HeightMeasure& measure) {
    HTMLLIST_ITEM item;
    item.id = GetItemCount();
    item.type = type;
    item.text = text;
    item.marker = marker;
    item.fixedHeight = height != 0;
    item.height = item.fixedHeight ? height : measure(item);
    AppendTop(item.height);
    items_.push_back(std::move(item));
    return items_.back().id;
}

void HtmlListModel::DeleteAllItems() {
    items_.clear();
    tops_.assign(1, 0);
    selected_ = current_ = -1;
    scrollPos_ = 0;
}

void HtmlListModel::RecalcLayout(const HeightMeasure& measure) {
    tops_.assign(1, 0);
    tops_.reserve(items_.size() + 1);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        HTMLLIST_ITEM& item = items_[i];
        item.id = static_cast<int>(i);
        if (!item.fixedHeight) item.height = measure(item);
        AppendTop(item.height);
    }
    scrollPos_ = std::min(scrollPos_, ScrollLimit());
}

bool HtmlListModel::SetItemMarker(int id, int marker) {
    if (!IsValidId(id)) return false;
    items_[id].marker = marker;
    return true;
}

bool HtmlListModel::SetItemChecked(int id, bool checked) {
    if (!IsValidId(id)) return false;
    items_[id].checked = checked;
    return true;
}

int HtmlListModel::ItemAtOffset(int y) const {
    if (y < 0 || y >= TotalHeight()) return -1;
    // The last top not above y; rows of height 0 are skipped over.
    auto it = std::upper_bound(tops_.begin(), tops_.end(), y);
    return static_cast<int>(it - tops_.begin()) - 1;
}

void HtmlListModel::VisibleRange(int& first, int& last) const {
    first = ItemAtOffset(scrollPos_);
    if (first < 0) {
        first = 0;
        last = -1;
        return;
    }
    int bottom = scrollPos_ + clientHeight_;
    last = first;
    while (last + 1 < GetItemCount() && tops_[last + 1] < bottom)
        ++last;
}

void HtmlListModel::SetClientHeight(int height) {
    clientHeight_ = std::max(0, height);
    scrollPos_ = std::min(scrollPos_, ScrollLimit());
}

int HtmlListModel::ScrollLimit() const {
    return std::max(0, TotalHeight() - clientHeight_);
}

bool HtmlListModel::ScrollTo(int pos) {
    pos = std::clamp(pos, 0, ScrollLimit());
    if (pos == scrollPos_) return false;
    scrollPos_ = pos;
    return true;
}

bool HtmlListModel::ScrollBy(int delta) {
    return ScrollTo(scrollPos_ + delta);
}

bool HtmlListModel::ScrollWheel(int wheelDelta) {
    if (wheelDelta == 0) return false;
    return ScrollBy(wheelDelta < 0 ? kWheelStep : -kWheelStep);
}

bool HtmlListModel::EnsureVisible(int id) {
    if (!IsValidId(id)) return false;
    const int top = tops_[id];
    const int bottom = tops_[id + 1];
    int pos = scrollPos_;
    if (top < pos) {
        pos = top;
    } else if (bottom > pos + clientHeight_) {
        pos = bottom - clientHeight_;
    }
    return ScrollTo(pos);
}

bool HtmlListModel::MoveSelectionUp() {
    if (items_.empty()) return false;
    selected_ = selected_ < 0 ? 0 : std::max(0, selected_ - 1);
    return true;
}

bool HtmlListModel::MoveSelectionDown() {
    if (items_.empty()) return false;
    selected_ = selected_ < 0 ? GetItemCount() - 1 : std::min(GetItemCount() - 1, selected_ + 1);
    return true;
}

bool HtmlListModel::MoveSelectionByPage(bool up) {
    if (items_.empty()) return false;
    const int from = selected_ >= 0 ? selected_ : std::max(0, ItemAtOffset(scrollPos_));
    const int page = std::max(1, clientHeight_);
    // Down from the row's top, up from its bottom: a page down and a page up
    // come back to the same row.
    const int y =
        std::clamp(up ? ItemTop(from + 1) - 1 - page : ItemTop(from) + page, 0, TotalHeight() - 1);
    int row = ItemAtOffset(y);
    if (row < 0) row = up ? 0 : GetItemCount() - 1;
    if (row == from) row = up ? std::max(0, from - 1) : std::min(GetItemCount() - 1, from + 1);
    selected_ = row;
    return true;
}

bool HtmlListModel::MoveSelectionToEnd(bool last) {
    if (items_.empty()) return false;
    selected_ = last ? GetItemCount() - 1 : 0;
    return true;
}

} // namespace controls
