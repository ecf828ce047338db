#include "headless_open.h"

#include <algorithm>

namespace bench {

const char* const kPhaseNames[kPhases] = {
    "project file", "map", "disassembly", "listings", "line tables", "listing model", "total"};

double MillisecondsBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

void TimingView::ReportProgress(int percent) {
    const Clock::time_point now = Clock::now();
    for (size_t i = 0; i < kMarks.size(); ++i)
        if (percent == kMarks[i] && !seen[i]) {
            seen[i] = true;
            marks[i] = now;
        }
    if (percent == 100) marks.back() = now; // the last report of 100
}

HeadlessOpen::HeadlessOpen(const std::string& path, const std::string& scratchFolder) {
    messages.answers = {platform::MessageAnswer::Ok, platform::MessageAnswer::Ok,
                        platform::MessageAnswer::No};
    view.projectPath = path;
    loader.m_strDisassemblerDir = VEXA_BIN_DIR;
    loader.m_strDisassemblyOutput = scratchFolder + "/Corvex.out";
    m_start = Clock::now();
    loader.OnFileOpen();
    m_end = Clock::now();
}

HeadlessOpen::~HeadlessOpen() {
    loader.CloseProject();
}

bool HeadlessOpen::Complete(size_t expectedMessages) const {
    return session.loaded && messages.shown.size() == expectedMessages && loader.m_pDisasmLoader &&
           std::all_of(view.seen.begin(), view.seen.end(), [](bool s) { return s; });
}

void HeadlessOpen::PhaseTimes(double (&ms)[kPhases]) const {
    std::fill(ms, ms + kPhases, 0.0);
    ms[kTotal] = MillisecondsBetween(m_start, m_end);
    const auto& m = view.marks;
    const auto& seen = view.seen;
    if (seen[0]) ms[kProjectFile] = MillisecondsBetween(m_start, m[0]);
    if (seen[0] && seen[1]) ms[kMap] = MillisecondsBetween(m[0], m[1]);
    if (seen[1] && seen[2]) ms[kDisassembly] = MillisecondsBetween(m[1], m[2]);
    if (seen[2] && seen[3]) ms[kListings] = MillisecondsBetween(m[2], m[3]);
    if (seen[3] && seen[4]) ms[kModel] = MillisecondsBetween(m[3], m[4]);
}

} // namespace bench
