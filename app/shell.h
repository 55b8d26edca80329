// The program's life: open the window, fill it with the web view, serve the page until closed.
#pragma once

#include <string>

#include "bridge/host_binding.h"

namespace app {

inline constexpr char kWindowTitle[] = "Kestrolan Web PlugIn Generator";
inline constexpr char kStartAddress[] = "https://www.mardova.com/plugingenerator/";
inline constexpr int kWindowWidth = 1280;
inline constexpr int kWindowHeight = 800;

// Runs the program with the web view sent to `start_address`; gives the exit code, always 0.
int RunShell(const std::string& start_address);

// The same with another handler behind HostAction, for tests of the page bridge.
int RunShellWith(const std::string& start_address, bridge::CallHandler handler);

}  // namespace app
