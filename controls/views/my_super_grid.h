// CMySuperGrid: the tree grid of the Symbol pane. Its items show folder and
// leaf images; Return edits nothing; a click opens a drop-down only on a cell
// whose editor kind is the drop-down list; a drop copies the dragged items'
// infos.
#pragma once

#include "super_grid_ctrl.h"

#include <wx/imaglist.h>

#include <memory>

class CMySuperGrid : public CSuperGridCtrl {
public:
    // Images of GetItemImageIndex: 0 expanded, 1 collapsed, 2 no children.
    enum { kImageExpanded = 0, kImageCollapsed = 1, kImageLeaf = 2 };

    CMySuperGrid() = default;
    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize);

    void SetDragAllowed(bool allowed) { dragAllowed_ = allowed; }
    bool IsDragAllowed() const { return dragAllowed_; }

    std::unique_ptr<CItemInfo> CopyItemInfo(const CItemInfo& info) override;
    int GetItemImageIndex(const CTreeItem* item) override;
    void BeginCellEdit(int row, int column) override;
    wxBitmap CreateItemDragImage(int row) override;

private:
    void OnCharHook(wxKeyEvent& event);

    bool dragAllowed_ = true;
    std::unique_ptr<wxImageList> images_;
};
