// Damaged copies of a project's C listing opened as the user opens them: a
// listing cut inside its symbol table, or a table line with a size no
// variable has, says so naming the listing (and the line), and everything
// else opens as the intact project does.
#include <gtest/gtest.h>

#include <algorithm>

#include "damaged_copy.h"
#include "listing_reader.h"

using namespace debuginfo_test;

namespace {

// A listing of the project with the symbol table, and a line of its table
// that gives a global data symbol of the map its size: the symbol's entry in
// `symbols` (after the module's own copy of it).
struct TableLine {
    std::string listing;
    TextSpan line;
    size_t entry = 0;
};

TableLine ChooseTableLine(const LoadedModel& whole) {
    std::vector<std::vector<TextSpan>> listings;
    for (const auto& entry : whole.listings)
        listings.push_back(SpansOf(ReadWholeFile(entry.second)));
    // How many lines of all the listings begin with `word`.
    const auto uses = [&](const std::string& word) {
        size_t count = 0;
        for (const auto& spans : listings)
            for (const TextSpan& span : spans)
                count += span.text.rfind(word + " ", 0) == 0;
        return count;
    };
    auto path = whole.listings.begin();
    for (const auto& spans : listings) {
        bool inTable = false;
        for (const TextSpan& span : spans) {
            inTable = inTable || span.text.find(kListingTableRule) != std::string::npos;
            const std::vector<std::string> words = Words(span.text);
            if (!inTable || words.size() < 6 || span.text[0] == ' ' ||
                words.back().find_first_not_of("0123456789") != std::string::npos ||
                uses(words[0]) != 1)
                continue;
            const std::string name = words[0].substr(0, words[0].find('.'));
            for (size_t i = 1; i < whole.symbols.size(); ++i)
                if (whole.symbols[i].rfind("  table " + name + " ", 0) == 0 &&
                    whole.symbols[i - 1].rfind("  " + name + " ", 0) == 0 &&
                    whole.symbols[i] != "  table " + whole.symbols[i - 1].substr(2))
                    return {path->second, span, i};
        }
        ++path;
    }
    return {};
}

} // namespace

TEST(DamagedListingOpen, AListingCutInItsSymbolTableOrWithASizePast64KBSaysSo) {
    ForEveryOpenedProject(
        [](const ProjectInFolder& project, const LoadedModel& whole, const TempFolder& scratch) {
            const TableLine chosen = ChooseTableLine(whole);
            ASSERT_FALSE(chosen.listing.empty()) << "no listing with a symbol table";
            const DamagedCopy copy(project, chosen.listing, scratch);
            // Cut where the table ends: every line of it was read.
            const size_t end = copy.Text().rfind('\n', copy.Text().find(kListingTableEnd)) + 1;
            const LoadedModel cut = copy.Open(end, std::string::npos, "");
            ExpectMessageNaming(cut, copy.Path(), "incomplete");
            ExpectModel(cut, whole);
            // The symbol keeps the type and size the map gave it.
            LoadedModel expected = whole;
            expected.symbols[chosen.entry] = "  table " + whole.symbols[chosen.entry - 1].substr(2);
            const size_t size = Words(chosen.line.text).back().size();
            for (const char* bytes : {"4294967295", "65537"}) {
                const LoadedModel damaged = copy.Open(WordOffset(chosen.line, -1), size, bytes);
                ExpectMessageNaming(damaged, copy.Path(),
                                    "line " + std::to_string(chosen.line.number) + ":");
                ExpectModel(damaged, expected);
            }
        });
}
