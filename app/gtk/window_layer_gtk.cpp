// The window layer on Linux: a GTK 4 window holding the webview library's WebKitGTK view, and
// an event loop that blocks in GLib's main context.
#include <dlfcn.h>
#include <glib-unix.h>
#include <gtk/gtk.h>
#include <signal.h>

#include <deque>

#include "app/window_layer.h"

namespace app {
namespace {

// Grants the page's clipboard reads without asking; every other request keeps the engine's
// default. WebKit is reached through the library that webview loaded, not linked to us, so a
// machine without it still gets the empty window.
gboolean OnPermissionRequest(GObject*, GObject* request, gpointer) noexcept {
  static const GType clipboard_type = g_type_from_name("WebKitClipboardPermissionRequest");
  using AllowFn = void (*)(GObject*);
  static const auto allow = reinterpret_cast<AllowFn>(
      dlsym(RTLD_DEFAULT, "webkit_permission_request_allow"));
  if (clipboard_type == 0 || !allow || !G_TYPE_CHECK_INSTANCE_TYPE(request, clipboard_type)) {
    return FALSE;
  }
  allow(request);
  return TRUE;
}

// Our icon lies beside the executable in the build tree (icons/hicolor/...) and under
// prefix/share/icons when installed (the executable is in prefix/lib/plugin-generator/), which
// need not be a folder the icon theme searches by itself.
void AddIconFolders() {
  GdkDisplay* display = gdk_display_get_default();
  if (!display) return;
  GtkIconTheme* theme = gtk_icon_theme_get_for_display(display);
  const std::string folder = webview::ExecutableFolder();
  for (const char* relative : {"icons", "../../share/icons"}) {
    gtk_icon_theme_add_search_path(theme, (folder + relative).c_str());
  }
}

class GtkWindowLayer final : public WindowLayer {
 public:
  GtkWindowLayer() : display_ok_(gtk_init_check()) {
    // SIGINT and SIGTERM close the program the way the window's close button does.
    g_unix_signal_add(SIGINT, &GtkWindowLayer::OnSignal, this);
    g_unix_signal_add(SIGTERM, &GtkWindowLayer::OnSignal, this);
  }

  bool OpenWindow(int width, int height, const std::string& title) override {
    if (!display_ok_) return false;
    AddIconFolders();
    window_ = GTK_WINDOW(gtk_window_new());
    g_object_ref_sink(window_);
    gtk_window_set_title(window_, title.c_str());
    gtk_window_set_default_size(window_, width, height);
    gtk_window_set_icon_name(window_, "plugin-generator");
    g_signal_connect(window_, "close-request", G_CALLBACK(&GtkWindowLayer::OnCloseRequest), this);
    gtk_window_maximize(window_);
    gtk_window_present(window_);
    // Connected after presenting: the opening maximize raises no size event.
    for (const char* property : {"notify::default-width", "notify::default-height",
                                 "notify::maximized"}) {
      g_signal_connect_swapped(window_, property, G_CALLBACK(&GtkWindowLayer::OnSizeChange), this);
    }
    return true;
  }

  int ClientWidth() override { return window_ ? gtk_widget_get_width(GTK_WIDGET(window_)) : 0; }
  int ClientHeight() override { return window_ ? gtk_widget_get_height(GTK_WIDGET(window_)) : 0; }

  bool CreateWebView(int, int) override {
    // GTK lays the view out over the whole window, so the size needs no passing on.
    api_ = window_ ? webview::LoadApi() : nullptr;
    if (!api_) return false;
    view_ = api_->create(0, window_);
    if (!view_) return false;
    auto* widget = static_cast<GtkWidget*>(api_->get_native_handle(view_, webview::kNativeWidget));
    auto* engine = api_->get_native_handle(view_, webview::kNativeBrowserController);
    // The library build we ship creates the view but leaves it outside a window it was given.
    if (widget && gtk_window_get_child(window_) != widget) gtk_window_set_child(window_, widget);
    if (engine) {
      g_signal_connect(engine, "permission-request", G_CALLBACK(OnPermissionRequest), nullptr);
    }
    if (widget) gtk_widget_grab_focus(widget);
    return true;
  }

  std::optional<WebView> web_view() override {
    if (!view_) return std::nullopt;
    return WebView{api_, view_};
  }

  void Navigate(const std::string& address) override {
    if (view_) api_->navigate(view_, address.c_str());
  }

  Event WaitForEvent() override {
    if (!window_ && events_.empty()) return Event::kClose;  // nothing to wait for
    if (events_.empty()) {
      g_main_context_iteration(nullptr, TRUE);
      return Event::kOther;
    }
    const Event event = events_.front();
    events_.pop_front();
    return event;
  }

  void ResizeWebView(int, int) override {
    // The view is the window's child and GTK keeps it over the whole client area; a redraw is
    // all that is left to ask for.
    if (window_) gtk_widget_queue_resize(GTK_WIDGET(window_));
  }

  void ShutDown() override {
    if (view_) api_->destroy(view_);
    view_ = nullptr;
    if (window_) {
      gtk_window_destroy(window_);
      g_object_unref(window_);
      window_ = nullptr;
    }
    while (g_main_context_pending(nullptr)) g_main_context_iteration(nullptr, FALSE);
  }

 private:
  void Raise(Event event) {
    if (event == Event::kSize) std::erase(events_, Event::kSize);
    events_.push_back(event);
  }

  static gboolean OnCloseRequest(GtkWindow*, gpointer self) noexcept {
    static_cast<GtkWindowLayer*>(self)->Raise(Event::kClose);
    return TRUE;  // keep the window; the shell closes it after its loop
  }
  static gboolean OnSignal(gpointer self) noexcept {
    static_cast<GtkWindowLayer*>(self)->Raise(Event::kClose);
    return G_SOURCE_CONTINUE;
  }
  static void OnSizeChange(gpointer self) noexcept {
    static_cast<GtkWindowLayer*>(self)->Raise(Event::kSize);
  }

  bool display_ok_;
  GtkWindow* window_ = nullptr;
  const webview::Api* api_ = nullptr;
  webview::Handle view_ = nullptr;
  std::deque<Event> events_;
};

}  // namespace

std::unique_ptr<WindowLayer> InitialiseWindowLayer() { return std::make_unique<GtkWindowLayer>(); }

}  // namespace app
