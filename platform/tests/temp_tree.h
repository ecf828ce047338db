// A temporary folder for one test, removed with everything in it afterwards.
#pragma once

#include <string>

namespace platform_test {

class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::string& root() const { return root_; }
    std::string path(const std::string& relative) const { return root_ + "/" + relative; }

    // Creates the folder (and its parents) below the root.
    void makeDir(const std::string& relative) const;
    // Creates the file with `content`, making its folders first.
    void makeFile(const std::string& relative, const std::string& content = "x") const;

private:
    std::string root_;
};

} // namespace platform_test
