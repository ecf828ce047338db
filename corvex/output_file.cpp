#include "output_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "regular_file.h"

namespace corvex {

namespace {

bool writeAll(int fd, const std::string& contents) {
    const char* p = contents.data();
    size_t left = contents.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<size_t>(n);
    }
    return true;
}

} // namespace

bool mayReplaceOutput(const std::string& input, const std::string& output, std::string& error) {
    struct stat out;
    // Nothing there yet (or no way to look): the write says what fails.
    if (::lstat(output.c_str(), &out) != 0) return true;
    std::string why;
    struct stat in;
    struct stat named;
    if (::stat(input.c_str(), &in) == 0 && ::stat(output.c_str(), &named) == 0 &&
        named.st_dev == in.st_dev && named.st_ino == in.st_ino)
        why = "is the image being disassembled";
    else if (!S_ISREG(out.st_mode))
        why = "is " + platform::FileKindText(out.st_mode) + ", not a regular file";
    else if (out.st_nlink > 1)
        why = "is one of " + std::to_string(out.st_nlink) + " names of one file (hard links)";
    else if ((out.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
             ::access(output.c_str(), W_OK) != 0)
        why = "is read-only";
    else
        return true;
    error = output + ": " + why + "; it is not replaced";
    return false;
}

bool writeFileAtomically(const std::string& path, const std::string& contents, std::string& error) {
    std::string pattern = path + ".XXXXXX";
    std::vector<char> temp(pattern.begin(), pattern.end());
    temp.push_back('\0');
    int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = path + ": cannot create a temporary file: " + std::strerror(errno);
        return false;
    }
    // mkstemp creates the file for the owner only; give it the usual mode.
    mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);

    bool ok = writeAll(fd, contents);
    int savedErrno = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        savedErrno = errno;
    }
    if (ok && ::rename(temp.data(), path.c_str()) != 0) {
        ok = false;
        savedErrno = errno;
    }
    if (!ok) {
        ::unlink(temp.data());
        error = path + ": cannot write: " + std::strerror(savedErrno);
        return false;
    }
    return true;
}

} // namespace corvex
