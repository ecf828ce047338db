#include "my_super_grid.h"

#include "combo_in_list_view.h"

#include <wx/artprov.h>

bool CMySuperGrid::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size) {
    if (!CSuperGridCtrl::Create(parent, id, pos, size)) return false;
    const wxSize imageSize(16, 16);
    images_ = std::make_unique<wxImageList>(imageSize.x, imageSize.y, true, 3);
    images_->Add(wxArtProvider::GetBitmap(wxART_FOLDER_OPEN, wxART_OTHER, imageSize));
    images_->Add(wxArtProvider::GetBitmap(wxART_FOLDER, wxART_OTHER, imageSize));
    images_->Add(wxArtProvider::GetBitmap(wxART_NORMAL_FILE, wxART_OTHER, imageSize));
    InitImageList(images_.get());
    // Return is taken before the grid sees it, so it edits nothing here.
    Bind(wxEVT_CHAR_HOOK, &CMySuperGrid::OnCharHook, this);
    return true;
}

void CMySuperGrid::OnCharHook(wxKeyEvent& event) {
    const int key = event.GetKeyCode();
    if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && FindFocus() == GetBody()) return;
    event.Skip();
}

std::unique_ptr<CSuperGridCtrl::CItemInfo> CMySuperGrid::CopyItemInfo(const CItemInfo& info) {
    return std::make_unique<CItemInfo>(info);
}

int CMySuperGrid::GetItemImageIndex(const CTreeItem* item) {
    if (!item) return 0;
    if (item->GetInfo()->GetImage() >= 0) return item->GetInfo()->GetImage();
    if (!ItemHasChildren(item)) return kImageLeaf;
    return item->HasHiddenChildren() ? kImageCollapsed : kImageExpanded;
}

void CMySuperGrid::BeginCellEdit(int row, int column) {
    const CTreeItem* item = GetTreeItem(row);
    if (!item) return;
    const CItemInfo* info = item->GetInfo();
    if (info->GetControlType(column - 1) != CItemInfo::combobox) return;
    const std::vector<std::string>* choices = info->GetListData(column - 1);
    wxRect rect = PrepareCellForEditor(row, column);
    auto* combo =
        new CComboInListView(row, column, choices ? *choices : std::vector<std::string>());
    if (!combo->Create(GetBody(), this, rect, GetCellText(row, column))) delete combo;
}

wxBitmap CMySuperGrid::CreateItemDragImage(int row) {
    if (!dragAllowed_) return wxBitmap();
    return CSuperGridCtrl::CreateItemDragImage(row);
}
