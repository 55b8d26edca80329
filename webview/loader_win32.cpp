// PLACEHOLDER until the Win32 loader lands.
#include "webview/webview_api.h"

namespace webview {
std::string LibraryFileName() { return "libwebview.dll"; }
const Api* LoadApi() { return nullptr; }
std::string ExecutableFolder() { return {}; }
}  // namespace webview
