// Reading a whole file, for every reader of the debugger and its programs:
// project files, maps, listings, sources, the disassembly and Intel HEX images.
//
// Only a regular file is read. A folder, FIFO, device or socket is refused
// before it is opened, and what was opened is checked again, so a FIFO
// without a writer cannot hold the reader and a device that never ends
// (/dev/zero) is not read at all. A symbolic link is followed to what it names.
#pragma once

#include <string>

namespace platform {

enum class FileReadStatus {
    Read,
    Missing,    // no such file (or a folder on the way is missing)
    NotRegular, // a folder, FIFO, device or socket
    Unreadable, // a regular file that could not be opened or read
};

// Reads the whole file at `path` into `out` (emptied on failure). `why`, when
// given, receives the reason of a failure: the system's text ("No such file or
// directory", "Permission denied") or what the path is instead of a regular
// file ("a FIFO, not a regular file").
FileReadStatus ReadRegularFile(const std::string& path, std::string& out,
                               std::string* why = nullptr);

// ReadRegularFile that answers only whether the file was read.
bool ReadFileBytes(const std::string& path, std::string& out);

// What a file of this st_mode is, with its article: "a folder", "a FIFO", "a
// device", "a socket", "a symbolic link", "a regular file".
std::string FileKindText(unsigned mode);

} // namespace platform
