#include "file_view.h"

#include <wx/artprov.h>
#include <wx/imaglist.h>

CFileView::CFileView(wxWindow* parent, int id, const wxString& caption)
    : CDockPane(parent, id, caption) {
    m_tree = new wxTreeCtrl(this, 4, wxDefaultPosition, wxDefaultSize,
                            wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_HIDE_ROOT | wxTR_SINGLE);
    auto* images = new wxImageList(16, 16, true, 3);
    images->Add(wxArtProvider::GetBitmap(wxART_EXECUTABLE_FILE, wxART_OTHER, wxSize(16, 16)));
    images->Add(wxArtProvider::GetBitmap(wxART_FOLDER, wxART_OTHER, wxSize(16, 16)));
    images->Add(wxArtProvider::GetBitmap(wxART_NORMAL_FILE, wxART_OTHER, wxSize(16, 16)));
    m_tree->AssignImageList(images);
    m_tree->Bind(wxEVT_TREE_ITEM_ACTIVATED, &CFileView::OnItemActivated, this);
    SetControl(m_tree);
    ShowEmptyProject();
}

void CFileView::AddRoot(const wxString& text) {
    // The tree has a hidden root of its own so that the project item can be
    // added at the end of the top level like any other.
    wxTreeItemId top = m_tree->GetRootItem();
    if (!top.IsOk()) top = m_tree->AddRoot(wxString());
    m_root = m_tree->AppendItem(top, text, 0, 0);
    m_tree->SetItemBold(m_root);
    m_sourceFiles = m_tree->AppendItem(m_root, "Source Files", 1, 1);
}

void CFileView::ShowEmptyProject() {
    AddRoot("project : Empty");
}

void CFileView::FillWorkspaceTree(const std::string& projectName) {
    AddRoot("project : " + wxString::FromUTF8(projectName));
}

void CFileView::AddSourceFiles(const std::vector<std::string>& files) {
    for (const std::string& file : files)
        m_tree->AppendItem(m_sourceFiles, wxString::FromUTF8(file), 2, 2);
}

void CFileView::ExpandWorkspaceTree() {
    m_tree->Expand(m_root);
    m_tree->Expand(m_sourceFiles);
}

void CFileView::DeleteAllItems() {
    m_tree->DeleteAllItems();
    m_root = m_sourceFiles = wxTreeItemId();
}

void CFileView::ClearWorkspace() {
    DeleteAllItems();
    ShowEmptyProject();
}

void CFileView::OnItemActivated(wxTreeEvent& event) {
    wxTreeItemId item = event.GetItem();
    m_selectedText =
        item.IsOk() ? m_tree->GetItemText(item).ToStdString(wxConvUTF8) : std::string();
    if (!item.IsOk()) return;
    m_tree->SelectItem(item);
    m_tree->SetFocus();
    bool fileItem = item != m_root && item != m_sourceFiles;
    if (fileItem && m_openFile) m_openFile(m_selectedText);
    // The fixed items still expand and collapse as usual.
    event.Skip(!fileItem);
}
