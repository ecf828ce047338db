// The texts Open, Reload and Close show to the user.
#pragma once

#include <string>

// `format` with every "%s" replaced by `name`.
inline std::string WithName(const char* format, const std::string& name) {
    std::string text = format;
    for (size_t at = text.find("%s"); at != std::string::npos;
         at = text.find("%s", at + name.size()))
        text.replace(at, 2, name);
    return text;
}

constexpr const char* kOpenFileFilter = "Project File (*.Uv2) or Hex file(*.Hex) | *.Uv2;*.hex; |";
constexpr const char* kProjectLoadedText = "Loaded Project Exist!";
constexpr const char* kErrorCaption = "Error";
constexpr const char* kOpenFailedCaption = "FIle Open Failed";
constexpr const char* kProjectFileFailedText = "Uv2 project file";
constexpr const char* kNotHexFileText = "Read Only HEX File";
constexpr const char* kNoMapText = "M51 File & MAP FIle Both Not Exist\nProject Compile Again";
constexpr const char* kMapMissingText = "M51 File don't Exist\nStop Project Loading";
constexpr const char* kProjectFileReopenText = "U2V File don't Open\nStop Project Loading";
constexpr const char* kFileCorruptedFormat = "%s file is corrupted";
constexpr const char* kSymbolTableMissingText =
    "Symbol Table not found.\n\nuVision \"Project\" Menu -> \"Option for Target 'Target ?'\" -> "
    "\"Listing\" Tab -> \"Symbols\" Check \nAnd Rebuild Target!!";
constexpr const char* kOptionErrorFormat =
    "Option error!! uVision Project Workspace-> %s file-> Click right mouse button -> Select "
    "\"Option for File %s\" -> Check 'Generate Assembler SRC' file and 'Assemble SRC file' in "
    "Properties tab";
// The image the project names, the one found in its place, why that one is not this build's.
constexpr const char* kSubstituteImageFormat =
    "The project's image %s does not exist. The image of that name found at %s is not this "
    "build's: %s.\nStop Project Loading.";
// A map or listing that ends before its last section does ("%s" is its path).
constexpr const char* kIncompleteFileFormat =
    "%s is incomplete: it ends before its last section does. Only what it holds was read.";
// Followed by one line per refused line: "line 176: the address \"C:0GZZH\" is not a number".
constexpr const char* kRefusedLinesFormat =
    "These lines of %s could not be read and were left out:";
constexpr const char* kMoreRefusedLinesText = " more lines could not be read.";
constexpr const char* kHexOnlyQuestion = "Do you want to open only hex file?";
