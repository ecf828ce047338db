// The four copies of the demo project the demo tests read: the M51 or the
// extended map form, each with LF and with CRLF line ends.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace debuginfo_test {

struct DemoCase {
    bool crlf;
    bool extended;
};

// Every form with every line end.
inline auto EveryDemoCase() {
    return testing::Values(DemoCase{false, false}, DemoCase{true, false}, DemoCase{false, true},
                           DemoCase{true, true});
}

// "M51_LF", "MAP_CRLF", ...
inline std::string DemoCaseName(const testing::TestParamInfo<DemoCase>& info) {
    return std::string(info.param.extended ? "MAP" : "M51") + (info.param.crlf ? "_CRLF" : "_LF");
}

} // namespace debuginfo_test
