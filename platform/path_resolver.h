// Windows paths from project files, resolved on a case-sensitive file system.
//
// Project files written on Windows name files as ".\SRC\MAIN.C", "..\lst\x.LST"
// or "C:\Keil\C51\INC\REG51.H". On disk the same file may be "src/main.c".
// Every file the debugger opens from a project's text goes through here.
// Upper-cased names serve only as lookup keys; they are never used to open files.
#pragma once

#include <string>
#include <vector>

namespace platform {

// Splits at both '\' and '/'; empty pieces and "." are dropped, ".." kept.
std::vector<std::string> SplitPath(const std::string& path);

// True for "C:\..." or "C:/..." and for paths that start with a separator.
bool IsAbsolutePath(const std::string& path);

// Resolves `path` (Windows or POSIX form) relative to `baseDir` (a real
// directory, ignored for absolute paths), matching each component against the
// directory's entries without regard to case (an exact match wins over a
// case-insensitive one). Returns the real path, or an empty string when some
// component does not exist. A drive letter path is tried as rooted at `baseDir`'s
// file system root only when it exists as given; otherwise it does not resolve.
// Never changes the process's current directory.
std::string ResolvePath(const std::string& baseDir, const std::string& path);

// The path to show for a file that may not exist: ResolvePath's answer when
// it exists; else the real path of the longest leading part that exists,
// followed by the rest as written, joined with '/' ("obj\p.hex" in a project
// without an obj folder gives "<baseDir>/obj/p.hex"). A drive-letter path that
// does not exist is given back as written.
std::string ResolvePathForDisplay(const std::string& baseDir, const std::string& path);

// Joins with '/', collapsing duplicate separators.
std::string JoinPath(const std::string& dir, const std::string& name);

// Last component of a Windows or POSIX path ("..\lst\Main.LST" -> "Main.LST").
std::string FileNameOf(const std::string& path);
// Everything before the last component, without a trailing separator ("" when none).
std::string DirectoryOf(const std::string& path);
// File name without its last extension ("main.c" -> "main").
std::string StripExtension(const std::string& name);
// The extension with its dot ("x.M51" -> ".M51"; "" when none).
std::string ExtensionOf(const std::string& name);

// Upper-cased copy (ASCII letters only) for use as a lookup key.
std::string ToUpperKey(const std::string& text);
bool EqualsNoCase(const std::string& a, const std::string& b);

// While an object of this class lives, ResolvePath on the same thread reads
// each folder's entries once and reuses them. For a burst of lookups in folders
// that do not change meanwhile, such as opening a project: without it every
// name whose case differs on disk costs a scan of its folder.
class ScopedFolderListingCache {
public:
    ScopedFolderListingCache();
    ~ScopedFolderListingCache();
    ScopedFolderListingCache(const ScopedFolderListingCache&) = delete;
    ScopedFolderListingCache& operator=(const ScopedFolderListingCache&) = delete;

    struct Listings; // the folders read so far, by path

private:
    Listings* listings_;
    Listings* previous_;
};

bool FileExists(const std::string& path);
// Anything under that name, a symbolic link followed: file, folder, FIFO, device.
bool PathExists(const std::string& path);
bool DirectoryExists(const std::string& path);

} // namespace platform
