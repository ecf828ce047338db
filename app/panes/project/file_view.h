// The workspace pane: the loaded project as a tree of its source files. A
// double click on a file opens it, or brings its window forward.
#pragma once

#include "dock_pane.h"

#include <wx/treectrl.h>

#include <functional>
#include <string>
#include <vector>

class CFileView : public CDockPane {
public:
    CFileView(wxWindow* parent, int id, const wxString& caption);

    // "project : Empty" and "Source Files" under it.
    void ShowEmptyProject();
    // The caller empties the tree first.
    void FillWorkspaceTree(const std::string& projectName);
    void AddSourceFiles(const std::vector<std::string>& files);
    void ExpandWorkspaceTree();
    // Every item goes, then the empty project is shown.
    void ClearWorkspace();
    void DeleteAllItems();

    wxTreeCtrl* Tree() const { return m_tree; }
    wxTreeItemId Root() const { return m_root; }
    wxTreeItemId SourceFiles() const { return m_sourceFiles; }
    // The text of the item last double-clicked.
    const std::string& SelectedText() const { return m_selectedText; }

    // Opens the file named by a double-clicked file item.
    void SetOpenFile(std::function<void(const std::string&)> openFile) {
        m_openFile = std::move(openFile);
    }

private:
    void AddRoot(const wxString& text);
    void OnItemActivated(wxTreeEvent& event);

    wxTreeCtrl* m_tree = nullptr;
    wxTreeItemId m_root;
    wxTreeItemId m_sourceFiles;
    std::string m_selectedText;
    std::function<void(const std::string&)> m_openFile;
};
