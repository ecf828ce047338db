// Damaged copies of a project's map opened as the user opens them: a line
// record or a code segment whose numbers cannot be right is left out with one
// message naming the map and the line, a map cut short says so, and
// everything else opens as the intact project does. Run on the example in
// both map forms and on every real project that opens.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "line_records.h"
#include "loaded_model.h"
#include "symbol_records.h"
#include "test_support.h"

using namespace debuginfo_test;

namespace {

// A map line of a source-line record whose address column ends in `address`
// ("C:0A44H" in the .M51 form, "01000A44H" in the extended form).
bool IsLineRecordAt(const std::string& text, uint32_t address) {
    const std::vector<std::string> words = Words(text);
    if (words.size() < 3 || words[1].rfind("LINE", 0) != 0) return false;
    char hex[16];
    std::snprintf(hex, sizeof hex, "%04XH", static_cast<unsigned>(address));
    const std::string& value = words[0];
    const size_t length = std::char_traits<char>::length(hex);
    return value.size() > length && value.compare(value.size() - length, length, hex) == 0;
}

struct Damage {
    std::string module;
    size_t record = 0; // in the module's records
    TextSpan mapLine;
};

// A source-line record inside a function, between two others of another line
// at lower and higher addresses with code, whose address only one map line of
// its module carries: a record the map readers make from that one line.
Damage ChooseDamage(const LoadedModel& model, const std::string& mapText) {
    const std::vector<TextSpan> spans = SpansOf(mapText);
    for (const auto& [module, records] : model.records) {
        int depth = 0; // of the functions open at record j
        for (size_t j = 1; j + 1 < records.size(); ++j) {
            if (records[j - 1].kind == kLineFunctionStart) ++depth;
            if (records[j - 1].kind == kLineFunctionEnd) --depth;
            const LineRecord& before = records[j - 1];
            const LineRecord& record = records[j];
            const LineRecord& after = records[j + 1];
            if (depth <= 0 || before.kind != kLineSource || record.kind != kLineSource ||
                after.kind != kLineSource || before.line == record.line ||
                !(before.address < record.address && record.address < after.address) ||
                !model.lineOfAddress.count(record.address))
                continue;
            std::string current;
            std::vector<TextSpan> carriers;
            for (const TextSpan& span : spans) {
                if (span.text.find("---         MODULE") != std::string::npos)
                    current = Words(span.text).back();
                else if (current == module && IsLineRecordAt(span.text, record.address))
                    carriers.push_back(span);
            }
            if (carriers.size() == 1) return {module, j, carriers.front()};
        }
    }
    return {};
}

// The code from `from` up to `to` is attached to no line.
void Unattach(LoadedModel& model, uint64_t from, uint64_t to) {
    const auto inside = [&](uint32_t address) { return address >= from && address < to; };
    for (auto key = model.instructions.begin(); key != model.instructions.end();) {
        auto& list = key->second;
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [&](const AttachedInstruction& i) { return inside(i.address); }),
                   list.end());
        key = list.empty() ? model.instructions.erase(key) : std::next(key);
    }
    for (auto at = model.lineOfAddress.begin(); at != model.lineOfAddress.end();)
        at = inside(at->first) ? model.lineOfAddress.erase(at) : std::next(at);
}

// The address after `address` of the next instruction given to a line.
uint32_t NextAttached(const LoadedModel& model, uint32_t address) {
    return model.lineOfAddress.upper_bound(address)->first;
}

} // namespace

TEST(DamagedMapOpen, ALineRecordWithADamagedNumberIsLeftOutAndTheLineBeforeKeepsOnlyItsAddress) {
    ForEveryProjectThatOpens([](const LoadedModel& whole, const FreshCopy& fresh) {
        const ProjectCopy copy = fresh();
        const std::string map = copy.Of(whole.mapPath);
        const std::string mapText = ReadWholeFile(map);
        const Damage damage = ChooseDamage(whole, mapText);
        ASSERT_FALSE(damage.module.empty()) << "no record to damage in " << whole.mapPath;
        const std::string value = Words(damage.mapLine.text).front();
        const std::string number = Words(damage.mapLine.text).back();
        const std::string space = value.substr(0, 2); // "C:" or "01"
        char pastImage[16];
        std::snprintf(pastImage, sizeof pastImage, "00%04XH", unsigned(whole.imageEnd));
        std::vector<std::pair<int, std::string>> damages = {
            {0, space + "0GZZH"},
            {0, space + "010000H"},
            {-1, number.substr(0, number.find_first_of("0123456789")) + "4294967296"}};
        if (whole.imageEnd <= 0xFFFF) damages.push_back({0, space + pastImage});
        if (space == "C:") damages.push_back({0, value.substr(2)}); // no memory prefix

        LoadedModel expected = whole;
        std::vector<LineRecord>& records = expected.records.at(damage.module);
        const uint32_t before = records[damage.record - 1].address;
        Unattach(expected, NextAttached(whole, before), records[damage.record + 1].address);
        records.erase(records.begin() + static_cast<std::ptrdiff_t>(damage.record));
        for (const auto& [word, text] : damages) {
            SCOPED_TRACE(text);
            const size_t at = WordOffset(damage.mapLine, word);
            const LoadedModel damaged =
                copy.OpenReplaced(map, at, (word ? number : value).size(), text);
            ExpectOpened(damaged, map, "line " + std::to_string(damage.mapLine.number) + ":",
                         expected);
        }
        // Without the linker's last line the map is incomplete; all it holds is read.
        const size_t closing = mapText.rfind('\n', mapText.rfind("RUN COMPLETE.")) + 1;
        ExpectOpened(copy.OpenReplaced(map, closing, std::string::npos, ""), map, "incomplete",
                     whole);
    });
}

