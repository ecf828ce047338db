// A project whose map carries one damaged line record, an address no image
// reaches (C:FFFFFFFFFFFFFFFFH), opens as the undamaged project does without
// that record: every other record, instruction and symbol stays as it was, and
// the line before the damaged one takes the damaged line's code. Run on the
// example in both map forms and on every real project that opens.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "line_records.h"
#include "loaded_model.h"
#include "test_support.h"

using namespace debuginfo_test;

namespace {

// One text line of a file: where it starts and its text without line end.
struct TextSpan {
    size_t offset = 0;
    std::string text;
};

std::vector<TextSpan> SpansOf(const std::string& text) {
    std::vector<TextSpan> spans;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        spans.push_back({start, line});
        start = end + 1;
    }
    return spans;
}

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

// What the damaged open must give: the record gone, the code from its address
// up to the next record attached to the line before it. The two lines'
// instructions are compared in address order.
LoadedModel ExpectedAfterDamage(LoadedModel model, const Damage& damage) {
    std::vector<LineRecord>& records = model.records.at(damage.module);
    const LineRecord before = records[damage.record - 1];
    const LineRecord gone = records[damage.record];
    const uint32_t next = records[damage.record + 1].address;
    records.erase(records.begin() + static_cast<std::ptrdiff_t>(damage.record));
    const std::string& source = model.moduleSources.at(damage.module);
    const std::string from = source + ":" + std::to_string(gone.line);
    const std::string to = source + ":" + std::to_string(before.line);
    std::vector<AttachedInstruction>& moved = model.instructions[from];
    for (auto it = moved.begin(); it != moved.end();) {
        if (it->address >= gone.address && it->address < next) {
            model.instructions[to].push_back(*it);
            model.lineOfAddress[it->address] = to;
            it = moved.erase(it);
        } else {
            ++it;
        }
    }
    if (moved.empty()) model.instructions.erase(from);
    return model;
}

void SortByAddress(LoadedModel& model, const std::vector<std::string>& keys) {
    for (const std::string& key : keys) {
        auto found = model.instructions.find(key);
        if (found == model.instructions.end()) continue;
        std::sort(found->second.begin(), found->second.end(),
                  [](const AttachedInstruction& a, const AttachedInstruction& b) {
                      return a.address < b.address;
                  });
    }
}

} // namespace

TEST(DamagedMapOpen, ARecordPastTheImageIsDroppedAndEverythingElseOpensAsBefore) {
    namespace fs = std::filesystem;
    TempFolder scratch;
    std::set<std::string> forms;
    int copies = 0;
    for (const ProjectInFolder& candidate : ExampleAndRealProjects()) {
        SCOPED_TRACE(candidate.project);
        const LoadedModel whole = OpenAndRead(candidate.project, scratch.Root());
        // A project that stops, or says something of its own, is not compared.
        if (!whole.loaded || !whole.messages.empty()) continue;

        const std::string copy = scratch.Path("copy" + std::to_string(++copies));
        CopyFolder(candidate.folder, copy);
        const std::string mapPath =
            copy + "/" + fs::relative(whole.mapPath, candidate.folder).string();
        std::string mapText = ReadWholeFile(mapPath);
        const Damage damage = ChooseDamage(whole, mapText);
        ASSERT_FALSE(damage.module.empty()) << "no record to damage in " << whole.mapPath;
        const std::string value = Words(damage.mapLine.text).front();
        mapText.replace(mapText.find(value, damage.mapLine.offset), value.size(),
                        "C:FFFFFFFFFFFFFFFFH");
        std::ofstream(mapPath, std::ios::binary | std::ios::trunc) << mapText;

        const LoadedModel damaged =
            OpenAndRead(copy + "/" + fs::relative(candidate.project, candidate.folder).string(),
                        scratch.Root());
        ASSERT_TRUE(damaged.loaded);
        EXPECT_TRUE(damaged.messages.empty()) << damaged.messages.front();

        LoadedModel expected = ExpectedAfterDamage(whole, damage);
        LoadedModel got = damaged;
        const std::string& source = whole.moduleSources.at(damage.module);
        const auto& records = whole.records.at(damage.module);
        const std::vector<std::string> touched = {
            source + ":" + std::to_string(records[damage.record - 1].line),
            source + ":" + std::to_string(records[damage.record].line)};
        SortByAddress(expected, touched);
        SortByAddress(got, touched);
        EXPECT_EQ(got.records, expected.records) << damage.mapLine.text;
        EXPECT_EQ(got.instructions, expected.instructions) << damage.mapLine.text;
        EXPECT_EQ(got.lineOfAddress, expected.lineOfAddress);
        EXPECT_EQ(got.symbols, whole.symbols);
        EXPECT_EQ(got.sourceLines, whole.sourceLines);
        std::string form = fs::path(whole.mapPath).extension().string();
        std::transform(form.begin(), form.end(), form.begin(), ::tolower);
        forms.insert(form);
        std::printf("%s: damaged %s\n", candidate.project.c_str(), damage.mapLine.text.c_str());
    }
    // The example alone gives both forms.
    EXPECT_EQ(forms, (std::set<std::string>{".m51", ".map"}));
}
