// Speed of the 8051 core against s51 on the same long-running loop program.
//
// Prints the core's speed in million instructions per second, s51's speed in
// run mode (its own count of instructions and host time), and the ratio.
#include "cpu8051.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

// A loop over internal RAM, external RAM, arithmetic, bit tests, a compare,
// a call and the stack; about 9.3 million instructions, then SJMP to itself.
//
//   0000 MOV SP,#2Fh          0014 XRL A,#5Ah
//   0003 MOV R5,#100          0016 RLC A
//   0005 o2: MOV R6,#0        0017 CJNE A,#80h,$+3
//   0007 o1: MOV R0,#40h      001A JB ACC.7,$+3
//   0009 MOV R7,#32           001D DJNZ R7,i
//   000B MOV DPTR,#1000h      001F LCALL sub
//   000E i: MOV A,@R0         0022 DJNZ R6,o1
//   000F ADD A,R7             0024 DJNZ R5,o2
//   0010 MOV @R0,A            0026 SJMP $
//   0011 INC R0               0028 sub: PUSH ACC; MOV A,B; INC A; MOV B,A;
//   0012 MOVX @DPTR,A                   POP ACC; RET
//   0013 INC DPTR
const std::vector<uint8_t> kProgram = {
    0x75, 0x81, 0x2F, 0x7D, 0x64, 0x7E, 0x00, 0x78, 0x40, 0x7F, 0x20, 0x90, 0x10,
    0x00, 0xE6, 0x2F, 0xF6, 0x08, 0xF0, 0xA3, 0x64, 0x5A, 0x33, 0xB4, 0x80, 0x00,
    0x20, 0xE7, 0x00, 0xDF, 0xEF, 0x12, 0x00, 0x28, 0xDE, 0xE3, 0xDD, 0xDF, 0x80,
    0xFE, 0xC0, 0xE0, 0xE5, 0xF0, 0x04, 0xF5, 0xF0, 0xD0, 0xE0, 0x22,
};
constexpr uint16_t kHaltAddress = 0x0026;
constexpr int kCoreRepeats = 30;

void load(sim8051::Cpu& cpu) {
    cpu.reset();
    std::copy(kProgram.begin(), kProgram.end(), cpu.code().begin());
}

// Instructions the program executes until it reaches its final SJMP.
uint64_t countInstructions() {
    sim8051::Cpu cpu;
    load(cpu);
    uint64_t n = 0;
    while (cpu.pc() != kHaltAddress) {
        cpu.step();
        ++n;
    }
    return n;
}

double coreMips(uint64_t perRun) {
    sim8051::Cpu cpu;
    uint64_t total = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCoreRepeats; ++i) {
        load(cpu);
        total += cpu.run(perRun);
        if (cpu.pc() != kHaltAddress) {
            std::fprintf(stderr, "core did not reach the end of the program\n");
            std::exit(1);
        }
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    return static_cast<double>(total) / took.count() / 1e6;
}

std::string intelHex(const std::vector<uint8_t>& bytes) {
    std::string out;
    char line[80];
    for (size_t at = 0; at < bytes.size(); at += 16) {
        const size_t n = std::min<size_t>(16, bytes.size() - at);
        unsigned sum = static_cast<unsigned>(n + (at >> 8) + (at & 0xFF));
        int len = std::snprintf(line, sizeof line, ":%02X%04X00", static_cast<unsigned>(n),
                                static_cast<unsigned>(at));
        for (size_t i = 0; i < n; ++i) {
            len += std::snprintf(line + len, sizeof line - len, "%02X", bytes[at + i]);
            sum += bytes[at + i];
        }
        std::snprintf(line + len, sizeof line - len, "%02X\n", (0x100 - (sum & 0xFF)) & 0xFF);
        out += line;
    }
    return out + ":00000001FF\n";
}

bool writeFile(const std::string& path, const std::string& text) {
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f) return false;
    const bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
}

struct S51Result {
    bool ok = false;
    uint64_t instructions = 0;
    double hostSeconds = 0;
};

// Runs the program in s51 until its SJMP to itself and reads s51's own
// figures: "Inst= N" (instructions) and "Host usage: T sec".
S51Result runS51() {
    S51Result result;
    char dir[] = "/tmp/core_speed_XXXXXX";
    if (!mkdtemp(dir)) return result;
    const std::string hex = std::string(dir) + "/loop.hex";
    const std::string cmds = std::string(dir) + "/cmds";
    if (writeFile(hex, intelHex(kProgram)) &&
        writeFile(cmds, "set option selfjump_stop 1\nrun\nstate\nquit\n")) {
        const std::string command = "s51 -b -t 51 " + hex + " < " + cmds + " 2>&1";
        if (FILE* p = popen(command.c_str(), "r")) {
            char buf[512];
            while (std::fgets(buf, sizeof buf, p)) {
                const std::string line = buf;
                size_t at;
                if ((at = line.find("Host usage:")) != std::string::npos)
                    result.hostSeconds = std::strtod(line.c_str() + at + 11, nullptr);
                if ((at = line.find("Inst=")) != std::string::npos)
                    result.instructions = std::strtoull(line.c_str() + at + 5, nullptr, 10);
            }
            result.ok = pclose(p) == 0 && result.instructions > 0 && result.hostSeconds > 0;
        }
    }
    std::remove(hex.c_str());
    std::remove(cmds.c_str());
    rmdir(dir);
    return result;
}

} // namespace

int main() {
    const uint64_t perRun = countInstructions();
    std::printf("loop program: %llu instructions per run\n",
                static_cast<unsigned long long>(perRun));

    const double core = coreMips(perRun);
    std::printf("core: %.1f million instructions/s (%d runs)\n", core, kCoreRepeats);

    const S51Result s51 = runS51();
    if (!s51.ok) {
        std::printf("s51: not available (is the sdcc-ucsim package installed?)\n");
        return 0;
    }
    const double s51Mips = static_cast<double>(s51.instructions) / s51.hostSeconds / 1e6;
    std::printf("s51:  %.2f million instructions/s (%llu instructions in %.3f s, run mode)\n",
                s51Mips, static_cast<unsigned long long>(s51.instructions), s51.hostSeconds);
    std::printf("ratio: %.1f x\n", core / s51Mips);
    return 0;
}
