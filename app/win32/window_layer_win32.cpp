// PLACEHOLDER until the Win32 window layer lands: no window, the program ends at once.
#include "app/window_layer.h"

namespace app {
namespace {

class NoWindowLayer final : public WindowLayer {
 public:
  bool OpenWindow(int, int, const std::string&) override { return false; }
  int ClientWidth() override { return 0; }
  int ClientHeight() override { return 0; }
  bool CreateWebView(int, int) override { return false; }
  std::optional<WebView> web_view() override { return std::nullopt; }
  void Navigate(const std::string&) override {}
  Event WaitForEvent() override { return Event::kClose; }
  void ResizeWebView(int, int) override {}
  void ShutDown() override {}
};

}  // namespace

std::unique_ptr<WindowLayer> InitialiseWindowLayer() { return std::make_unique<NoWindowLayer>(); }

}  // namespace app
