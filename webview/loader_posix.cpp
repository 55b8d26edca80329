// Loads the webview library from the executable's folder with dlopen.
#include <dlfcn.h>
#include <unistd.h>

#include <climits>

#include "webview/webview_api.h"

namespace webview {
namespace {

template <typename F>
bool Resolve(void* library, const char* name, F& function) {
  function = reinterpret_cast<F>(dlsym(library, name));
  return function != nullptr;
}

const Api* Load() {
  void* library = dlopen((ExecutableFolder() + LibraryFileName()).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) return nullptr;
  static Api api;
  const bool complete = Resolve(library, "webview_create", api.create) &&
                        Resolve(library, "webview_destroy", api.destroy) &&
                        Resolve(library, "webview_get_native_handle", api.get_native_handle) &&
                        Resolve(library, "webview_navigate", api.navigate) &&
                        Resolve(library, "webview_set_size", api.set_size) &&
                        Resolve(library, "webview_bind", api.bind) &&
                        Resolve(library, "webview_return", api.return_result);
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
