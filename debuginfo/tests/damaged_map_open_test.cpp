// Damaged copies of a project's map opened as the user opens them: a line
// record or a code segment whose numbers cannot be right is left out with one
// message naming the map and the line, a map cut short says so, and
// everything else opens as the intact project does. Run on the example in
// both map forms and on every real project that opens.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "damaged_copy.h"
#include "line_records.h"
#include "path_resolver.h"

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
    for (auto key = model.instructions.begin(); key != model.instructions.end();) {
        auto& list = key->second;
        list.erase(std::remove_if(list.begin(), list.end(),
                                  [&](const AttachedInstruction& instruction) {
                                      return instruction.address >= from &&
                                             instruction.address < to;
                                  }),
                   list.end());
        key = list.empty() ? model.instructions.erase(key) : std::next(key);
    }
    for (auto at = model.lineOfAddress.begin(); at != model.lineOfAddress.end();)
        at = at->first >= from && at->first < to ? model.lineOfAddress.erase(at) : std::next(at);
}

} // namespace

TEST(DamagedMapOpen, ALineRecordWithADamagedNumberIsLeftOutAndTheLineBeforeKeepsOnlyItsAddress) {
    ForEveryOpenedProject(
        [](const ProjectInFolder& project, const LoadedModel& whole, const TempFolder& scratch) {
            const DamagedCopy copy(project, whole.mapPath, scratch);
            const Damage damage = ChooseDamage(whole, copy.Text());
            ASSERT_FALSE(damage.module.empty()) << "no record to damage in " << whole.mapPath;
            const std::string& line = damage.mapLine.text;
            const std::string value = Words(line).front();
            const std::string number = Words(line).back();
            const size_t valueAt = WordOffset(damage.mapLine, 0);
            const size_t numberAt = WordOffset(damage.mapLine, -1);
            const std::string space = value.substr(0, 2); // "C:" or "01"
            char pastImage[16];
            std::snprintf(pastImage, sizeof pastImage, "00%04XH", unsigned(whole.imageEnd));
            std::vector<std::pair<size_t, std::string>> damages = {
                {valueAt, space + "0GZZH"},
                {valueAt, space + "010000H"},
                {numberAt, number.substr(0, number.find_first_of("0123456789")) + "4294967296"}};
            if (whole.imageEnd <= 0xFFFF) damages.push_back({valueAt, space + pastImage});
            if (space == "C:") damages.push_back({valueAt, value.substr(2)}); // no memory prefix

            LoadedModel expected = whole;
            std::vector<LineRecord>& records = expected.records.at(damage.module);
            const uint32_t before = records[damage.record - 1].address;
            const uint32_t after = records[damage.record + 1].address;
            records.erase(records.begin() + static_cast<std::ptrdiff_t>(damage.record));
            Unattach(expected, whole.lineOfAddress.upper_bound(before)->first, after);
            for (const auto& [at, text] : damages) {
                SCOPED_TRACE(text);
                const LoadedModel damaged =
                    copy.Open(at, at == valueAt ? value.size() : number.size(), text);
                ExpectMessageNaming(damaged, copy.Path(),
                                    "line " + std::to_string(damage.mapLine.number) + ":");
                ExpectModel(damaged, expected);
            }
        });
}

