// The controls keep their texts as 8-bit strings. Texts read from the
// project's files may be UTF-8 or a single-byte code page; they are shown as
// UTF-8 when they are valid UTF-8 and as Latin-1 otherwise.
#pragma once

#include <wx/string.h>

#include <string>

wxString ToDisplayText(const std::string& text);
std::string FromDisplayText(const wxString& text);
