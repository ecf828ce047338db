// Damaged copies of a project opened as the user opens them, compared with
// what the intact project loads.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "loaded_model.h"
#include "test_support.h"

namespace debuginfo_test {

// One text line of a file: where it starts, its number and its text without line end.
struct TextSpan {
    size_t offset = 0;
    size_t number = 0;
    std::string text;
};
std::vector<TextSpan> SpansOf(const std::string& text);

// Where word `index` (-1: the last one) of the line starts in the file.
size_t WordOffset(const TextSpan& span, int index);

// A copy of a project whose file `file` each open rewrites from the intact
// text with one change: `replacement` in place of `length` characters at `offset`.
class DamagedCopy {
public:
    DamagedCopy(const ProjectInFolder& project, const std::string& file, const TempFolder& scratch);
    const std::string& Text() const { return m_text; }
    const std::string& Path() const { return m_path; }
    LoadedModel Open(size_t offset, size_t length, const std::string& replacement) const;

private:
    ProjectInFolder m_project;
    std::string m_copy, m_path, m_text, m_scratch;
};

// `check` for every project of ExampleAndRealProjects() that opens, with what
// it loaded; the example gives both map forms.
void ForEveryOpenedProject(const std::function<void(const ProjectInFolder&, const LoadedModel&,
                                                    const TempFolder&)>& check);

// The open loaded what `expected` holds.
void ExpectModel(const LoadedModel& got, const LoadedModel& expected);
// It also showed one message, naming `path` and holding `text`.
void ExpectOpened(const LoadedModel& got, const std::string& path, const std::string& text,
                  const LoadedModel& expected);

} // namespace debuginfo_test
