// The status bar's progress pane: a bar of 0 to 100 that the program draws
// itself, so that each new value is on the screen at once, also while a long
// operation keeps the event loop from running.
#pragma once

#include <wx/window.h>

class CStatusGauge : public wxWindow {
public:
    CStatusGauge(wxWindow* parent, int range);

    // Sets the value (clamped to the range) and repaints at once.
    void SetValue(int value);
    int GetValue() const { return m_value; }
    int GetRange() const { return m_range; }
    // The width in pixels of the filled part for the current size and value.
    int FilledWidth() const;

private:
    void OnPaint(wxPaintEvent& event);

    int m_range;
    int m_value = 0;
};
