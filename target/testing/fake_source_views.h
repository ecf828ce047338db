// Source views for tests: documents by title, markers per line, and a log of
// the calls the PC model makes.
#pragma once

#include "pc_model.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

class FakeSourceViews : public SourceViews {
public:
    // Opens a document; its view handle is returned.
    SourceViewRef Open(const std::string& title) {
        m_views.push_back(std::make_unique<int>(0));
        m_documents.push_back({title, m_views.back().get()});
        return m_views.back().get();
    }

    std::vector<Document> OpenDocuments() override { return m_documents; }
    void ActivateView(SourceViewRef view) override { calls.push_back("Activate " + Name(view)); }
    void GotoLineNearTop(SourceViewRef view, int line) override {
        calls.push_back("GotoLineNearTop " + Name(view) + " " + std::to_string(line));
    }
    void GotoLineWithContext(SourceViewRef view, int line) override {
        calls.push_back("GotoLineWithContext " + Name(view) + " " + std::to_string(line));
    }
    unsigned MarkersOfLine(SourceViewRef view, int line) override { return markers[{view, line}]; }
    void AddMarker(SourceViewRef view, int line, int number) override {
        markers[{view, line}] |= 1u << number;
    }
    void DeleteMarker(SourceViewRef view, int line, int number) override {
        markers[{view, line}] &= ~(1u << number);
    }

    // Markers of a line counted from 1.
    unsigned MarkersOn(SourceViewRef view, int line) { return markers[{view, line - 1}]; }

    std::vector<std::string> calls;
    std::map<std::pair<SourceViewRef, int>, unsigned> markers;

private:
    std::string Name(SourceViewRef view) const {
        for (const Document& d : m_documents)
            if (d.firstView == view) return d.title;
        return "?";
    }
    std::vector<std::unique_ptr<int>> m_views;
    std::vector<Document> m_documents;
};
