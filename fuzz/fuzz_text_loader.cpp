// libFuzzer target: arbitrary bytes cut into lines by the text loader.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "text_loader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto require = [](bool condition) {
        if (!condition) std::abort();
    };
    const std::string text(reinterpret_cast<const char*>(data), size);
    Loader loader;
    loader.AssignText("FUZZ.C", text);
    const int split = SplitTextLines(loader);
    require(split == (text.empty() ? 0 : 1));

    // A CR LF pair, a lone LF and a lone CR each end one line.
    size_t ends = 0;
    for (size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')))
            ++ends;
    size_t expected = ends;
    if (!text.empty() && text.back() != '\n' && text.back() != '\r') ++expected;
    require(loader.m_lines.size() == expected);
    size_t bytes = 0;
    for (size_t i = 0; i < loader.m_lines.size(); ++i) {
        const TextLine& line = loader.m_lines[i];
        require(line.m_nLine == i + 1);
        require(line.m_strText.find_first_of("\r\n") == std::string::npos);
        require(GetLineText(loader, i) == &line.m_strText);
        bytes += line.m_strText.size();
    }
    require(GetLineText(loader, loader.m_lines.size()) == nullptr);
    // Only the line ends are dropped.
    require(bytes + static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) +
                static_cast<size_t>(std::count(text.begin(), text.end(), '\r')) ==
            text.size());
    return 0;
}
