// The Search, Local Variable, Global Variable and Symbol panes as the main
// frame and the source windows reach them.
#pragma once

#include <string>

class CDockPane;
class CScintillaWnd;
class wxPoint;
class wxString;
class wxWindow;

// Makes the pane that the Window-menu command `toggleId` shows when it is
// one of these four; null for any other pane.
CDockPane* CreateVariablePane(int toggleId, wxWindow* parent, int id, const wxString& caption);

// Project close: Search and Local Variable get 50 blank rows again, the
// Global Variable and Symbol panes lose every row, and the formatted
// variable records go. Every radix stays.
void ClearVariablePanes();

// "Insert Variable Window(&V)" of a source window's context menu: the
// identifier under the menu's screen point (the caret without one) goes
// into the first free row of the Search pane, which is then brought up to
// date. `title` is the source window's title.
void InsertVariableFromEditor(CScintillaWnd& editor, const std::string& title,
                              const wxPoint& screenPoint);
