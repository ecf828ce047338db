#include "corvex_runner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace corvex_test {

RunResult runCorvex(const std::vector<std::string>& args) {
    const std::string program = VEXA_BIN_DIR "/corvex";
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);

    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return {-1, "pipe failed"};
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(pipeFds[1], 2);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    RunResult result{-1, ""};
    char buf[4096];
    ssize_t n;
    while ((n = ::read(pipeFds[0], buf, sizeof buf)) > 0)
        result.stdErr.append(buf, n);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFEXITED(status)) result.exitStatus = WEXITSTATUS(status);
    return result;
}

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "corvex-test-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const std::filesystem::path& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary);
    out << contents;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t pos = 0;
    size_t eol;
    while ((eol = text.find('\n', pos)) != std::string::npos) {
        lines.push_back(text.substr(pos, eol - pos));
        pos = eol + 1;
    }
    return lines;
}

std::string hexText(unsigned address, const std::vector<unsigned char>& bytes) {
    std::string out;
    char buf[16];
    for (size_t i = 0; i < bytes.size(); i += 16) {
        const size_t count = std::min<size_t>(16, bytes.size() - i);
        const unsigned at = address + static_cast<unsigned>(i);
        unsigned sum = count + (at >> 8) + (at & 0xFF);
        std::snprintf(buf, sizeof buf, ":%02X%04X00", static_cast<unsigned>(count), at & 0xFFFF);
        out += buf;
        for (size_t k = 0; k < count; ++k) {
            std::snprintf(buf, sizeof buf, "%02X", bytes[i + k]);
            out += buf;
            sum += bytes[i + k];
        }
        std::snprintf(buf, sizeof buf, "%02X\n", (0x100 - (sum & 0xFF)) & 0xFF);
        out += buf;
    }
    return out + ":00000001FF\n";
}

namespace {

std::vector<std::string> words(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    std::string w;
    while (in >> w)
        out.push_back(w);
    return out;
}

bool isUpperHex(const std::string& s) {
    return !s.empty() && s.find_first_not_of("0123456789ABCDEF") == std::string::npos;
}

} // namespace

void expectReadableListing(const std::string& listing) {
    ASSERT_TRUE(listing.empty() || listing.back() == '\n') << "last line not terminated";
    long previous = -1;
    for (const std::string& line : splitLines(listing)) {
        SCOPED_TRACE(line);
        ASSERT_GE(line.size(), 6u);
        const std::string address = line.substr(0, 4);
        ASSERT_TRUE(isUpperHex(address));
        EXPECT_EQ(line[4], ' ');
        const long value = std::stol(address, nullptr, 16);
        EXPECT_GE(value, previous) << "lines out of address order";
        previous = value;

        const std::string text = line.substr(5);
        EXPECT_EQ(text.find('\t'), std::string::npos);
        EXPECT_EQ(text.find('\r'), std::string::npos);
        EXPECT_NE(text.back(), ' ');
        if (text.find("LABEL") != std::string::npos) {
            EXPECT_EQ(text, "; LABEL L" + address);
            continue;
        }
        EXPECT_EQ(text.find(':'), std::string::npos);
        const std::vector<std::string> w = words(text);
        ASSERT_GE(w.size(), 2u);
        EXPECT_TRUE(isUpperHex(w[0]));
        EXPECT_EQ(w[0].size() % 2, 0u);
        EXPECT_GE(w[0].size(), 2u);
        EXPECT_LE(w[0].size(), 10u);
    }
}

int sizeFromText(const std::string& text) {
    std::vector<std::string> w = words(text);
    if (w.empty()) return 0;
    size_t i = 0;
    if (w[0].size() == 6 && w[0][0] == 'L' && w[0][5] == ':' && w.size() > 1) i = 1;
    return static_cast<int>(w[i].size() / 2);
}

} // namespace corvex_test
