#include "target_flags.h"

std::atomic<bool> g_bTargetBusy{false};
std::atomic<bool> g_bStopRequest{false};
std::atomic<bool> g_bStepStop{false};
std::atomic<bool> g_bProjectLoaded{false};
std::atomic<bool> g_bImageVerified{false};
std::atomic<bool> g_bHexOnly{false};

std::string g_strHexPath;
