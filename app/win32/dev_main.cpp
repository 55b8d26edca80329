// plugin-generator-dev on Windows: UTF-16 command line in, UTF-8 arguments to the dev tool.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "app/dev_tool.h"
#include "installer/win32/utf16.h"

int wmain(int argc, wchar_t** argv) {
  // Replay lines are read and written byte for byte, as on every other platform: no CR added to
  // replies, none taken from calls, and no Ctrl-Z taken for the end of input.
  _setmode(_fileno(stdin), _O_BINARY);
  _setmode(_fileno(stdout), _O_BINARY);

  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) {
    std::optional<std::string> arg = installer::win32::WideToUtf8(argv[i]);
    if (!arg) {
      std::cerr << "plugin-generator-dev: argument " << i << " is not valid Unicode\n";
      return 2;
    }
    args.push_back(std::move(*arg));
  }
  return app::RunDevTool(args);
}
