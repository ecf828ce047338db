// libFuzzer target: arbitrary text read as the disassembler's output, and
// every instruction and label it yields formatted as listing rows. Addresses
// come from four hexadecimal digits, so none passes 0xFFFF; every kept text
// is the rest of one of the lines; rows carry no markup of their own text.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_set>

#include "disasm_loader.h"
#include "row_format.h"

namespace {

void Require(bool condition) {
    if (!condition) std::abort();
}

// `row` back to the text it shows: the three entities undone; false when
// the row holds markup characters of its own or an unknown entity.
bool Unescape(const std::string& row, std::string& text) {
    text.clear();
    for (size_t i = 0; i < row.size(); ++i) {
        if (row[i] == '<' || row[i] == '>') return false;
        if (row[i] != '&') {
            text += row[i];
            continue;
        }
        const std::string rest = row.substr(i, 5);
        if (rest.compare(0, 5, "&amp;") == 0) {
            text += '&';
            i += 4;
        } else if (rest.compare(0, 4, "&lt;") == 0) {
            text += '<';
            i += 3;
        } else if (rest.compare(0, 4, "&gt;") == 0) {
            text += '>';
            i += 3;
        } else {
            return false;
        }
    }
    return true;
}

// The characters of `text` other than blanks and tabs, in order.
std::string Visible(const std::string& text) {
    std::string visible;
    for (char c : text)
        if (c != ' ' && c != '\t') visible += c;
    return visible;
}

void CheckInstructionRow(const std::string& text, uint32_t address) {
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "<b>0x%.4x </b>", address);
    const std::string row = FormatDisassemblyLine(text, address);
    Require(row.compare(0, std::string(prefix).size(), prefix) == 0);
    std::string shown;
    Require(Unescape(row.substr(std::string(prefix).size()), shown));
    // The row is the instruction's bytes, its label and then the rest of the
    // text unchanged: past the longest ending it shares with the text, at most
    // two words are left, each of them one of the text's.
    size_t common = 0;
    while (common < shown.size() && common < text.size() &&
           shown[shown.size() - 1 - common] == text[text.size() - 1 - common])
        ++common;
    const std::string head = shown.substr(0, shown.size() - common);
    size_t words = 0;
    for (size_t pos = 0; (pos = head.find_first_not_of(' ', pos)) != std::string::npos;) {
        const size_t end = std::min(head.find(' ', pos), head.size());
        Require(++words <= 2 && text.find(head.substr(pos, end - pos)) != std::string::npos);
        pos = end;
    }

    const std::string aligned = AlignDisassemblyColumns(text);
    Require(aligned.find('\t') == std::string::npos);
    Require(Visible(aligned) == Visible(text));

    const std::string cut = CutAtCarriageReturn(text);
    Require(cut.find('\r') == std::string::npos && text.compare(0, cut.size(), cut) == 0);
}

void CheckSourceRow(const std::string& text, int32_t line) {
    const std::string head = "<font color=#" + std::string(kSourceRowColour) + ">";
    const std::string tail = "</font>";
    const std::string row = FormatSourceLine(text, line);
    Require(row.size() >= head.size() + tail.size());
    Require(row.compare(0, head.size(), head) == 0);
    Require(row.compare(row.size() - tail.size(), tail.size(), tail) == 0);
    std::string shown;
    Require(Unescape(row.substr(head.size(), row.size() - head.size() - tail.size()), shown));
    const std::string number = "        " + std::to_string(line) + " :        ";
    Require(shown == number + text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    DisasmLoader loader;
    loader.AssignText("FUZZ.OUT", std::string(reinterpret_cast<const char*>(data), size));
    SplitTextLines(loader);
    loader.CollectLabels();

    std::unordered_set<std::string> bodies;
    size_t longLines = 0;
    for (const TextLine& line : loader.m_lines) {
        if (line.m_strText.size() <= 5) continue;
        ++longLines;
        bodies.insert(line.m_strText.substr(5));
    }
    Require(loader.m_mapInstructions.size() + loader.m_mapLabels.size() <= longLines);
    Require(longLines == 0 || !loader.m_mapInstructions.empty() || !loader.m_mapLabels.empty());

    uint32_t highest = 0;
    for (const auto* kept : {&loader.m_mapInstructions, &loader.m_mapLabels}) {
        for (const auto& [address, text] : *kept) {
            Require(address <= 0xFFFF);
            Require(bodies.count(text) == 1);
            if (address > highest) highest = address;
        }
    }
    Require(loader.m_dwHighestAddress == highest);
    for (const auto& [address, text] : loader.m_mapInstructions)
        Require(text.find("LABEL") == std::string::npos);
    char end[24];
    std::snprintf(end, sizeof end, "0x%x", std::min(highest + 16, 0xFFFFu));
    Require(CodeEndAddressText(loader) == end);

    for (const auto* kept : {&loader.m_mapInstructions, &loader.m_mapLabels})
        for (const auto& [address, text] : *kept)
            CheckInstructionRow(text, address);
    // Every line of the input as a source row, numbered as a source file's.
    for (const TextLine& line : loader.m_lines)
        CheckSourceRow(line.m_strText, static_cast<int32_t>(line.m_nLine));
    CheckSourceRow(std::string(), -1);
    return 0;
}
