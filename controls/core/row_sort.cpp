#include "row_sort.h"

#include "cell_compare.h"

#include <utility>

namespace controls {

void QuickSortRows(std::vector<int>& order, int low, int high, bool ascending,
                   const std::function<int(int, int)>& compare) {
    // Each pass partitions [low, high] around the middle row, recurses into
    // the smaller part and loops on the larger one. Both parts are always
    // strictly smaller than the range: i ends above low and j below high.
    while (low < high) {
        const int pivot = order[(low + high) / 2];
        const int sign = ascending ? 1 : -1;
        int i = low;
        int j = high;
        while (i <= j) {
            while (i < high && sign * compare(order[i], pivot) < 0)
                ++i;
            while (j > low && sign * compare(order[j], pivot) > 0)
                --j;
            if (i <= j) {
                if (i != j) std::swap(order[i], order[j]);
                ++i;
                --j;
            }
        }
        if (j - low < high - i) {
            if (low < j) QuickSortRows(order, low, j, ascending, compare);
            low = i;
        } else {
            if (i < high) QuickSortRows(order, i, high, ascending, compare);
            high = j;
        }
    }
}

std::vector<int> SortedRowOrder(const std::vector<std::string>& texts, bool ascending,
                                const std::optional<std::string>& separator) {
    const int count = static_cast<int>(texts.size());
    std::vector<CellKey> keys;
    keys.reserve(texts.size());
    for (const std::string& text : texts)
        keys.push_back(MakeCellKey(text));
    auto compare = [&keys](int a, int b) { return CompareCellKeys(keys[a], keys[b]); };

    std::vector<int> order(texts.size());
    for (int row = 0; row < count; ++row)
        order[row] = row;
    int runStart = 0;
    for (int row = 0; row <= count; ++row) {
        bool runEnds = row == count || (separator && texts[row] == *separator);
        if (!runEnds) continue;
        if (row - 1 > runStart) QuickSortRows(order, runStart, row - 1, ascending, compare);
        runStart = row + 1;
    }
    return order;
}

} // namespace controls
