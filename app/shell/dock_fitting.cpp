#include "dock_fitting.h"

#include <algorithm>

namespace {

bool Across(DockSide side, bool horizontally) {
    const bool sideways = side == DockSide::Left || side == DockSide::Right;
    return sideways == horizontally;
}

// The room a row takes along its direction: its thickness, and its sash.
int Taken(const DockRow& row, int size, int sash) {
    return size + (row.resizable ? sash : 0);
}

// A row already thinner than its least thickness keeps what it has.
int Least(const DockRow& row) {
    return row.resizable ? std::min(row.size, std::max(row.least, 0)) : row.size;
}

// Shrinks the rows across one direction (`horizontally`: the left and right
// rows, which share the width) until the centre has `leastCentre` of
// `length`, or the rows are at their least.
void FitAcross(const std::vector<DockRow>& rows, std::vector<int>& sizes, int length,
               int leastCentre, int sash, bool horizontally) {
    int taken = 0;
    int spare = 0; // room above the least thickness, in all rows together
    for (const DockRow& row : rows) {
        if (!Across(row.side, horizontally)) continue;
        taken += Taken(row, row.size, sash);
        spare += row.size - Least(row);
    }
    const int wanted = std::min(leastCentre - (length - taken), spare);
    if (wanted <= 0) return;
    int given = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        if (!Across(rows[i].side, horizontally) || !rows[i].resizable) continue;
        const int room = rows[i].size - Least(rows[i]);
        const int cut = static_cast<int>(static_cast<long long>(wanted) * room / spare);
        sizes[i] -= cut;
        given += cut;
    }
    // What the rounding left goes, a pixel each, to the rows that still have room.
    for (size_t i = 0; i < rows.size() && given < wanted; ++i) {
        if (!Across(rows[i].side, horizontally) || !rows[i].resizable) continue;
        const int room = sizes[i] - Least(rows[i]);
        const int cut = std::min(room, wanted - given);
        if (cut <= 0) continue;
        sizes[i] -= cut;
        given += cut;
    }
}

} // namespace

std::vector<int> FitDockRows(const std::vector<DockRow>& rows, ClientSize client, int sash) {
    std::vector<int> sizes;
    for (const DockRow& row : rows)
        sizes.push_back(row.size);
    FitAcross(rows, sizes, client.width, kLeastCentreWidth, sash, true);
    FitAcross(rows, sizes, client.height, kLeastCentreHeight, sash, false);
    return sizes;
}

ClientSize LeastClientSize(const std::vector<DockRow>& rows, int sash) {
    ClientSize least{kLeastCentreWidth, kLeastCentreHeight};
    for (const DockRow& row : rows) {
        const int taken = Taken(row, Least(row), sash);
        if (Across(row.side, true))
            least.width += taken;
        else
            least.height += taken;
    }
    return least;
}
