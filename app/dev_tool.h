// The developer options of plugin-generator-dev.
#pragma once

#include <string>
#include <vector>

namespace app {

// Runs plugin-generator-dev with its arguments (UTF-8, without the program name) and gives the
// exit code.
int RunDevTool(const std::vector<std::string>& args);

}  // namespace app
