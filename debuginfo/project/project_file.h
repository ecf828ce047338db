// The reader of the uVision project file (".Uv2"): the project, output and
// listing directories, the output name, the kind of linker map, the path of
// every source file, and the list of source files of the project's groups.
#pragma once

#include <list>
#include <map>
#include <string>
#include <string_view>
#include <vector>

// What the project file says; keys that are absent leave a field as it was.
struct ProjectSettings {
    std::string m_strProjectDir; // the folder of the project file as it is on disk
    std::string m_strLstDir;     // "LstDir" as written, e.g. ".\Listings\"
    std::string m_strOutDir;     // "OutDir" as written
    std::string m_strOutName;    // "OutName" as written
    std::string m_strMapExt;     // "MAP" (extended linker) or "M51"
    // Upper-case file name -> upper-case path as the project file writes it.
    std::map<std::string, std::string> m_mapSourcePaths;
};

// One source file of a group: the upper-case name without its extension and
// "." followed by the upper-case extension (MAIN and .C), and the file type
// its line gives ("File 1,2,<...>" is of type 2; 0 when the line gives none).
struct FILEINFO {
    std::string m_strPath;
    std::string m_strExt;
    int m_nType = 0;
};

// The project's module names and its list of source files.
struct CFileStruct {
    std::list<std::string> m_listNames;
    std::vector<FILEINFO> m_listFileInfo;
};

// Reads the project file at `path` (resolved without regard to case) into
// `settings`; the project directory is the real folder the file was found in,
// as an absolute path.
// 1 when it was read; 0 when it cannot be read (nothing stored).
int ReadProjectFile(const std::string& path, ProjectSettings& settings);

// Appends a record to `files` for every file line of the groups (from the
// first "Group" line up to the "Options" line). A line there that is not a
// file line with its two "<...>" fields (one cut short, or wrapped onto the
// next line), and a file listed again, give no record; each such line is
// told in `faults`, when given, as one text ("line 9 \"...\": why"). 1 when
// the file was read, 0 when it cannot be read.
int ReadProjectGroupFiles(const std::string& path, CFileStruct& files,
                          std::vector<std::string>* faults = nullptr);

// The same two readings of a project file's text.
void ParseProjectText(std::string_view text, ProjectSettings& settings);
void ParseProjectGroupText(std::string_view text, CFileStruct& files,
                           std::vector<std::string>* faults = nullptr);

// The second "<...>" field of a file line, without its brackets; empty when
// the line has no two closed fields.
std::string SplitAngleBrackets(std::string_view line);

// The text after the last "." of `name`, cut at the first ">"; empty without a ".".
std::string SplitFileNameAtDot(std::string_view name);

// The file type of a file line: the second number after "File" ("File 3,5,<...>"
// gives 5); 0 when the line has none.
int FileTypeOfLine(std::string_view line);
