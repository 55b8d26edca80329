// Our declarations of the webview library's C functions (version 0.12), loaded at run time so
// that a missing or unloadable library leaves the program running with an empty window.
#pragma once

#include <string>

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

// The library next to this program's executable, or nothing when it cannot be loaded or lacks
// a function. Loaded once; the library stays loaded until the process ends.
const Api* LoadApi();

// The file name of the library beside the executable.
std::string LibraryFileName();

// The folder of this program's executable (its real path), ending with a separator.
std::string ExecutableFolder();

}  // namespace webview
