#include "tree_item.h"

namespace controls {

void CItemInfo::SetSubItemText(int subItem, const std::string& text) {
    if (subItem < 0) return;
    if (subItem >= GetSubItemCount()) subItemTexts_.resize(subItem + 1);
    subItemTexts_[subItem] = text;
}

std::string CItemInfo::GetSubItemText(int subItem) const {
    return subItem >= 0 && subItem < GetSubItemCount() ? subItemTexts_[subItem] : std::string();
}

CItemInfo::CONTROLTYPE CItemInfo::GetControlType(int subItem) const {
    auto it = controlTypes_.find(subItem);
    return it == controlTypes_.end() ? none : it->second;
}

bool CItemInfo::GetValue(int subItem, std::uint32_t& value) const {
    auto it = values_.find(subItem);
    if (it == values_.end()) return false;
    value = it->second;
    return true;
}

const std::vector<std::string>* CItemInfo::GetListData(int subItem) const {
    auto it = choiceLists_.find(subItem);
    return it == choiceLists_.end() ? nullptr : &it->second;
}

} // namespace controls
