#include "path_resolver.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>

namespace platform {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool HasDriveLetter(const std::string& path) {
    return path.size() >= 2 && IsAsciiLetter(path[0]) && path[1] == ':';
}

size_t LastSeparator(const std::string& path) {
    return path.find_last_of("\\/");
}

bool IsDirectory(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

bool IsSymlink(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

std::string WithoutTrailingSeparators(std::string path) {
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

std::vector<std::string> ReadFolder(const std::string& dir) {
    std::vector<std::string> names;
    DIR* d = opendir(dir.c_str());
    if (!d) return names;
    while (dirent* entry = readdir(d)) {
        std::string entryName = entry->d_name;
        if (entryName == "." || entryName == "..") continue;
        names.push_back(std::move(entryName));
    }
    closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

struct ScopedFolderListingCache::Listings {
    std::unordered_map<std::string, std::vector<std::string>> folders;
};

namespace {

thread_local ScopedFolderListingCache::Listings* t_listings = nullptr;

// The names in `dir` equal to `name` without regard to case, sorted.
std::vector<std::string> CaseInsensitiveMatches(const std::string& dir, const std::string& name) {
    std::vector<std::string> uncached;
    const std::vector<std::string>* names = nullptr;
    if (t_listings) {
        auto it = t_listings->folders.find(dir);
        if (it == t_listings->folders.end())
            it = t_listings->folders.emplace(dir, ReadFolder(dir)).first;
        names = &it->second;
    } else {
        uncached = ReadFolder(dir);
        names = &uncached;
    }
    std::vector<std::string> matches;
    for (const std::string& entryName : *names)
        if (EqualsNoCase(entryName, name)) matches.push_back(entryName);
    return matches;
}

// Goes one folder up from `current`. The last component is dropped from the
// text when that gives the same folder the system would reach (it is a real
// folder, not a link); otherwise ".." is kept for the system to follow.
std::string ParentOf(const std::string& current) {
    if (current == "/") return current;
    size_t slash = current.rfind('/');
    std::string last = slash == std::string::npos ? current : current.substr(slash + 1);
    if (last == "." || last == ".." || IsSymlink(current)) return JoinPath(current, "..");
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return current.substr(0, slash);
}

// The entry of `dir` that `name` stands for: the exact name first, then the
// first case-insensitive match in sorted order. Folders on the way must be
// folders; `mustBeDirectory` says so. Empty when there is none.
std::string MatchComponent(const std::string& dir, const std::string& name, bool mustBeDirectory) {
    auto fits = [&](const std::string& entry) {
        std::string full = JoinPath(dir, entry);
        return mustBeDirectory ? IsDirectory(full) : Exists(full);
    };
    if (fits(name)) return name;
    for (const std::string& entry : CaseInsensitiveMatches(dir, name))
        if (fits(entry)) return entry;
    return std::string();
}

// "C:\Tools\INC\REG51.H" as a path under the root of this file system,
// accepted only when it exists exactly as written.
std::string ResolveDrivePath(const std::string& path) {
    std::string rooted;
    for (const std::string& part : SplitPath(path.substr(2)))
        rooted += "/" + part;
    if (rooted.empty()) return std::string(); // a bare drive names no file
    bool wantDirectory = path.size() > 2 && IsSeparator(path.back());
    if (wantDirectory ? !IsDirectory(rooted) : !Exists(rooted)) return std::string();
    return rooted;
}

} // namespace

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    auto flush = [&]() {
        if (!part.empty() && part != ".") parts.push_back(part);
        part.clear();
    };
    for (char c : path) {
        if (IsSeparator(c))
            flush();
        else
            part += c;
    }
    flush();
    return parts;
}

bool IsAbsolutePath(const std::string& path) {
    if (!path.empty() && IsSeparator(path[0])) return true;
    return HasDriveLetter(path) && path.size() >= 3 && IsSeparator(path[2]);
}

std::string ResolvePath(const std::string& baseDir, const std::string& path) {
    if (HasDriveLetter(path)) return ResolveDrivePath(path);

    std::string current;
    if (!path.empty() && IsSeparator(path[0])) {
        current = "/";
    } else {
        if (!IsDirectory(baseDir)) return std::string();
        current = WithoutTrailingSeparators(baseDir);
    }

    const std::vector<std::string> parts = SplitPath(path);
    const bool trailingSeparator = !path.empty() && IsSeparator(path.back());
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        if (part == "..") {
            current = ParentOf(current);
            if (!IsDirectory(current)) return std::string();
            continue;
        }
        bool last = i + 1 == parts.size();
        std::string entry = MatchComponent(current, part, !last || trailingSeparator);
        if (entry.empty()) return std::string();
        current = JoinPath(current, entry);
    }
    if (!Exists(current)) return std::string();
    return current;
}

std::string ResolvePathForDisplay(const std::string& baseDir, const std::string& path) {
    const std::string whole = ResolvePath(baseDir, path);
    if (!whole.empty() || HasDriveLetter(path)) return whole.empty() ? path : whole;
    const bool rooted = !path.empty() && IsSeparator(path[0]);
    const std::string root = rooted ? "/" : WithoutTrailingSeparators(baseDir);
    const std::vector<std::string> parts = SplitPath(path);
    // The longest leading run of parts that names a folder.
    size_t known = parts.size();
    std::string found;
    while (found.empty() && known > 0) {
        --known;
        std::string prefix = rooted ? "/" : "";
        for (size_t i = 0; i < known; ++i)
            prefix += parts[i] + "/";
        found = known == 0 ? root : ResolvePath(baseDir, prefix);
    }
    if (found.empty()) found = root;
    for (size_t i = known; i < parts.size(); ++i)
        found = JoinPath(found, parts[i]);
    return found;
}

std::string JoinPath(const std::string& dir, const std::string& name) {
    if (dir.empty()) return name;
    if (name.empty()) return dir;
    std::string joined = dir + "/" + name;
    std::string collapsed;
    collapsed.reserve(joined.size());
    for (char c : joined)
        if (!(c == '/' && !collapsed.empty() && collapsed.back() == '/')) collapsed += c;
    return collapsed;
}

std::string FileNameOf(const std::string& path) {
    size_t sep = LastSeparator(path);
    return sep == std::string::npos ? path : path.substr(sep + 1);
}

std::string DirectoryOf(const std::string& path) {
    size_t sep = LastSeparator(path);
    if (sep == std::string::npos) return std::string();
    size_t end = sep;
    while (end > 0 && IsSeparator(path[end - 1]))
        --end;
    // A file directly under the root keeps the root's separator.
    if (end == 0) return path.substr(0, 1);
    return path.substr(0, end);
}

std::string StripExtension(const std::string& name) {
    size_t sep = LastSeparator(name);
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || (sep != std::string::npos && dot < sep)) return name;
    return name.substr(0, dot);
}

std::string ExtensionOf(const std::string& name) {
    size_t sep = LastSeparator(name);
    size_t dot = name.rfind('.');
    if (dot == std::string::npos || (sep != std::string::npos && dot < sep)) return std::string();
    return name.substr(dot);
}

std::string ToUpperKey(const std::string& text) {
    std::string key = text;
    for (char& c : key)
        c = UpperAscii(c);
    return key;
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
    return true;
}

ScopedFolderListingCache::ScopedFolderListingCache()
    : listings_(new Listings), previous_(t_listings) {
    t_listings = listings_;
}

ScopedFolderListingCache::~ScopedFolderListingCache() {
    t_listings = previous_;
    delete listings_;
}

bool FileExists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool PathExists(const std::string& path) {
    return Exists(path);
}

bool DirectoryExists(const std::string& path) {
    return IsDirectory(path);
}

} // namespace platform
