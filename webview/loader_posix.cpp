// Loads the webview library from the executable's folder with dlopen.
#include <dlfcn.h>
#include <unistd.h>

#include <climits>

#include "webview/webview_api.h"

namespace webview {
namespace {

const Api* Load() {
  void* library = dlopen((ExecutableFolder() + LibraryFileName()).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) return nullptr;
  static Api api;
  const bool complete =
      ResolveApi([library](const char* name) { return dlsym(library, name); }, api);
  return complete ? &api : nullptr;
}

}  // namespace

std::string LibraryFileName() { return "libwebview.so.0.12"; }

std::string ExecutableFolder() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return {};
  const std::string exe(path, static_cast<size_t>(n));
  return exe.substr(0, exe.rfind('/') + 1);
}

const Api* LoadApi() {
  static const Api* const api = Load();
  return api;
}

}  // namespace webview
