// The Symbol pane's tree: one row per module of the linker map and below it
// one row per symbol with its kind and address. Building it also builds the
// formatted variable records (CInfo) that the Global Variable pane lists.
#pragma once

#include "symbol_records.h"

#include <memory>
#include <string>
#include <vector>

// "C:0x%.6X", "D:0x%.6X", "X:0x%.6X" or "N:0x%.6X" by memory class "CODE",
// "DATA", "XDATA" or "NUMBER"; a special function register of class "---"
// reads "D:"; any other class gives the address alone, "0x%.6X".
std::string SymbolAddressText(const SymbolInfo& symbol);

struct SymbolRow {
    std::string name;
    std::string kind;
    std::string address;
};

struct SymbolModuleRows {
    std::string name;
    std::vector<SymbolRow> symbols;
};

// The rows of every module in map order. For the module's name and then for
// each symbol's name, in that order, a formatted variable record is appended
// where the name is a variable (FormatSymbolValue).
std::vector<SymbolModuleRows>
BuildSymbolRows(const std::vector<std::unique_ptr<SymbolInfo>>& modules);
