// What the Global Variable pane lists: one row per formatted variable record
// that is a plain global of a known width.
#pragma once

#include "typed_values.h"
#include "variable_rows.h"

#include <memory>
#include <vector>

// The rows of the records in list order, values in `radix`. A record gives
// no row when its kind is "SFRSYM", its name holds "?", its name is no data
// symbol, its type (the empty type counting as "NONE") is not one of "CHAR",
// "U_CHAR", "BYTE", "INT", "U_INT", "WORD", "PTR", "LONG", "U_LONG" and
// "DWORD", or a row of the same name and address text was made before.
std::vector<VariableRowTexts> GlobalVariableRows(const std::vector<std::unique_ptr<CInfo>>& records,
                                                 int radix);

// The row of a listed global after a stop, read afresh; none when the name
// is no longer a data symbol (the row is then left as it is). A local of the
// same name does not take the global's row.
std::optional<VariableRowTexts> GlobalVariableRow(const std::string& name, int radix);
