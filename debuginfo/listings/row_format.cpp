#include "row_format.h"

#include <cstdio>
#include <vector>

namespace {

constexpr size_t kInstructionFieldWidth = 11;
constexpr size_t kTabWidth = 4;
constexpr const char* kNoLabelField = "      ";

// The blank-separated words of `text` (runs of blanks make no empty word).
std::vector<std::string_view> BlankWords(std::string_view text) {
    std::vector<std::string_view> words;
    size_t pos = 0;
    while (pos < text.size()) {
        pos = text.find_first_not_of(' ', pos);
        if (pos == std::string_view::npos) break;
        size_t end = text.find(' ', pos);
        if (end == std::string_view::npos) end = text.size();
        words.push_back(text.substr(pos, end - pos));
        pos = end;
    }
    return words;
}

// The text from the first occurrence of `word` on; empty without `word`.
std::string_view FromFirstOccurrence(std::string_view text, std::string_view word) {
    const size_t at = text.find(word);
    return at == std::string_view::npos ? std::string_view() : text.substr(at);
}

// Appends `text` to `out` with the markup characters escaped.
void AppendEscaped(std::string& out, std::string_view text) {
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
}

} // namespace

std::string EscapeRowMarkup(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    AppendEscaped(escaped, text);
    return escaped;
}

std::string CutAtCarriageReturn(std::string_view text) {
    return std::string(text.substr(0, text.find('\r')));
}

std::string AlignDisassemblyColumns(std::string_view text) {
    std::string aligned;
    size_t column = !text.empty() && text.front() == '\t' ? kTabWidth : 0;
    size_t pos = 0;
    while (pos < text.size()) {
        pos = text.find_first_not_of('\t', pos);
        if (pos == std::string_view::npos) break;
        size_t end = text.find('\t', pos);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view token = text.substr(pos, end - pos);
        if (column != 0 || !aligned.empty()) {
            const size_t blanks = kTabWidth - column % kTabWidth;
            aligned.append(blanks, ' ');
            column += blanks;
        }
        aligned += token;
        column += token.size();
        pos = end;
    }
    return aligned;
}

std::string FormatDisassemblyLine(std::string_view text, uint32_t address) {
    char prefix[32];
    std::snprintf(prefix, sizeof prefix, "<b>0x%.4x </b>", address);

    const std::vector<std::string_view> words = BlankWords(text);
    std::string_view label = kNoLabelField;
    std::string_view bytes;
    std::string_view rest;
    if (text.find(':') != std::string_view::npos) {
        if (!words.empty())
            label = words[0];
        else
            label = std::string_view();
        if (words.size() > 1) bytes = words[1];
        if (words.size() > 2) rest = FromFirstOccurrence(text, words[2]);
    } else {
        if (!words.empty()) bytes = words[0];
        if (words.size() > 1) rest = FromFirstOccurrence(text, words[1]);
    }
    // A field wider than the column gets no pad rather than a negative one.
    const size_t pad =
        bytes.size() < kInstructionFieldWidth ? kInstructionFieldWidth - bytes.size() : 0;
    std::string row;
    row.reserve(64 + text.size());
    row += prefix;
    row += ' ';
    AppendEscaped(row, bytes);
    row.append(pad, ' ');
    row += "        ";
    AppendEscaped(row, label);
    row += ' ';
    AppendEscaped(row, rest);
    return row;
}

std::string FormatSourceLine(std::string_view text, int32_t line, std::string_view colour) {
    char number[48];
    std::snprintf(number, sizeof number, "        %d :        ", static_cast<int>(line));
    std::string row = "<font color=#";
    row += colour;
    row += '>';
    row += number;
    row += EscapeRowMarkup(text);
    row += "</font>";
    return row;
}
