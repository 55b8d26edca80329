// Binds HostAction in a web view: page calls go to the handler, its reply back to the page.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "webview/webview_api.h"

namespace bridge {

// Takes the argument text of one call and gives the reply text, or nothing.
using CallHandler = std::function<std::optional<std::string>(std::string_view)>;

// Lives as long as the web view; the library calls back with its address.
struct HostBinding {
  const webview::Api* api = nullptr;
  webview::Handle view = nullptr;
  CallHandler handler;
};

inline constexpr char kHostActionName[] = "HostAction";

// Makes `HostAction` exist in every new document of the web view, before the page's own
// scripts. Each call is answered exactly once: the handler's reply, or undefined for none.
void BindHostAction(HostBinding& binding);

}  // namespace bridge
