#include "display_text.h"

wxString ToDisplayText(const std::string& text) {
    if (text.empty()) return wxString();
    wxString converted = wxString::FromUTF8(text.data(), text.size());
    if (!converted.empty()) return converted;
    return wxString(text.data(), wxConvISO8859_1, text.size());
}

std::string FromDisplayText(const wxString& text) {
    wxScopedCharBuffer utf8 = text.utf8_str();
    return std::string(utf8.data(), utf8.length());
}
