// The texts Open, Reload and Close show to the user.
#pragma once

#include <initializer_list>
#include <string>

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
// Followed by one line for each line of the file list that gives no file or a
// file again ("line 9 \"...\": why").
constexpr const char* kProjectFileLinesFormat =
    "%s lists its files on lines that are not read as written:";
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
// The project's own image is not the build its map describes: the image, and
// where the two first differ (naming the map). Yes goes on with the image.
constexpr const char* kForeignImageQuestionFormat =
    "The image %s is not the build the map describes: %s.\nDo you want to go on with this "
    "image?";
// A source file changed after the build: the file, its first line that
// differs, the listing.
constexpr const char* kChangedSourceFormat =
    "%s was changed after the build: line %s differs from its listing %s, so the markers and the "
    "current line may stand on the wrong lines.";
// Line records past the end of their file: which lines, the file, its length.
constexpr const char* kCodePastSourceEndFormat =
    "The map places code on %s of %s, which has %s lines: that code is shown without a "
    "source line.";

// `format` with each "%s" replaced by the next of `parts`, in order.
inline std::string FillFormat(const char* format, std::initializer_list<std::string> parts) {
    std::string text = format;
    size_t at = 0;
    for (const std::string& part : parts) {
        at = text.find("%s", at);
        if (at == std::string::npos) break;
        text.replace(at, 2, part);
        at += part.size();
    }
    return text;
}
