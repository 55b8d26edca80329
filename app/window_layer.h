// What the shell needs of the platform's windows: one main window, a web view filling it, and a
// queue of window events. One backend per platform.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "webview/webview_api.h"

namespace app {

enum class Event {
  kOther,  // a platform message was dispatched; nothing for the shell to do
  kSize,   // the client area changed size; coalesced, so take the size afresh
  kClose,  // the user asked to close the window
};

struct WebView {
  const webview::Api* api;
  webview::Handle handle;
};

// Sizes are logical pixels (1/96 inch). Every operation on a window or web view that does not
// exist does nothing.
class WindowLayer {
 public:
  virtual ~WindowLayer() = default;

  // Opens the main window maximized and activated, asking for a client area of this size.
  virtual bool OpenWindow(int width, int height, const std::string& title) = 0;
  virtual int ClientWidth() = 0;
  virtual int ClientHeight() = 0;
  // Creates the web view over the client area; false when there is no browser engine or it does
  // not start. Returns when the engine is ready.
  virtual bool CreateWebView(int width, int height) = 0;
  virtual std::optional<WebView> web_view() = 0;
  virtual void Navigate(const std::string& address) = 0;
  // Blocks until an event can be returned.
  virtual Event WaitForEvent() = 0;
  virtual void ResizeWebView(int width, int height) = 0;
  // Releases the web view, its engine and the window.
  virtual void ShutDown() = 0;
};

// Prepares the platform's window system and gives its layer.
std::unique_ptr<WindowLayer> InitialiseWindowLayer();

}  // namespace app
