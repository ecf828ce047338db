// The records of the tree grid: CItemInfo, the data of one row, and
// CTreeItem, one node of the tree, which owns its info and its children.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace controls {

class CItemInfo {
public:
    // The editor kind of a cell: 1 is a drop-down list of the cell's choices.
    enum CONTROLTYPE { none = 0, combobox = 1 };

    // Column 0.
    void SetItemText(const std::string& text) { itemText_ = text; }
    const std::string& GetItemText() const { return itemText_; }

    // Columns 1, 2, ...: sub-item i is column i + 1.
    void AddSubItemText(const std::string& text) { subItemTexts_.push_back(text); }
    void SetSubItemText(int subItem, const std::string& text);
    std::string GetSubItemText(int subItem) const;
    int GetSubItemCount() const { return static_cast<int>(subItemTexts_.size()); }

    void SetControlType(int subItem, CONTROLTYPE type) { controlTypes_[subItem] = type; }
    CONTROLTYPE GetControlType(int subItem) const;
    void SetValue(int subItem, std::uint32_t value) { values_[subItem] = value; }
    bool GetValue(int subItem, std::uint32_t& value) const;
    void SetListData(int subItem, const std::vector<std::string>& choices) {
        choiceLists_[subItem] = choices;
    }
    // The choices of a cell, null when it has none.
    const std::vector<std::string>* GetListData(int subItem) const;

    void SetCheck(bool checked) { checked_ = checked; }
    bool GetCheck() const { return checked_; }
    void SetImage(int image) { image_ = image; }
    int GetImage() const { return image_; } // -1: none

private:
    std::map<int, CONTROLTYPE> controlTypes_;
    std::map<int, std::uint32_t> values_;
    std::map<int, std::vector<std::string>> choiceLists_;
    std::string itemText_;
    std::vector<std::string> subItemTexts_;
    bool checked_ = false;
    int image_ = -1;
};

class CTreeItem {
public:
    CTreeItem* GetParent() const { return parent_; }
    const std::vector<std::unique_ptr<CTreeItem>>& GetChildren() const { return children_; }
    CItemInfo* GetInfo() const { return info_.get(); }
    // Set while the item has children whose rows are not shown.
    bool HasHiddenChildren() const { return hiddenChildren_; }
    // The row while the item is shown, -1 while it is not.
    int GetRow() const { return row_; }
    // Depth in the tree: 1 for a root item.
    int GetIndent() const { return indent_; }

private:
    friend class TreeGridModel;

    CTreeItem* parent_ = nullptr;
    std::vector<std::unique_ptr<CTreeItem>> children_;
    std::unique_ptr<CItemInfo> info_;
    bool hiddenChildren_ = false;
    int row_ = -1;
    int indent_ = 1;
};

} // namespace controls
