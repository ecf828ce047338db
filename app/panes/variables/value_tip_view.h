// The value tooltip over a source window's editor: while a project is loaded,
// resting the mouse on a variable's name shows its value; moving on hides it.
#pragma once

#include <string>

class CScintillaWnd;

// Gives `editor`, the editor of the source window titled `title`, its value tips.
void AttachValueTips(CScintillaWnd* editor, const std::string& title);

// The text of the tip shown last (empty while none is shown).
const std::string& ShownValueTip();
