// Shared by the application's window tests.
#pragma once

#include <string>

namespace appgui {
// The temporary home folder the settings were stored in before start-up.
std::string HomeFolder();
} // namespace appgui
