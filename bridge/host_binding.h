// Binds HostAction in a web view: page calls go to the handler, its reply back to the page.
#pragma once

#include "bridge/host_action.h"
#include "webview/webview_api.h"

namespace bridge {

// Lives as long as the web view; the library calls back with its address.
struct HostBinding {
  const webview::Api* api = nullptr;
  webview::Handle view = nullptr;
  HostActionHandler* handler = nullptr;
};

inline constexpr char kHostActionName[] = "HostAction";

// Makes `HostAction` exist in every new document of the web view, before the page's own
// scripts. Each call is answered exactly once: the handler's reply, or undefined for none.
void BindHostAction(HostBinding& binding);

}  // namespace bridge
