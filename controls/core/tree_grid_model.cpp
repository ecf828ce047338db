#include "tree_grid_model.h"

#include <algorithm>

namespace controls {
namespace {

std::unique_ptr<CItemInfo> OrEmpty(std::unique_ptr<CItemInfo> info) {
    return info ? std::move(info) : std::make_unique<CItemInfo>();
}

} // namespace

CTreeItem* TreeGridModel::InsertItem(std::unique_ptr<CItemInfo> info) {
    auto item = std::make_unique<CTreeItem>();
    item->info_ = OrEmpty(std::move(info));
    item->indent_ = 1;
    CTreeItem* raw = item.get();
    roots_.push_back(std::move(item));
    rows_.push_back(raw);
    Renumber();
    return raw;
}

CTreeItem* TreeGridModel::InsertChildItem(CTreeItem* parent, std::unique_ptr<CItemInfo> info,
                                          bool update) {
    if (!parent) return nullptr;
    const bool wasExpanded = IsShown(parent) && IsExpanded(parent);
    const bool hadShownChildren = wasExpanded && ItemHasChildren(parent);
    auto child = std::make_unique<CTreeItem>();
    child->info_ = OrEmpty(std::move(info));
    child->parent_ = parent;
    child->indent_ = parent->indent_ + 1;
    CTreeItem* raw = child.get();
    if (update) {
        int at = wasExpanded ? ShownSubtreeEnd(parent) : -1;
        parent->children_.push_back(std::move(child));
        if (at >= 0) {
            rows_.insert(rows_.begin() + at, raw);
            Renumber();
        }
        return raw;
    }
    // Without update the parent keeps its new child hidden; children it was
    // showing are hidden with it, so the rows never disagree with the flag.
    if (hadShownChildren) CollapseItem(parent);
    parent->children_.push_back(std::move(child));
    parent->hiddenChildren_ = true;
    return raw;
}

bool TreeGridModel::ExpandItem(CTreeItem* item) {
    if (!item || !item->hiddenChildren_ || !IsShown(item)) return false;
    item->hiddenChildren_ = false;
    std::vector<CTreeItem*> shown;
    ShowChildren(item, shown);
    rows_.insert(rows_.begin() + item->row_ + 1, shown.begin(), shown.end());
    Renumber();
    return true;
}

bool TreeGridModel::CollapseItem(CTreeItem* item) {
    if (!item || item->hiddenChildren_ || !ItemHasChildren(item) || !IsShown(item)) return false;
    RemoveRows(item->row_ + 1, ShownSubtreeEnd(item));
    item->hiddenChildren_ = true;
    Renumber();
    return true;
}

void TreeGridModel::ExpandAll(CTreeItem* item) {
    if (!item) return;
    ExpandItem(item);
    for (const auto& child : item->children_)
        ExpandAll(child.get());
}

void TreeGridModel::DeleteItem(CTreeItem* item) {
    if (!item) return;
    if (IsShown(item)) RemoveRows(item->row_, ShownSubtreeEnd(item));
    if (selected_ && IsInSubtree(selected_, item)) selected_ = nullptr;
    auto& siblings = item->parent_ ? item->parent_->children_ : roots_;
    CTreeItem* parent = item->parent_;
    siblings.erase(std::find_if(siblings.begin(), siblings.end(),
                                [item](const auto& p) { return p.get() == item; }));
    if (parent && parent->children_.empty()) parent->hiddenChildren_ = false;
    Renumber();
}

void TreeGridModel::DeleteAll() {
    rows_.clear();
    roots_.clear();
    selected_ = nullptr;
}

int TreeGridModel::FindItemIndex(const CTreeItem* item) const {
    return IsShown(item) ? item->row_ : -1;
}

CTreeItem* TreeGridModel::GetItemAtRow(int row) const {
    return row >= 0 && row < GetRowCount() ? rows_[row] : nullptr;
}

bool TreeGridModel::IsInSubtree(const CTreeItem* item, const CTreeItem* root) {
    for (; item; item = item->parent_) {
        if (item == root) return true;
    }
    return false;
}

bool TreeGridModel::CanDrop(const CTreeItem* dragged, const CTreeItem* target) {
    return dragged && target && dragged->parent_ && target != dragged->parent_ &&
           !IsInSubtree(target, dragged);
}

CTreeItem* TreeGridModel::MoveSubtree(CTreeItem* dragged, CTreeItem* target,
                                      const CopyInfo& copyInfo) {
    if (!CanDrop(dragged, target)) return nullptr;
    const int at = IsShown(target) && IsExpanded(target) ? ShownSubtreeEnd(target) : -1;
    std::unique_ptr<CTreeItem> copy = CopySubtree(*dragged, target, copyInfo);
    CTreeItem* raw = copy.get();
    target->children_.push_back(std::move(copy));
    if (at >= 0) {
        std::vector<CTreeItem*> shown{raw};
        if (!raw->hiddenChildren_) ShowChildren(raw, shown);
        rows_.insert(rows_.begin() + at, shown.begin(), shown.end());
    }
    Renumber();
    DeleteItem(dragged);
    return raw;
}

bool TreeGridModel::IsShown(const CTreeItem* item) const {
    return item && item->row_ >= 0 && item->row_ < GetRowCount() && rows_[item->row_] == item;
}

bool TreeGridModel::IsExpanded(const CTreeItem* item) const {
    return !item->hiddenChildren_;
}

int TreeGridModel::ShownSubtreeEnd(const CTreeItem* item) const {
    int row = item->row_ + 1;
    while (row < GetRowCount() && rows_[row]->indent_ > item->indent_)
        ++row;
    return row;
}

void TreeGridModel::ShowChildren(CTreeItem* item, std::vector<CTreeItem*>& out) const {
    for (const auto& child : item->children_) {
        out.push_back(child.get());
        if (!child->hiddenChildren_) ShowChildren(child.get(), out);
    }
}

void TreeGridModel::RemoveRows(int first, int end) {
    for (int row = first; row < end; ++row) {
        if (rows_[row] == selected_) selected_ = nullptr;
        rows_[row]->row_ = -1;
    }
    rows_.erase(rows_.begin() + first, rows_.begin() + end);
}

void TreeGridModel::Renumber() {
    for (int row = 0; row < GetRowCount(); ++row)
        rows_[row]->row_ = row;
}

std::unique_ptr<CTreeItem> TreeGridModel::CopySubtree(const CTreeItem& source, CTreeItem* parent,
                                                      const CopyInfo& copyInfo) const {
    auto copy = std::make_unique<CTreeItem>();
    copy->info_ = OrEmpty(copyInfo ? copyInfo(*source.info_) : nullptr);
    copy->parent_ = parent;
    copy->indent_ = parent->indent_ + 1;
    copy->hiddenChildren_ = source.hiddenChildren_;
    for (const auto& child : source.children_)
        copy->children_.push_back(CopySubtree(*child, copy.get(), copyInfo));
    return copy;
}

} // namespace controls
