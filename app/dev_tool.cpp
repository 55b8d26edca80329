// The developer options of plugin-generator-dev.
#include "app/dev_tool.h"

#include <filesystem>
#include <fstream>
#include <iostream>

#include "app/replay.h"
#include "app/shell.h"
#include "installer/platform.h"

namespace app {
namespace {

constexpr char kUsage[] =
    "usage: plugin-generator-dev --replay FILE   replay HostAction calls, one per line (- = stdin)\n"
    "       plugin-generator-dev --start-url URL the program, with the web view sent to URL\n";

int ReplayFile(const std::string& file) {
  const auto store = installer::MakePlatformPlugInStore();
  const auto notice = installer::MakePlatformHostNotice();
  bridge::HostActionHandler handler(*store, *notice);
  if (file == "-") {
    Replay(std::cin, std::cout, handler);
    return 0;
  }
  const std::filesystem::path path(std::u8string(file.begin(), file.end()));
  std::ifstream calls(path, std::ios::binary);
  if (!calls) {
    std::cerr << "plugin-generator-dev: cannot read " << file << '\n';
    return 2;
  }
  Replay(calls, std::cout, handler);
  return 0;
}

}  // namespace

int RunDevTool(const std::vector<std::string>& args) {
  if (args.size() == 2 && args[0] == "--replay") return ReplayFile(args[1]);
  if (args.size() == 2 && args[0] == "--start-url") return RunShell(args[1]);
  std::cerr << kUsage;
  return 2;
}

}  // namespace app
