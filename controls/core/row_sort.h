// Sorting the rows of a report list by one column. The cell comparator is not
// a strict weak ordering, so the rows are sorted with a quicksort over row
// numbers whose scans are bounded by the range: it always terminates and
// always yields a permutation, whatever the comparator answers.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace controls {

// Sorts order[low..high] (inclusive). `compare` gets two row numbers taken
// from `order` and answers -1, 0 or 1. Equal rows keep no particular order.
void QuickSortRows(std::vector<int>& order, int low, int high, bool ascending,
                   const std::function<int(int, int)>& compare);

// The new order of rows whose sort-column texts are `texts`: element k is the
// old row that goes to place k. Rows whose text equals `separator` stay where
// they are and divide the list into runs that are sorted each by itself.
std::vector<int> SortedRowOrder(const std::vector<std::string>& texts, bool ascending,
                                const std::optional<std::string>& separator);

} // namespace controls