namespace {

// A code segment line of a function with locals and source lines, whose
// start a code symbol of its name marks: the words of its start and length,
// and the function's end and the address of its last source line.
struct SegmentDamage {
    TextSpan line;
    std::string function;
    int startWord = 0;
    uint32_t end = 0;
    uint32_t lastLine = 0;
};

SegmentDamage ChooseSegment(const LoadedModel& whole, const std::string& mapText) {
    for (const TextSpan& span : SpansOf(mapText)) {
        const std::vector<std::string> words = Words(span.text);
        if (words.size() < 5 || words.back().rfind("?PR?", 0) != 0) continue;
        const int startWord = words[0] == "CODE" ? 1 : 0; // .M51: the type word first
        const uint32_t start = std::stoul(words[startWord], nullptr, 16);
        const std::string& name = words.back();
        std::string function = name.substr(4, name.rfind('?') - 4);
        function = SegmentNameOfFunction(function);
        const auto entry =
            std::find(whole.symbols.begin(), whole.symbols.end(), "function " + function);
        const bool withLocals = entry != whole.symbols.end() &&
                                std::next(entry) != whole.symbols.end() &&
                                (*std::next(entry))[0] == ' ';
        const bool marked = std::any_of(whole.symbols.begin(), whole.symbols.end(), [&](auto& s) {
            const std::vector<std::string> columns = Words(s);
            return columns.size() > 3 && columns[1] == std::to_string(start) &&
                   columns[3] == "CODE" && SegmentNameOfFunction(columns[0]) == function;
        });
        const auto records = whole.records.find(name.substr(name.rfind('?') + 1));
        if (!withLocals || !marked || records == whole.records.end()) continue;
        const auto& list = records->second;
        auto first = std::find_if(list.begin(), list.end(), [&](const LineRecord& r) {
            return r.kind == kLineFunctionStart && r.address == start;
        });
        auto last = std::find_if(first, list.end(),
                                 [](const LineRecord& r) { return r.kind == kLineFunctionEnd; });
        if (last == list.end() || (--last)->kind != kLineSource) continue;
        return {span, function, startWord, start + uint32_t(std::stoul(words[2], nullptr, 16)),
                last->address};
    }
    return {};
}

} // namespace

TEST(DamagedMapOpen, ACodeSegmentWithADamagedNumberIsLeftOutWithItsLocals) {
    ForEveryProjectThatOpens([](const LoadedModel& whole, const FreshCopy& fresh) {
        const ProjectCopy copy = fresh();
        const std::string map = copy.Of(whole.mapPath);
        const SegmentDamage damage = ChooseSegment(whole, ReadWholeFile(map));
        ASSERT_FALSE(damage.function.empty()) << "no segment to damage in " << whole.mapPath;
        // The function and its locals go; its last line keeps its own instruction.
        // The one message is the map's: the image its bytes lie in is not questioned.
        LoadedModel expected = whole;
        const auto entry = std::find(expected.symbols.begin(), expected.symbols.end(),
                                     "function " + damage.function);
        expected.symbols.erase(entry,
                               std::find_if(std::next(entry), expected.symbols.end(),
                                            [](const std::string& s) { return s[0] != ' '; }));
        Unattach(expected, NextAttached(whole, damage.lastLine), damage.end);
        for (const auto& [word, text] :
             {std::pair(2, "7FFFFFFFH"), std::pair(damage.startWord, "FFFFFFFFH")}) {
            SCOPED_TRACE(damage.line.text + " with " + text);
            const size_t at = WordOffset(damage.line, word);
            const size_t size = Words(damage.line.text)[static_cast<size_t>(word)].size();
            ExpectOpened(copy.OpenReplaced(map, at, size, text), map,
                         "line " + std::to_string(damage.line.number) + ":", expected);
        }
    });
}
