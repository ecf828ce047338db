#include "wx_message_service.h"

#include <wx/app.h>
#include <wx/msgdlg.h>

using platform::MessageAnswer;
using platform::MessageButtons;

MessageAnswer WxMessageService::Show(const std::string& text, const std::string& caption,
                                     MessageButtons buttons) {
    long style = wxOK;
    switch (buttons) {
    case MessageButtons::Ok:
        style = wxOK;
        break;
    case MessageButtons::OkCancel:
        style = wxOK | wxCANCEL;
        break;
    case MessageButtons::YesNo:
        style = wxYES_NO | wxICON_QUESTION;
        break;
    case MessageButtons::YesNoCancel:
        style = wxYES_NO | wxCANCEL | wxICON_QUESTION;
        break;
    }
    wxWindow* parent = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
    wxString title = caption.empty() ? wxString("Ostrel Debugger") : wxString::FromUTF8(caption);
    wxMessageDialog dialog(parent, wxString::FromUTF8(text), title, style);
    switch (dialog.ShowModal()) {
    case wxID_YES:
        return MessageAnswer::Yes;
    case wxID_NO:
        return MessageAnswer::No;
    case wxID_CANCEL:
        return MessageAnswer::Cancel;
    default:
        return MessageAnswer::Ok;
    }
}
