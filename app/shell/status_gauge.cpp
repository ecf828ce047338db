#include "status_gauge.h"

#include <wx/dcbuffer.h>
#include <wx/settings.h>

#include <algorithm>

CStatusGauge::CStatusGauge(wxWindow* parent, int range)
    : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE),
      m_range(std::max(1, range)) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CStatusGauge::OnPaint, this);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        Refresh(false);
        event.Skip();
    });
}

void CStatusGauge::SetValue(int value) {
    value = std::clamp(value, 0, m_range);
    if (value == m_value) return;
    m_value = value;
    Refresh(false);
    Update();
}

int CStatusGauge::FilledWidth() const {
    const int inner = std::max(0, GetClientSize().x - 2);
    return static_cast<int>(static_cast<long long>(inner) * m_value / m_range);
}

void CStatusGauge::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    const wxSize size = GetClientSize();
    dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNSHADOW)));
    dc.SetBrush(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOW)));
    dc.DrawRectangle(0, 0, size.x, size.y);
    const int filled = FilledWidth();
    if (filled > 0) {
        const wxColour bar = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT);
        dc.SetPen(wxPen(bar));
        dc.SetBrush(wxBrush(bar));
        dc.DrawRectangle(1, 1, filled, std::max(0, size.y - 2));
    }
}
