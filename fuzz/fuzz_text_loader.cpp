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

    size_t expected = static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
    if (!text.empty() && text.back() != '\n') ++expected;
    require(loader.m_lines.size() == expected);
    size_t bytes = 0;
    for (size_t i = 0; i < loader.m_lines.size(); ++i) {
        const TextLine& line = loader.m_lines[i];
        require(line.m_nLine == i + 1);
        require(line.m_strText.find('\n') == std::string::npos);
        require(GetLineText(loader, i) == &line.m_strText);
        bytes += line.m_strText.size();
    }
    require(GetLineText(loader, loader.m_lines.size()) == nullptr);
    // Only line feeds and the one carriage return before each are dropped.
    require(bytes <= text.size() && text.size() - bytes <= 2 * expected);
    return 0;
}
