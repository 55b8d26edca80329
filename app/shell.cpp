// The program's life: open the window, fill it with the web view, serve the page until closed.
#include "app/shell.h"

#include <utility>

#include "app/window_layer.h"
#include "bridge/host_binding.h"
#include "bridge/host_action.h"
#include "installer/platform.h"

namespace app {

int RunShell(const std::string& start_address) {
  const auto store = installer::MakePlatformPlugInStore();
  const auto notice = installer::MakePlatformHostNotice();
  bridge::HostActionHandler handler(*store, *notice);  // its chunk accumulator starts empty
  return RunShellWith(start_address,
                      [&handler](std::string_view arguments) { return handler.Handle(arguments); });
}

int RunShellWith(const std::string& start_address, bridge::CallHandler handler) {
  const std::unique_ptr<WindowLayer> layer = InitialiseWindowLayer();
  layer->OpenWindow(kWindowWidth, kWindowHeight, kWindowTitle);
  layer->CreateWebView(layer->ClientWidth(), layer->ClientHeight());
  // Bound before the first navigation, so the start page's first document has HostAction.
  bridge::HostBinding binding;
  if (const std::optional<WebView> view = layer->web_view()) {
    binding = {view->api, view->handle, std::move(handler)};
    bridge::BindHostAction(binding);
  }
  layer->Navigate(start_address);

  for (;;) {
    const Event event = layer->WaitForEvent();
    if (event == Event::kSize) layer->ResizeWebView(layer->ClientWidth(), layer->ClientHeight());
    if (event == Event::kClose) break;
  }
  layer->ShutDown();
  return 0;
}

}  // namespace app