namespace {

// A code segment line of a function of `whole` that has source lines and a
// code symbol of its name at its start: its start and length words, and where
// the function's last source line starts.
struct SegmentDamage {
    TextSpan mapLine;
    int startWord = 0, lengthWord = 0;
    std::string start, length;
    std::string function;
    uint32_t lastLine = 0;
};

// The first such segment of a function with locals, else the first one.
SegmentDamage ChooseSegment(const LoadedModel& whole, const std::string& mapText) {
    std::vector<SegmentDamage> candidates;
    const bool extended = platform::ToUpperKey(whole.mapPath).back() == 'P';
    for (const TextSpan& span : SpansOf(mapText)) {
        const std::vector<std::string> words = Words(span.text);
        if (words.size() < (extended ? 7u : 5u) || words.back().rfind("?PR?", 0) != 0) continue;
        const std::string& name = words.back();
        const size_t moduleAt = name.rfind('?');
        std::string function = name.substr(4, moduleAt - 4);
        if (function.front() == '_') function.erase(0, 1);
        const std::string start = extended ? words[0] : words[1];
        const uint32_t address = static_cast<uint32_t>(std::stoul(start, nullptr, 16));
        bool named = false; // a code symbol of the function's name at its start
        for (const std::string& symbol : whole.symbols) {
            const std::vector<std::string> columns = Words(symbol);
            named = named || (columns.size() > 3 && columns[1] == std::to_string(address) &&
                              columns[3] == "CODE" &&
                              platform::EqualsNoCase(columns[0], function) +
                                      platform::EqualsNoCase(columns[0], "_" + function) >
                                  0);
        }
        auto records = whole.records.find(name.substr(moduleAt + 1));
        if (!named || records == whole.records.end()) continue;
        const auto& list = records->second;
        auto begin = std::find_if(list.begin(), list.end(), [&](const LineRecord& record) {
            return record.kind == kLineFunctionStart && record.address == address;
        });
        auto end = std::find_if(begin, list.end(), [](const LineRecord& record) {
            return record.kind == kLineFunctionEnd;
        });
        if (begin == list.end() || end == list.end() || std::prev(end)->kind != kLineSource)
            continue;
        candidates.push_back(
            {span, extended ? 0 : 1, 2, start, words[2], function, std::prev(end)->address});
    }
    for (const SegmentDamage& candidate : candidates) {
        auto entry =
            std::find(whole.symbols.begin(), whole.symbols.end(), "function " + candidate.function);
        if (entry != whole.symbols.end() && std::next(entry) != whole.symbols.end() &&
            (*std::next(entry))[0] == ' ')
            return candidate;
    }
    return candidates.empty() ? SegmentDamage() : candidates.front();
}

} // namespace

TEST(DamagedMapOpen, ACodeSegmentWithADamagedNumberIsLeftOutWithItsLocals) {
    ForEveryOpenedProject([](const ProjectInFolder& project, const LoadedModel& whole,
                             const TempFolder& scratch) {
        const DamagedCopy copy(project, whole.mapPath, scratch);
        const SegmentDamage damage = ChooseSegment(whole, copy.Text());
        ASSERT_FALSE(damage.function.empty()) << "no segment to damage in " << whole.mapPath;
        const uint32_t end = static_cast<uint32_t>(std::stoul(damage.start, nullptr, 16) +
                                                   std::stoul(damage.length, nullptr, 16));
        // The function and its locals go; its last line keeps its own instruction.
        LoadedModel expected = whole;
        auto function = std::find(expected.symbols.begin(), expected.symbols.end(),
                                  "function " + damage.function);
        ASSERT_NE(function, expected.symbols.end());
        auto next = std::find_if(std::next(function), expected.symbols.end(),
                                 [](const std::string& entry) { return entry[0] != ' '; });
        expected.symbols.erase(function, next);
        Unattach(expected, whole.lineOfAddress.upper_bound(damage.lastLine)->first, end);
        for (const auto& [word, text] : {std::pair(damage.lengthWord, "7FFFFFFFH"),
                                         std::pair(damage.startWord, "FFFFFFFFH")}) {
            SCOPED_TRACE(damage.mapLine.text + " with " + text);
            const size_t size = (word == damage.lengthWord ? damage.length : damage.start).size();
            const LoadedModel damaged = copy.Open(WordOffset(damage.mapLine, word), size, text);
            ExpectMessageNaming(damaged, copy.Path(),
                                "line " + std::to_string(damage.mapLine.number) + ":");
            ExpectModel(damaged, expected);
        }
    });
}

TEST(DamagedMapOpen, AMapWithoutTheLinkersLastLineSaysItIsIncomplete) {
    ForEveryOpenedProject(
        [](const ProjectInFolder& project, const LoadedModel& whole, const TempFolder& scratch) {
            const DamagedCopy copy(project, whole.mapPath, scratch);
            const size_t closing = copy.Text().rfind("RUN COMPLETE.");
            ASSERT_NE(closing, std::string::npos);
            const size_t cut = copy.Text().rfind('\n', closing) + 1;
            const LoadedModel damaged = copy.Open(cut, std::string::npos, "");
            ExpectMessageNaming(damaged, copy.Path(), "incomplete");
            ExpectModel(damaged, whole);
        });
}
