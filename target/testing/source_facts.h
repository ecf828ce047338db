// What a loaded real project says about its own program, read from its map,
// its line tables and its sources, so that the tests on the real projects
// name functions and statements and never an address or a line number.
#pragma once

#include "symbol_table.h"

#include <cstdint>
#include <string>

// A source position as the line tables name it ("PROT.C", 39).
struct SourcePosition {
    std::string file;
    int line = 0; // 0: no position
};

// The position the line tables give `address`.
SourcePosition PositionOfAddress(uint32_t address);

// The address of the first instruction of "file:line"; kNoAddress when the line
// has none.
uint32_t AddressOfPosition(const SourcePosition& position);

// The entry of the C function `name`: its code symbol, under the name the
// compiler gives a function with register parameters ("_name") too. kNoAddress
// when the map has neither.
uint32_t FunctionEntry(const std::string& name);

// The line the line tables give the entry of the C function `name`: its first
// line with code. No position when the map has no such function.
SourcePosition FirstLineOf(const std::string& name);

// The first line after `line` of `file` that has code; 0 when none follows.
int NextLineWithCode(const std::string& file, int line);

// The text of the source file the line tables call `file`, found below
// `folder` whatever the case of its name; empty when there is none.
std::string SourceText(const std::string& folder, const std::string& file);

// The first line with code holding `statement` in the function `function`, from
// the function's entry on, in its source below `folder`. No position when the
// function or the statement is missing.
SourcePosition StatementInFunction(const std::string& folder, const std::string& function,
                                   const std::string& statement);

// The simulated board has the adapter's 128 bytes of internal RAM
// (0x00-0x7F). Whether it can run the program of `projectOrMap` (a project
// file, or the linker map itself): its stack, the ?STACK segment of the map's
// memory map, starts in that RAM. When it cannot, `why` says so, for the
// test to skip the project with.
bool BoardRunsProgram(const std::string& projectOrMap, std::string& why);
