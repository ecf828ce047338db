// CSuperGridCtrl: a report-style grid whose rows are the shown items of a
// tree. Column 0 shows the tree (indent, lines, expand box, image, text);
// the other columns the item's sub-item texts. Items expand and collapse by
// double-click, a click on the box and the numeric-pad keys; cells are
// edited in place with CListEditCtrl or CComboInListView; items can be
// dragged onto other items. What a user of the grid may change is gathered
// in the overridable hooks below.
#pragma once

#include "control_events.h"
#include "report_list_base.h"
#include "tree_grid_model.h"

#include <wx/dragimag.h>
#include <wx/imaglist.h>
#include <wx/timer.h>

#include <memory>
#include <string>

class CSuperGridCtrl : public CReportListBase {
public:
    using CTreeItem = controls::CTreeItem;
    using CItemInfo = controls::CItemInfo;

    CSuperGridCtrl();
    ~CSuperGridCtrl() override;
    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize);

    // Columns.
    int InsertColumn(int index, const std::string& name, controls::ColumnAlign align, int width);
    int GetColumnCount() const { return GetHeaderColumnCount(); }

    // The tree. A null info becomes an empty one.
    CTreeItem* InsertItem(std::unique_ptr<CItemInfo> info);
    CTreeItem* InsertChildItem(CTreeItem* parent, std::unique_ptr<CItemInfo> info, bool update);
    bool ExpandItem(CTreeItem* item);
    bool CollapseItem(CTreeItem* item);
    void DeleteItem(CTreeItem* item);
    void DeleteAll();
    int FindItemIndex(const CTreeItem* item) const { return tree_.FindItemIndex(item); }
    bool ItemHasChildren(const CTreeItem* item) const {
        return controls::TreeGridModel::ItemHasChildren(item);
    }
    CTreeItem* GetTreeItem(int row) const { return tree_.GetItemAtRow(row); }
    const controls::TreeGridModel& GetTree() const { return tree_; }
    // The texts of a cell as drawn.
    std::string GetCellText(int row, int column) const;

    // Sets the images of the items; returns the previous list. Not owned.
    wxImageList* InitImageList(wxImageList* images);
    void SetCheckBoxes(bool shown);

    int GetSelectedRow() const { return tree_.GetSelectedRow(); }
    void SelectRow(int row);
    int GetCurrentColumn() const { return currentColumn_; }
    bool IsDragging() const { return dragging_; }

    // Hooks, with the behaviour of the plain grid.
    // The info of an item copied by a drop; null gives the copy an empty info.
    virtual std::unique_ptr<CItemInfo> CopyItemInfo(const CItemInfo& info);
    virtual int GetItemImageIndex(const CTreeItem* item);
    virtual wxColour GetFocusCellColour();
    // Takes a finished cell edit into the item: column 0 is the item text,
    // column n sub-item n - 1.
    virtual void StoreEditedText(const CCellEditEvent& result);
    // After a left click on a cell: an edit box over it with its text.
    virtual void BeginCellEdit(int row, int column);
    // The picture that follows the mouse while a row is dragged; an invalid
    // bitmap means the row cannot be dragged.
    virtual wxBitmap CreateItemDragImage(int row);
    virtual bool AllowExpand(CTreeItem* item, int row);
    virtual bool AfterExpand(CTreeItem* item, int row);
    virtual bool AllowCollapse(CTreeItem* item);
    virtual bool AfterCollapse(CTreeItem* item);
    virtual bool AllowDelete(CTreeItem* item, int row);
    virtual bool AllowExpandAll(CTreeItem* item, int row);
    virtual bool AllowKeyCollapse(CTreeItem* item, int row);
    virtual bool AllowKeyExpand(CTreeItem* item, int row);
    // At Return; true stops the grid's own handling.
    virtual bool OnReturnKey();
    virtual bool AllowItemClick(int row, int column);

protected:
    int GetRowCount() const override { return tree_.GetRowCount(); }
    void DrawRow(wxDC& dc, int row, const wxRect& rect) override;
    void OnBodyMouse(wxMouseEvent& event) override;
    void OnBodyCaptureLost() override;
    void OnBodyKeyDown(wxKeyEvent& event) override;
    void OnBodyScrolled() override;

    // An edit box over a cell, as BeginCellEdit and Return make it.
    void EditCellWithText(int row, int column);
    // The cell's rectangle made visible and clipped to the body.
    wxRect PrepareCellForEditor(int row, int column);

private:
    static constexpr int kIndent = 16;
    static constexpr int kBoxSize = 9;

    void Toggle(CTreeItem* item, int row);
    wxRect ExpandBoxRect(const CTreeItem* item, const wxRect& cell) const;
    wxRect CheckBoxRect(const CTreeItem* item, const wxRect& cell) const;
    void DrawTreePart(wxDC& dc, const CTreeItem* item, const wxRect& cell);
    void AfterTreeChange();
    void OnCellEditEnd(CCellEditEvent& event);

    void BeginDrag(int row, const wxPoint& point);
    void DragTo(const wxPoint& point);
    void EndDrag(bool drop);
    void OnDragTimer(wxTimerEvent& event);

    controls::TreeGridModel tree_;
    wxImageList* images_ = nullptr;
    bool checkBoxes_ = false;
    int currentColumn_ = 0;
    // Dragging.
    int pressedRow_ = -1;
    wxPoint pressPoint_;
    // The dragged item itself: an expand under the drag moves rows, not items.
    CTreeItem* draggedItem_ = nullptr;
    int dropTargetRow_ = -1;
    bool dragging_ = false;
    wxPoint lastDragPoint_;
    std::unique_ptr<wxDragImage> dragImage_;
    wxTimer dragTimer_;
};
