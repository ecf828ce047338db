// The tree of the tree grid and the rows it shows: an item has a row only
// while all its ancestors are expanded; rows are in tree order, so an item's
// shown subtree is the run of rows after it with a deeper indent.
#pragma once

#include "tree_item.h"

#include <functional>
#include <memory>
#include <vector>

namespace controls {

class TreeGridModel {
public:
    // Makes the info of a copied item; null gives the copy an empty info.
    using CopyInfo = std::function<std::unique_ptr<CItemInfo>(const CItemInfo&)>;

    TreeGridModel() = default;
    TreeGridModel(const TreeGridModel&) = delete;
    TreeGridModel& operator=(const TreeGridModel&) = delete;

    // A root item whose row goes at the end; a null info becomes an empty one.
    CTreeItem* InsertItem(std::unique_ptr<CItemInfo> info);
    // A child appended to `parent`'s children. With `update` and the parent
    // expanded its row is shown at the end of the parent's shown subtree;
    // without `update` the parent ends up collapsed.
    CTreeItem* InsertChildItem(CTreeItem* parent, std::unique_ptr<CItemInfo> info, bool update);
    // Shows the children of a shown item that has hidden children (and, below
    // them, the subtrees of children that were left expanded).
    bool ExpandItem(CTreeItem* item);
    // Hides the shown subtree of a shown, expanded item that has children.
    bool CollapseItem(CTreeItem* item);
    // Expands the item and every item below it.
    void ExpandAll(CTreeItem* item);
    // Removes the item with its subtree and its rows.
    void DeleteItem(CTreeItem* item);
    void DeleteAll();

    int FindItemIndex(const CTreeItem* item) const;
    static bool ItemHasChildren(const CTreeItem* item) { return item && !item->children_.empty(); }
    int GetRowCount() const { return static_cast<int>(rows_.size()); }
    CTreeItem* GetItemAtRow(int row) const;
    const std::vector<std::unique_ptr<CTreeItem>>& GetRoots() const { return roots_; }

    // True when `item` is `root` or lies below it.
    static bool IsInSubtree(const CTreeItem* item, const CTreeItem* root);
    // Whether dropping `dragged` onto `target` moves anything: not onto
    // itself, its parent or its own subtree, and never a root item.
    static bool CanDrop(const CTreeItem* dragged, const CTreeItem* target);
    // Copies `dragged` with its subtree as the last child of `target`, infos
    // through `copyInfo`, then deletes `dragged`. Returns the copy, or null
    // when the drop is not allowed.
    CTreeItem* MoveSubtree(CTreeItem* dragged, CTreeItem* target, const CopyInfo& copyInfo);

    // The single selection; cleared when the selected item loses its row.
    CTreeItem* GetSelectedItem() const { return selected_; }
    int GetSelectedRow() const { return selected_ ? selected_->row_ : -1; }
    void SelectRow(int row) { selected_ = GetItemAtRow(row); }

private:
    bool IsShown(const CTreeItem* item) const;
    bool IsExpanded(const CTreeItem* item) const;
    int ShownSubtreeEnd(const CTreeItem* item) const; // first row after the shown subtree
    void ShowChildren(CTreeItem* item, std::vector<CTreeItem*>& out) const;
    void RemoveRows(int first, int end);
    void Renumber();
    std::unique_ptr<CTreeItem> CopySubtree(const CTreeItem& source, CTreeItem* parent,
                                           const CopyInfo& copyInfo) const;

    std::vector<std::unique_ptr<CTreeItem>> roots_;
    std::vector<CTreeItem*> rows_;
    CTreeItem* selected_ = nullptr;
};

} // namespace controls
