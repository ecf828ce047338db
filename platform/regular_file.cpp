#include "regular_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

FileReadStatus Fail(FileReadStatus status, const std::string& reason, std::string& out,
                    std::string* why) {
    out.clear();
    if (why) *why = reason;
    return status;
}

FileReadStatus FailWithErrno(int error, std::string& out, std::string* why) {
    const bool missing = error == ENOENT || error == ENOTDIR;
    return Fail(missing ? FileReadStatus::Missing : FileReadStatus::Unreadable,
                std::strerror(error), out, why);
}

std::string NotRegularText(unsigned mode) {
    return FileKindText(mode) + ", not a regular file";
}

} // namespace

std::string FileKindText(unsigned mode) {
    if (S_ISREG(mode)) return "a regular file";
    if (S_ISDIR(mode)) return "a folder";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISLNK(mode)) return "a symbolic link";
    return "a special file";
}

FileReadStatus ReadRegularFile(const std::string& path, std::string& out, std::string* why) {
    out.clear();
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return FailWithErrno(errno, out, why);
    if (!S_ISREG(st.st_mode))
        return Fail(FileReadStatus::NotRegular, NotRegularText(st.st_mode), out, why);
    // Without O_NONBLOCK a FIFO put in the file's place since the stat
    // would hold the open until some writer came.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return FailWithErrno(errno, out, why);
    if (fstat(fd, &st) != 0) {
        const int error = errno;
        close(fd);
        return FailWithErrno(error, out, why);
    }
    if (!S_ISREG(st.st_mode)) {
        close(fd);
        return Fail(FileReadStatus::NotRegular, NotRegularText(st.st_mode), out, why);
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            close(fd);
            return Fail(FileReadStatus::Unreadable, std::strerror(error), out, why);
        }
        if (n == 0) break;
        out.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    return FileReadStatus::Read;
}

bool ReadFileBytes(const std::string& path, std::string& out) {
    return ReadRegularFile(path, out) == FileReadStatus::Read;
}

} // namespace platform
