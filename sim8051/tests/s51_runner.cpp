#include "s51_runner.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace sim8051::test {

namespace {

const char* kIramDump = "dump /i iram";
const char* kTimerDump = "dump /i sfr 0x88 0x8d";
const char* kSconDump = "dump /i sfr 0x98 0x98";

// s51 starts with pseudo-random RAM: zero internal and external RAM, load,
// then reset so the SFRs hold their reset values. Commands go to a file that
// s51 executes with `exec`: typed commands would be echoed byte by byte.
std::string commandScript(const S51Run& run) {
    char buf[128];
    std::string s;
    std::snprintf(buf, sizeof buf, "fill iram 0 0x%x 0\n", run.iramSize - 1);
    s += buf;
    s += "fill xram 0 0xffff 0\n";
    s += "fill rom 0 0xffff 0\n";
    s += "file \"" + run.hexFile + "\"\nreset\n";
    std::snprintf(buf, sizeof buf, "step\n%s 0 0x%x\n%s\n%s\n", kIramDump, run.iramSize - 1,
                  kTimerDump, kSconDump);
    for (int i = 0; i < run.steps; ++i)
        s += buf;
    return s;
}

// Output of s51 (stdout and stderr) for the given standard input.
std::string runProcess(const std::string& s51, const std::string& cpuType, const std::string& input,
                       std::string& error) {
    int in[2], out[2];
    if (pipe(in) != 0 || pipe(out) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        return {};
    }
    const pid_t pid = fork();
    if (pid < 0) {
        error = std::string("fork: ") + std::strerror(errno);
        return {};
    }
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(out[1], 2);
        close(in[0]);
        close(in[1]);
        close(out[0]);
        close(out[1]);
        execl(s51.c_str(), s51.c_str(), "-b", "-t", cpuType.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    // The input is a few bytes; it fits the pipe without a reader.
    const ssize_t written = write(in[1], input.data(), input.size());
    close(in[1]);
    std::string output;
    char buf[1 << 16];
    for (;;) {
        const ssize_t n = read(out[0], buf, sizeof buf);
        if (n > 0) {
            output.append(buf, static_cast<size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            break;
        }
    }
    close(out[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    if (written != static_cast<ssize_t>(input.size()))
        error = "could not send the commands to s51";
    else if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        error = "s51 exited abnormally (status " + std::to_string(status) + ")";
    return output;
}

int hexValue(const char* s, size_t n) {
    int v = 0;
    for (size_t i = 0; i < n; ++i) {
        const char c = s[i];
        v <<= 4;
        if (c >= '0' && c <= '9')
            v |= c - '0';
        else if (c >= 'a' && c <= 'f')
            v |= c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            v |= c - 'A' + 10;
        else
            return -1;
    }
    return v;
}

// Value of "KEY 0xNN" in a line, -1 when absent.
long fieldAfter(const std::string& line, const char* key) {
    const size_t at = line.find(key);
    if (at == std::string::npos) return -1;
    return std::strtol(line.c_str() + at + std::strlen(key), nullptr, 16);
}

// One Intel HEX data record into `into`, addresses relative to `base`.
bool storeRecord(const std::string& line, int base, uint8_t* into, size_t size) {
    if (line.size() < 11) return false;
    const int count = hexValue(line.c_str() + 1, 2);
    const int addr = hexValue(line.c_str() + 3, 4);
    const int type = hexValue(line.c_str() + 7, 2);
    if (count < 0 || addr < 0 || type < 0) return false;
    if (type != 0) return true;
    if (line.size() < static_cast<size_t>(11 + 2 * count)) return false;
    for (int i = 0; i < count; ++i) {
        const int v = hexValue(line.c_str() + 9 + 2 * i, 2);
        const int at = addr + i - base;
        if (v < 0 || at < 0 || static_cast<size_t>(at) >= size) return false;
        into[at] = static_cast<uint8_t>(v);
    }
    return true;
}

} // namespace

std::string runS51(const S51Run& run, std::vector<S51State>& states) {
    char scriptPath[] = "/tmp/s51_script_XXXXXX";
    const int fd = mkstemp(scriptPath);
    if (fd < 0) return std::string("mkstemp: ") + std::strerror(errno);
    {
        const std::string script = commandScript(run);
        std::FILE* f = fdopen(fd, "w");
        const bool ok = f && std::fwrite(script.data(), 1, script.size(), f) == script.size();
        if (f) std::fclose(f);
        if (!ok) {
            std::remove(scriptPath);
            return "could not write the s51 command script";
        }
    }
    std::string error;
    const std::string output =
        runProcess(run.s51, run.cpuType, std::string("exec \"") + scriptPath + "\"\nquit\n", error);
    std::remove(scriptPath);
    if (!error.empty()) return error;

    // A rejected command answers with its usage text or an error.
    if (output.find("Error") != std::string::npos ||
        output.find("memory_type") != std::string::npos)
        return "s51 rejected a command:\n" + output.substr(0, 2000);

    states.clear();
    states.reserve(static_cast<size_t>(run.steps));
    enum class Dump { None, Iram, Timers, Scon } dump = Dump::None;
    bool registerRow = false;
    size_t pos = 0;
    while (pos < output.size()) {
        size_t end = output.find('\n', pos);
        if (end == std::string::npos) end = output.size();
        const std::string line = output.substr(pos, end - pos);
        pos = end + 1;

        if (line.compare(0, 8, "Stop at ") == 0) {
            S51State s;
            s.pc = static_cast<uint16_t>(std::strtol(line.c_str() + 8, nullptr, 16));
            const size_t stepped = line.find("stepped ");
            if (stepped != std::string::npos)
                s.cycles =
                    static_cast<int>(std::strtol(line.c_str() + stepped + 8, nullptr, 10) / 12);
            s.iram.assign(static_cast<size_t>(run.iramSize), 0);
            states.push_back(std::move(s));
            registerRow = false;
            continue;
        }
        if (states.empty()) continue;
        S51State& s = states.back();
        if (line.find("R0 R1 R2 R3 R4 R5 R6 R7") != std::string::npos) {
            registerRow = true;
            continue;
        }
        if (registerRow) {
            registerRow = false;
            unsigned v[8];
            if (std::sscanf(line.c_str(), "%x %x %x %x %x %x %x %x", &v[0], &v[1], &v[2], &v[3],
                            &v[4], &v[5], &v[6], &v[7]) != 8)
                return "unreadable register row: " + line;
            for (int i = 0; i < 8; ++i)
                s.r[i] = static_cast<uint8_t>(v[i]);
            continue;
        }
        if (line.compare(0, 4, "@R0 ") == 0) {
            s.acc = static_cast<uint8_t>(fieldAfter(line, "ACC= "));
            s.b = static_cast<uint8_t>(fieldAfter(line, "B= "));
        } else if (line.compare(0, 4, "@R1 ") == 0) {
            s.psw = static_cast<uint8_t>(fieldAfter(line, "PSW= "));
        } else if (line.compare(0, 3, "SP ") == 0) {
            s.sp = static_cast<uint8_t>(std::strtol(line.c_str() + 3, nullptr, 16));
        } else if (line.find("DPTR= ") != std::string::npos) {
            s.dptr = static_cast<uint16_t>(fieldAfter(line, "DPTR= "));
        } else if (line.compare(0, std::strlen(kIramDump), kIramDump) == 0) {
            dump = Dump::Iram;
        } else if (line == kTimerDump) {
            dump = Dump::Timers;
        } else if (line == kSconDump) {
            dump = Dump::Scon;
        } else if (!line.empty() && line[0] == ':') {
            bool ok = true;
            if (dump == Dump::Iram)
                ok = storeRecord(line, 0, s.iram.data(), s.iram.size());
            else if (dump == Dump::Timers)
                ok = storeRecord(line, 0x88, s.timers.data(), s.timers.size());
            else if (dump == Dump::Scon)
                ok = storeRecord(line, 0x98, &s.scon, 1);
            if (!ok) return "unreadable memory dump: " + line;
        }
    }
    if (states.size() != static_cast<size_t>(run.steps))
        return "s51 reported " + std::to_string(states.size()) + " steps of " +
               std::to_string(run.steps);
    return {};
}

} // namespace sim8051::test
