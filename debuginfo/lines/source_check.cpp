#include "source_check.h"

#include <algorithm>
#include <cctype>

#include "line_tables.h"
#include "line_tokenizer.h"
#include "listing_reader.h"
#include "project_messages.h"

namespace {

constexpr std::string_view kBlanks = " \t\f\v\r";
constexpr std::string_view kCodeListingHeading = "ASSEMBLY LISTING OF GENERATED OBJECT CODE";
constexpr std::string_view kSymbolTableHeading = "NAME ";
constexpr char kContinuationMark = '-';
constexpr char kIncludeLevelMark = '=';

bool IsBlank(char c) {
    return kBlanks.find(c) != std::string_view::npos;
}

bool AllDigits(std::string_view word) {
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c));
    });
}

// Where the heading "line level    source" puts its "source"; 0 when `text`
// is not that heading.
size_t SourceColumnOf(std::string_view text) {
    LineTokenizer words(text);
    const auto number = words.Next(kBlanks);
    const auto level = words.Next(kBlanks);
    const auto source = words.Next(kBlanks);
    if (!number || (*number != "line" && *number != "stmt") || level != "level" ||
        source != "source" || words.Next(kBlanks))
        return 0;
    return text.find("source");
}

// The columns before the source text: a line number, then at most a nesting
// level and an include level ("=1"). False for anything else (page headings,
// messages, blank lines).
bool ReadLineColumns(std::string_view columns, uint32_t& line, bool& included) {
    LineTokenizer words(columns);
    const auto number = words.Next(kBlanks);
    if (!number || !AllDigits(*number) || number->size() > 9) return false;
    line = static_cast<uint32_t>(ParseDecimalNumber(*number));
    included = false;
    for (int count = 0; auto word = words.Next(kBlanks); ++count) {
        const bool level = word->front() == kIncludeLevelMark;
        if (count == 2 || !AllDigits(level ? word->substr(1) : *word)) return false;
        included = included || level;
    }
    return true;
}

} // namespace

std::vector<ListedSourceLine> ReadListedSourceLines(const Loader& listing) {
    std::vector<ListedSourceLine> lines;
    size_t column = 0;
    bool joinable = false; // the last line read may take a continuation
    for (const TextLine& textLine : listing.m_lines) {
        const std::string_view text = textLine.m_strText;
        if (column == 0) {
            column = SourceColumnOf(text);
            continue;
        }
        const std::string_view columns = text.substr(0, std::min(column, text.size()));
        const std::string_view source = TextFrom(text, column);
        // A long line goes on below its start behind a "-" just before the column.
        if (columns.size() == column && columns.back() == kContinuationMark &&
            columns.find_first_not_of(kBlanks) == column - 1) {
            if (joinable) lines.back().m_strText += source;
            continue;
        }
        // Page headings, blank lines and messages stand between a line and
        // its continuation when the page ends there.
        uint32_t number = 0;
        bool included = false;
        if (!ReadLineColumns(columns, number, included)) {
            // The code listing, the symbol table or the module's sizes end the source.
            if (ContainsText(text, kCodeListingHeading) ||
                text.rfind(kSymbolTableHeading, 0) == 0 || ContainsText(text, kListingTableEnd))
                break;
            continue;
        }
        joinable = !included;
        if (joinable) lines.push_back(ListedSourceLine{number, std::string(source)});
    }
    return lines;
}

void CodeOfLine(std::string_view text, bool& inComment, std::string& code) {
    code.clear();
    char quote = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const char next = i + 1 < text.size() ? text[i + 1] : 0;
        if (inComment) {
            if (c == '*' && next == '/') {
                inComment = false;
                ++i;
            }
            continue;
        }
        if (IsBlank(c)) continue;
        if (quote) {
            code += c;
            if (c == '\\' && next) {
                code += next;
                ++i;
            } else if (c == quote) {
                quote = 0;
            }
            continue;
        }
        if (c == '/' && next == '/') break;
        if (c == '/' && next == '*') {
            inComment = true;
            ++i;
            continue;
        }
        if (c == '"' || c == '\'') quote = c;
        code += c;
    }
}

uint32_t FirstChangedSourceLine(const Loader& listing, const Loader& source) {
    // Whether each line of the file starts inside a block comment.
    std::vector<bool> startsInComment(source.m_lines.size());
    std::string listedCode;
    std::string sourceCode;
    bool inComment = false;
    for (size_t i = 0; i < source.m_lines.size(); ++i) {
        startsInComment[i] = inComment;
        CodeOfLine(source.m_lines[i].m_strText, inComment, sourceCode);
    }
    uint32_t previous = 0;
    for (const ListedSourceLine& listed : ReadListedSourceLines(listing)) {
        const uint32_t n = listed.m_nLine;
        const bool inFile = n >= 1 && n <= source.m_lines.size();
        // Where the listing leaves lines out, the file tells where comments stand.
        if (n != previous + 1) inComment = inFile && startsInComment[n - 1];
        previous = n;
        sourceCode.clear();
        if (inFile) {
            bool sourceInComment = startsInComment[n - 1];
            CodeOfLine(source.m_lines[n - 1].m_strText, sourceInComment, sourceCode);
        }
        CodeOfLine(listed.m_strText, inComment, listedCode);
        if (listedCode != sourceCode) return n;
    }
    return 0;
}

std::vector<uint32_t> SourceLinesPastEnd(const CLineInfoInModule* module, size_t lineCount) {
    std::vector<uint32_t> lines;
    if (!module) return lines;
    for (const CLineInfoInMapFormat& record : module->m_lines)
        if (record.m_nKind == kLineSource && record.m_nLine != kUntranslatedLine &&
            record.m_nLine > lineCount)
            lines.push_back(record.m_nLine);
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return lines;
}

std::string SourceMismatchText(const std::string& sourceName, const std::string& listingName,
                               uint32_t firstChanged, const std::vector<uint32_t>& pastEnd,
                               size_t lineCount) {
    std::string text;
    if (firstChanged)
        text = FillFormat(kChangedSourceFormat,
                          {sourceName, std::to_string(firstChanged), listingName});
    if (!pastEnd.empty()) {
        const std::string lines = pastEnd.size() == 1
                                      ? "line " + std::to_string(pastEnd.front())
                                      : std::to_string(pastEnd.size()) + " lines from " +
                                            std::to_string(pastEnd.front()) + " to " +
                                            std::to_string(pastEnd.back());
        if (!text.empty()) text += "\n";
        text +=
            FillFormat(kCodePastSourceEndFormat, {lines, sourceName, std::to_string(lineCount)});
    }
    return text;
}
