// Which files of a project's groups are modules, of which kind, and under
// which name the linker map knows an assembler module.
#pragma once

#include <string>
#include <vector>

#include "project_file.h"
#include "text_loader.h"

enum class ModuleKind { None, C, Assembler };

// The file types of the project file's "File" lines.
constexpr int kFileTypeC = 1;
constexpr int kFileTypeAssembler = 2;
constexpr int kFileTypeObject = 3;
constexpr int kFileTypeLibrary = 4;
constexpr int kFileTypeDocument = 5;
constexpr int kFileTypeCustom = 6;

// The kind of a group file: its file type decides (C, assembler, or none for
// object files, libraries, documents and custom files); a line without a
// known type falls back to the extension (.C and .C51 C, .A51 and .ASM
// assembler, anything else none).
ModuleKind ModuleKindOf(const FILEINFO& file);

const char* ModuleKindName(ModuleKind kind);

// The module name an assembler source gives itself with its NAME directive,
// upper case as the assembler writes it into the object; the source text and
// the assembler's listing of it both serve (the listing's LOC, OBJ and LINE
// columns stand before the source text). Empty when the text has none.
std::string AssemblerModuleName(const Loader& text);

// A module of the project: a C or assembler file of its groups.
struct ProjectModule {
    ModuleKind m_kind = ModuleKind::None;
    std::string m_strModuleName; // as the map knows it (an assembler module's NAME)
    std::string m_strSourceName; // upper case with extension, as the project lists it
    std::string m_strSourcePath; // as the project file writes it
    std::string m_strBase;       // the file's upper-case name without extension
};

// The modules among the group files of a project, in project order. A C
// module is named after its file; an assembler module after the NAME of its
// source (found through the project's file list, moved projects included) or
// of its listing, else after its file (the start-up file STARTUP.A51 is then
// ?C_STARTUP).
std::vector<ProjectModule> FindProjectModules(const ProjectSettings& settings,
                                              const CFileStruct& files);

// Where Open reads a module's listing (named after the module's file, in the
// listing folder) and its source: the real file the project names, moved
// projects included (see LocateProjectFile), else the path as written.
std::string ModuleListingPath(const ProjectSettings& settings, const ProjectModule& module);
std::string ModuleSourcePath(const ProjectSettings& settings, const ProjectModule& module);
