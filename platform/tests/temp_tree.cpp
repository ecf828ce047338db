#include "temp_tree.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <ftw.h>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace platform_test {

namespace {

int RemoveEntry(const char* path, const struct stat*, int, struct FTW*) {
    return std::remove(path);
}

} // namespace

TempTree::TempTree() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/platform-test-XXXXXX";
    if (!mkdtemp(&pattern[0])) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
}

TempTree::~TempTree() {
    nftw(root_.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

void TempTree::makeDir(const std::string& relative) const {
    std::string full = root_;
    size_t start = 0;
    while (start <= relative.size()) {
        size_t slash = relative.find('/', start);
        if (slash == std::string::npos) slash = relative.size();
        full += "/" + relative.substr(start, slash - start);
        mkdir(full.c_str(), 0755);
        start = slash + 1;
    }
}

void TempTree::makeFile(const std::string& relative, const std::string& content) const {
    size_t slash = relative.rfind('/');
    if (slash != std::string::npos) makeDir(relative.substr(0, slash));
    std::ofstream out(path(relative), std::ios::binary);
    out << content;
    if (!out) throw std::runtime_error("cannot write " + relative);
}

} // namespace platform_test
