// Where the target is, in the source views: the position shown (its marker
// is on screen) and the one being made current.
//
// The source views are reached through SourceViews, which the editor side
// implements; a view is an opaque handle the model only compares and hands back.
#pragma once

#include "debugger_views.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using SourceViewRef = void*;

// Editor markers.
namespace marker {
constexpr int kBreakpoint = 0;
constexpr int kCurrentPc = 1;
constexpr int kCodeLine = 2;
constexpr int kMarkedCodeLine = 4; // a code line carrying marker 0 or 1
} // namespace marker

class SourceViews {
public:
    virtual ~SourceViews() = default;

    struct Document {
        std::string title;       // the file name the document shows
        SourceViewRef firstView; // the first view of the document
    };
    // The open source documents, in the template's order.
    virtual std::vector<Document> OpenDocuments() = 0;
    // Brings the view's child frame to the front (only while a main frame exists).
    virtual void ActivateView(SourceViewRef view) = 0;
    // Lines from 1.
    virtual void GotoLineNearTop(SourceViewRef view, int line) = 0;
    virtual void GotoLineWithContext(SourceViewRef view, int line) = 0;
    // Markers of an editor line, from 0: bit n set when marker n is on it.
    virtual unsigned MarkersOfLine(SourceViewRef view, int line) = 0;
    virtual void AddMarker(SourceViewRef view, int line, int markerNumber) = 0;
    virtual void DeleteMarker(SourceViewRef view, int line, int markerNumber) = 0;
};

struct PcPosition {
    SourceViewRef view = nullptr;
    uint16_t pc = 0;
    int32_t line = 0; // from 1; -1 when the position text carries no line
};

// The text before the first ':' of a "file:line" position.
std::string GetFirstToken(const std::string& text);

// Marker moves on the editor line `line` (from 1): a line with code swaps its
// code marker for marker 4 while the PC stands on it, and gets it back when
// the PC leaves, unless a breakpoint marker also stands there.
void SetPcMarker(SourceViews& views, SourceViewRef view, int line);
void ClearPcMarker(SourceViews& views, SourceViewRef view, int line);

class PcModel {
public:
    explicit PcModel(SourceViews& views) : m_views(views) {}

    // Makes pc current: the marker leaves the line shown, the view of the new
    // position comes to the front with the marker on its line. Always 1.
    // A PC the program ran to keeps the marker on the line shown last when it
    // has no source line; a PC put there by the host (`placed`: a reset, an
    // image load, an edit of the PC) takes the marker off instead, since the
    // target is no longer anywhere near that line.
    int SetCurrentPc(uint16_t pc, bool placed = false);
    // Fills the record's view and line from pc. An address without a source
    // line changes neither (or, `placed`, clears both); a file no open
    // document shows gives no view.
    void FindSourceLineOfAddress(PcPosition& record, uint16_t pc, bool placed = false);
    void ActivatePcView(const PcPosition& record);

    const PcPosition& Shown() const { return m_shown; }
    const PcPosition& New() const { return m_new; }

private:
    SourceViews& m_views;
    PcPosition m_shown;
    PcPosition m_new;
};

// The PC display the application installs: the model between CreatePcModel
// and ResetPcModel, and the assembly pane's own current row.
class PcModelDisplay : public PcDisplay {
public:
    PcModelDisplay(SourceViews& views, std::function<void(uint16_t, int)> showPcInAssembly)
        : m_views(views), m_showPcInAssembly(std::move(showPcInAssembly)) {}

    void CreatePcModel() override { m_model = std::make_unique<PcModel>(m_views); }
    void ResetPcModel() override { m_model.reset(); }
    // Nothing while no model exists.
    void SetCurrentPc(uint16_t pc) override;
    void PlaceCurrentPc(uint16_t pc) override;
    void ShowPcInAssembly(uint16_t pc, int select) override;
    bool GetCurrentPc(uint16_t& pc) const override {
        if (!m_model) return false;
        pc = m_model->Shown().pc;
        return true;
    }

    PcModel* Model() const { return m_model.get(); }

private:
    SourceViews& m_views;
    std::function<void(uint16_t, int)> m_showPcInAssembly;
    std::unique_ptr<PcModel> m_model;
};
