#include "row_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace controls;

namespace {

std::vector<std::string> Apply(const std::vector<std::string>& texts,
                               const std::vector<int>& order) {
    std::vector<std::string> out;
    for (int row : order)
        out.push_back(texts[row]);
    return out;
}

bool IsPermutation(std::vector<int> order, std::size_t size) {
    if (order.size() != size) return false;
    std::sort(order.begin(), order.end());
    for (std::size_t i = 0; i < size; ++i) {
        if (order[i] != static_cast<int>(i)) return false;
    }
    return true;
}

} // namespace

TEST(RowSort, HexTextsSortByValueBothWays) {
    std::vector<std::string> texts{"10", "9", "A"};
    EXPECT_EQ(Apply(texts, SortedRowOrder(texts, true, std::nullopt)),
              (std::vector<std::string>{"9", "A", "10"}));
    EXPECT_EQ(Apply(texts, SortedRowOrder(texts, false, std::nullopt)),
              (std::vector<std::string>{"10", "A", "9"}));
}

TEST(RowSort, LongerListsComeOutSorted) {
    std::vector<std::string> texts;
    std::mt19937 random(7);
    for (int i = 0; i < 500; ++i)
        texts.push_back(std::to_string(random() % 100000) + ".5");
    std::vector<std::string> sorted = Apply(texts, SortedRowOrder(texts, true, std::nullopt));
    EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
        return std::stod(a) < std::stod(b);
    }));
    std::vector<std::string> reversed = Apply(texts, SortedRowOrder(texts, false, std::nullopt));
    EXPECT_TRUE(std::is_sorted(reversed.begin(), reversed.end(), [](const auto& a, const auto& b) {
        return std::stod(a) > std::stod(b);
    }));
}

TEST(RowSort, CyclicTextsTerminateWithAPermutation) {
    std::vector<std::string> cycle{"10", "1F", "9.5"};
    for (bool ascending : {true, false}) {
        std::vector<std::string> texts;
        for (int i = 0; i < 200; ++i)
            texts.push_back(cycle[(i * 7) % 3]);
        EXPECT_TRUE(IsPermutation(SortedRowOrder(texts, ascending, std::nullopt), texts.size()));
        EXPECT_TRUE(IsPermutation(SortedRowOrder(cycle, ascending, std::nullopt), 3));
    }
}

TEST(RowSort, AnyComparatorAnswerTerminates) {
    // Even a comparator that answers at random never makes the scans leave
    // the range or the recursion run forever.
    std::mt19937 random(12345);
    for (int round = 0; round < 200; ++round) {
        int size = 1 + static_cast<int>(random() % 60);
        std::vector<int> order(size);
        for (int i = 0; i < size; ++i)
            order[i] = i;
        auto compare = [&random](int, int) { return static_cast<int>(random() % 3) - 1; };
        QuickSortRows(order, 0, size - 1, round % 2 == 0, compare);
        EXPECT_TRUE(IsPermutation(order, size));
    }
}

TEST(RowSort, SeparatorRowsStayAndSplitRuns) {
    std::vector<std::string> texts{"3", "1", "--", "2", "0", "--", "5"};
    std::vector<int> order = SortedRowOrder(texts, true, std::string("--"));
    EXPECT_EQ(Apply(texts, order), (std::vector<std::string>{"1", "3", "--", "0", "2", "--", "5"}));
    EXPECT_EQ(order[2], 2);
    EXPECT_EQ(order[5], 5);
    // Without the separator every row takes part ("--" sorts byte-wise first).
    EXPECT_EQ(Apply(texts, SortedRowOrder(texts, false, std::nullopt)).back(), "--");
}

TEST(RowSort, EmptyAndSingleLists) {
    EXPECT_TRUE(SortedRowOrder({}, true, std::nullopt).empty());
    EXPECT_EQ(SortedRowOrder({"x"}, true, std::nullopt), (std::vector<int>{0}));
    EXPECT_EQ(SortedRowOrder({"--", "--"}, true, std::string("--")), (std::vector<int>{0, 1}));
}
