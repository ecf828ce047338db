// Damaged copies of a project's C listing opened as the user opens them: a
// listing cut inside its symbol table, or a table line with a size no
// variable has, says so naming the listing (and the line), and everything
// else opens as the intact project does.
#include <gtest/gtest.h>

#include <algorithm>

#include "listing_reader.h"
#include "loaded_model.h"
#include "test_support.h"

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
    std::string all; // every listing: a name that begins one line of them only
    for (const auto& entry : whole.listings)
        all += "\n" + ReadWholeFile(entry.second);
    for (const auto& [module, path] : whole.listings) {
        const std::string text = ReadWholeFile(path);
        const size_t rule = text.find(kListingTableRule);
        for (const TextSpan& span : SpansOf(text)) {
            const std::vector<std::string> words = Words(span.text);
            if (rule == std::string::npos || span.offset < rule || words.size() < 6 ||
                span.text[0] == ' ' ||
                words.back().find_first_not_of("0123456789") != std::string::npos ||
                all.find("\n" + words[0] + " ") != all.rfind("\n" + words[0] + " "))
                continue;
            const std::string name = words[0].substr(0, words[0].find('.'));
            for (size_t i = 1; i < whole.symbols.size(); ++i)
                if (whole.symbols[i].rfind("  table " + name + " ", 0) == 0 &&
                    whole.symbols[i - 1].rfind("  " + name + " ", 0) == 0 &&
                    whole.symbols[i] != "  table " + whole.symbols[i - 1].substr(2))
                    return {path, span, i};
        }
    }
    return {};
}

} // namespace

TEST(DamagedListingOpen, AListingCutInItsSymbolTableOrWithASizePast64KBSaysSo) {
    ForEveryProjectThatOpens([](const LoadedModel& whole, const FreshCopy& fresh) {
        const TableLine chosen = ChooseTableLine(whole);
        ASSERT_FALSE(chosen.listing.empty()) << "no listing with a symbol table";
        const ProjectCopy copy = fresh();
        const std::string listing = copy.Of(chosen.listing);
        const std::string text = ReadWholeFile(listing);
        // Cut where the table ends: every line of it was read.
        const size_t end = text.rfind('\n', text.find(kListingTableEnd)) + 1;
        ExpectOpened(copy.OpenReplaced(listing, end, std::string::npos, ""), listing, "incomplete",
                     whole);
        // The symbol keeps the type and size the map gave it.
        LoadedModel expected = whole;
        expected.symbols[chosen.entry] = "  table " + whole.symbols[chosen.entry - 1].substr(2);
        const size_t size = Words(chosen.line.text).back().size();
        for (const char* bytes : {"4294967295", "65537"}) {
            ExpectOpened(copy.OpenReplaced(listing, WordOffset(chosen.line, -1), size, bytes),
                         listing, "line " + std::to_string(chosen.line.number) + ":", expected);
        }
    });
}
