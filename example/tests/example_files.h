// The example project as the tests meet it: copied into a scratch folder with
// its line ends as kept or changed to LF, and SDCC's own debug records of its
// image.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "test_support.h"

namespace example_test {

// The example project's folder in the repository.
std::string ExampleFolder();

// Copies the project's files (not the generator and the tests) into `folder`;
// with `toLf` every CRLF line end becomes LF.
void CopyExampleProject(const debuginfo_test::TempFolder& folder, bool toLf);

// SDCC's debug records (.cdb) of the image.
struct SdccRecords {
    // "MAIN.C:40" -> every address SDCC gives the line.
    std::map<std::string, std::set<uint32_t>> lineAddresses;
    // address -> every "FILE.C:line" SDCC gives it, in SDCC's order.
    std::map<uint32_t, std::vector<std::string>> addressLines;
    // The addresses of the module-level symbols and of the functions, by name.
    std::map<std::string, uint32_t> globals;
    std::map<std::string, uint32_t> functions;
};
SdccRecords ReadSdccRecords(const std::string& path);

} // namespace example_test
