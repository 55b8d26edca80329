// Our declarations of the webview library's C functions (version 0.12), loaded at run time so
// that a missing or unloadable library leaves the program running with an empty window.
#pragma once

#include <string>
#include <type_traits>

namespace webview {

using Handle = void*;
using BindCallback = void (*)(const char* id, const char* request, void* arg);

// Kinds for get_native_handle.
inline constexpr int kNativeWindow = 0;
inline constexpr int kNativeWidget = 1;
inline constexpr int kNativeBrowserController = 2;

struct Api {
  Handle (*create)(int debug, void* window);
  int (*destroy)(Handle w);
  void* (*get_native_handle)(Handle w, int kind);
  int (*navigate)(Handle w, const char* url);
  int (*set_size)(Handle w, int width, int height, int hints);
  int (*bind)(Handle w, const char* name, BindCallback fn, void* arg);
  int (*return_result)(Handle w, const char* id, int status, const char* result);
};

// Fills `api` with the functions that `find(name)` gives (each a function's address, or null
// when missing); false when any is missing. Both loaders share this one list of names.
template <typename Find>
bool ResolveApi(Find find, Api& api) {
  const auto resolve = [&find](const char* name, auto& function) {
    function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(find(name));
    return function != nullptr;
  };
  return resolve("webview_create", api.create) && resolve("webview_destroy", api.destroy) &&
         resolve("webview_get_native_handle", api.get_native_handle) &&
         resolve("webview_navigate", api.navigate) && resolve("webview_set_size", api.set_size) &&
         resolve("webview_bind", api.bind) && resolve("webview_return", api.return_result);
}

// The library next to this program's executable, or nothing when it cannot be loaded or lacks
// a function. Loaded once; the library stays loaded until the process ends.
const Api* LoadApi();

// The file name of the library beside the executable.
std::string LibraryFileName();

// The folder of this program's executable (its real path), ending with a separator.
std::string ExecutableFolder();

}  // namespace webview
