#include "frame_docking.h"

#include "dock_fitting.h"

#include <algorithm>
#include <vector>

namespace {

bool ToDockSide(int direction, DockSide& side) {
    switch (direction) {
    case wxAUI_DOCK_TOP:
        side = DockSide::Top;
        return true;
    case wxAUI_DOCK_BOTTOM:
        side = DockSide::Bottom;
        return true;
    case wxAUI_DOCK_LEFT:
        side = DockSide::Left;
        return true;
    case wxAUI_DOCK_RIGHT:
        side = DockSide::Right;
        return true;
    default:
        return false; // the centre
    }
}

// The rows of docked panes as the fitting sees them, with the docks they
// stand for.
std::vector<DockRow> RowsOf(const wxAuiDockInfoArray& docks, std::vector<size_t>* indexes) {
    std::vector<DockRow> rows;
    for (size_t i = 0; i < docks.GetCount(); ++i) {
        const wxAuiDockInfo& dock = docks.Item(i);
        DockSide side;
        if (dock.panes.IsEmpty() || !ToDockSide(dock.dock_direction, side)) continue;
        const int least = std::max(dock.min_size, kLeastDockThickness);
        rows.push_back(DockRow{side, dock.size, least, !dock.fixed});
        if (indexes) indexes->push_back(i);
    }
    return rows;
}

} // namespace

CFrameDocking::CFrameDocking() {
    // Bound on the manager itself, so it runs before the manager's own size
    // handling lays the frame out.
    Bind(wxEVT_SIZE, &CFrameDocking::OnManagedSize, this);
}

void CFrameDocking::Update() {
    wxAuiManager::Update();
    if (FitRows()) wxAuiManager::Update();
    KeepLeastClientSize();
}

bool CFrameDocking::FitRows() {
    wxWindow* frame = GetManagedWindow();
    if (!frame || !GetArtProvider()) return false;
    std::vector<size_t> indexes;
    const std::vector<DockRow> rows = RowsOf(m_docks, &indexes);
    const wxSize client = frame->GetClientSize();
    const std::vector<int> sizes = FitDockRows(
        rows, ClientSize{client.x, client.y}, GetArtProvider()->GetMetric(wxAUI_DOCKART_SASH_SIZE));
    bool changed = false;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (sizes[i] == rows[i].size) continue;
        m_docks.Item(indexes[i]).size = sizes[i];
        changed = true;
    }
    return changed;
}

wxSize CFrameDocking::LeastClientSize() const {
    wxAuiDockArt* art = GetArtProvider();
    if (!art) return wxDefaultSize;
    const ClientSize least =
        ::LeastClientSize(RowsOf(m_docks, nullptr), art->GetMetric(wxAUI_DOCKART_SASH_SIZE));
    return wxSize(least.width, least.height);
}

void CFrameDocking::KeepLeastClientSize() {
    wxWindow* frame = GetManagedWindow();
    const wxSize least = LeastClientSize();
    if (frame && least.IsFullySpecified() && frame->GetMinClientSize() != least)
        frame->SetMinClientSize(least);
}

void CFrameDocking::OnManagedSize(wxSizeEvent& event) {
    if (FitRows()) wxAuiManager::Update();
    KeepLeastClientSize();
    event.Skip(); // the manager's own handling lays the frame out
}
