// Loads the webview library from the executable's folder with LoadLibraryW.
#include <optional>
#include <string>

#include "installer/win32/utf16.h"
#include "installer/win32/windows_headers.h"
#include "webview/webview_api.h"

namespace webview {
namespace {

// The executable's full path; empty when it cannot be read or is not valid UTF-16.
std::wstring ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) return path.substr(0, length);
    if (path.size() >= 32768) return {};  // longer than any Windows path
    path.resize(path.size() * 2);         // cut short: try again with room
  }
}

const Api* Load() {
  // Only ever beside the executable: a bare file name would have Windows search the PATH.
  std::string file = ExecutableFolder();
  if (file.empty()) return nullptr;
  file += LibraryFileName();
  const std::optional<std::wstring> path = installer::win32::Utf8ToWide(file);
  if (!path) return nullptr;
  HMODULE library = LoadLibraryW(path->c_str());
  if (!library) return nullptr;
  static Api api;
  const bool complete = ResolveApi(
      [library](const char* name) {
        return reinterpret_cast<void*>(GetProcAddress(library, name));
      },
      api);
  if (!complete) {
    FreeLibrary(library);
    return nullptr;
  }
  return &api;
}

}  // namespace

std::string LibraryFileName() { return "libwebview.dll"; }

std::string ExecutableFolder() {
  const std::wstring path = ExecutablePath();
  const std::optional<std::string> utf8 = installer::win32::WideToUtf8(path);
  if (!utf8) return {};
  const size_t separator = utf8->rfind('\\');
  return separator == std::string::npos ? std::string() : utf8->substr(0, separator + 1);
}

const Api* LoadApi() {
  static const Api* const api = Load();
  return api;
}

}  // namespace webview
