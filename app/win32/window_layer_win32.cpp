// The window layer on Windows: a Win32 main window, a child window that holds the webview
// library's WebView2 view, and an event loop that blocks in GetMessageW.
#include <algorithm>
#include <deque>

#include "app/win32/dpi.h"
#include "app/window_layer.h"
#include "installer/win32/utf16.h"
#include "installer/win32/windows_headers.h"

namespace app {
namespace {

using win32::ToDevicePixels;
using win32::ToLogicalPixels;

constexpr wchar_t kMainClass[] = L"KestrolanWebPlugInGenerator";
constexpr wchar_t kViewClass[] = L"KestrolanWebPlugInGeneratorView";
constexpr DWORD kMainStyle = WS_OVERLAPPEDWINDOW | WS_MAXIMIZE;
constexpr DWORD kViewStyle = WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN;
constexpr int kProgramIcon = 1;  // the icon group of app/win32/plugin_generator.rc
// IDC_ARROW, which the headers spell as a narrow resource name in a build without UNICODE.
constexpr int kArrowCursor = 32512;

// Posted to the main window when an event comes in a message sent from another thread or
// process: GetMessageW handles sent messages without returning, so without a posted message the
// loop would sleep on with the event queued.
constexpr UINT kWakeMessage = WM_APP + 1;

// Keeps the engine's disk cache out of the user data folder, which roams with the user's
// profile. Read by the WebView2 loader when the first web view starts, so set once beforehand.
void SetBrowserArguments() {
  static bool done = false;
  if (done) return;
  done = true;
  wchar_t temp[MAX_PATH + 1];
  const DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH) return;
  std::wstring folder(temp, length);
  if (folder.back() != L'\\') folder += L'\\';
  const std::wstring arguments = L"--disk-cache-dir=\"" + folder + L"WebView2_Cache\"";
  SetEnvironmentVariableW(L"WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS", arguments.c_str());
}

class Win32WindowLayer final : public WindowLayer {
 public:
  Win32WindowLayer() : instance_(GetModuleHandleW(nullptr)) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    com_initialised_ = com == S_OK || com == S_FALSE;
    // Read once: the program declares itself DPI-aware at system resolution, which is fixed
    // for the session.
    if (HDC screen = GetDC(nullptr)) {
      dpi_x_ = GetDeviceCaps(screen, LOGPIXELSX);
      dpi_y_ = GetDeviceCaps(screen, LOGPIXELSY);
      ReleaseDC(nullptr, screen);
    }
    if (dpi_x_ <= 0) dpi_x_ = win32::kLogicalDpi;
    if (dpi_y_ <= 0) dpi_y_ = win32::kLogicalDpi;
  }
  ~Win32WindowLayer() override { ShutDown(); }
  Win32WindowLayer(const Win32WindowLayer&) = delete;
  Win32WindowLayer& operator=(const Win32WindowLayer&) = delete;

  bool OpenWindow(int width, int height, const std::string& title) override {
    const std::optional<std::wstring> wide_title = installer::win32::Utf8ToWide(title);
    if (window_ || !wide_title || !RegisterClasses()) return false;
    RECT outer{0, 0, ToDevicePixels(width, dpi_x_), ToDevicePixels(height, dpi_y_)};
    AdjustWindowRectEx(&outer, kMainStyle, FALSE, 0);
    window_ = CreateWindowExW(0, kMainClass, wide_title->c_str(), kMainStyle, 0, 0,
                              outer.right - outer.left, outer.bottom - outer.top, nullptr, nullptr,
                              instance_, this);
    if (!window_) {
      UnregisterClasses();
      return false;
    }
    CentreOnScreen();
    ShowWindow(window_, SW_SHOWMAXIMIZED);
    SetForegroundWindow(window_);
    UpdateWindow(window_);
    // From here on size changes are the user's; the opening ones are not events.
    open_ = true;
    return true;
  }

  int ClientWidth() override { return ToLogicalPixels(ClientRect().right, dpi_x_); }
  int ClientHeight() override { return ToLogicalPixels(ClientRect().bottom, dpi_y_); }

  bool CreateWebView(int width, int height) override {
    if (!window_ || view_) return false;
    SetBrowserArguments();
    view_window_ =
        CreateWindowExW(0, kViewClass, nullptr, kViewStyle, 0, 0, ToDevicePixels(width, dpi_x_),
                        ToDevicePixels(height, dpi_y_), window_, nullptr, instance_, nullptr);
    if (!view_window_) return false;
    // The engine's user data folder is left to the library: it picks the roaming application
    // data folder joined with the executable's file name, which is where ours belongs.
    api_ = webview::LoadApi();
    if (api_) view_ = api_->create(0, &view_window_);  // on Windows it takes an HWND*
    if (!view_) {
      // No library or no engine: the main window stays, empty in its own colour.
      DestroyWindow(view_window_);
      view_window_ = nullptr;
      return false;
    }
    FitWidget();
    if (HWND widget = Widget()) SetFocus(widget);
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
    if (events_.empty()) {
      if (!window_) return Event::kClose;  // nothing to wait for
      MSG message;
      // 0 is WM_QUIT and -1 a failure: either way no message will ever end the wait.
      if (GetMessageW(&message, nullptr, 0, 0) <= 0) return Event::kClose;
      TranslateMessage(&message);
      DispatchMessageW(&message);
      return Event::kOther;
    }
    const Event event = events_.front();
    events_.pop_front();
    return event;
  }

  void ResizeWebView(int width, int height) override {
    if (!view_) return;
    MoveWindow(view_window_, 0, 0, ToDevicePixels(width, dpi_x_), ToDevicePixels(height, dpi_y_),
               TRUE);
    FitWidget();
  }

  void ShutDown() override {
    if (view_) api_->destroy(view_);
    view_ = nullptr;
    open_ = false;
    if (window_) DestroyWindow(window_);  // and with it the view's window
    window_ = nullptr;
    view_window_ = nullptr;
    events_.clear();
    UnregisterClasses();
    if (com_initialised_) CoUninitialize();
    com_initialised_ = false;
  }

 private:
  bool RegisterClasses() {
    WNDCLASSEXW main{};
    main.cbSize = sizeof main;
    main.lpfnWndProc = &Win32WindowLayer::MainWindowProc;
    main.hInstance = instance_;
    main.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(kProgramIcon));
    main.hIconSm = static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(kProgramIcon),
                                                 IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                                 GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    main.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(kArrowCursor));
    main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    main.lpszClassName = kMainClass;
    // The engine paints all of the view's window; a background would flash over it.
    WNDCLASSEXW view{};
    view.cbSize = sizeof view;
    view.lpfnWndProc = &DefWindowProcW;
    view.hInstance = instance_;
    view.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(kArrowCursor));
    view.lpszClassName = kViewClass;
    if (!RegisterClassExW(&main)) return false;
    if (!RegisterClassExW(&view)) {
      UnregisterClassW(kMainClass, instance_);
      return false;
    }
    return true;
  }

  void UnregisterClasses() {
    UnregisterClassW(kViewClass, instance_);
    UnregisterClassW(kMainClass, instance_);
  }

  // Over the whole primary screen, by the window's outer size.
  void CentreOnScreen() {
    RECT outer{};
    GetWindowRect(window_, &outer);
    const int width = outer.right - outer.left, height = outer.bottom - outer.top;
    const int screen_width = GetSystemMetrics(SM_CXSCREEN);
    const int screen_height = GetSystemMetrics(SM_CYSCREEN);
    const int x = (screen_width - std::min(width, screen_width)) / 2;
    const int y = (screen_height - std::min(height, screen_height)) / 2;
    SetWindowPos(window_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  RECT ClientRect() const {
    RECT client{};
    if (window_) GetClientRect(window_, &client);
    return client;
  }

  HWND Widget() const {
    return static_cast<HWND>(api_->get_native_handle(view_, webview::kNativeWidget));
  }

  // webview 0.12 puts its own widget window into the window it is given but sizes that widget
  // only in windows it made itself. The widget hands its size on to the engine's bounds.
  void FitWidget() {
    HWND widget = Widget();
    RECT client{};
    if (widget && GetClientRect(view_window_, &client)) {
      MoveWindow(widget, 0, 0, client.right, client.bottom, TRUE);
    }
  }

  void Raise(Event event) {
    if (event == Event::kSize) std::erase(events_, Event::kSize);
    events_.push_back(event);
    if (InSendMessage()) PostMessageW(window_, kWakeMessage, 0, 0);
  }

  static LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wparam,
                                         LPARAM lparam) noexcept {
    if (message == WM_NCCREATE) {
      const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32WindowLayer*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    try {
      switch (message) {
        case WM_SIZE:
          if (self && self->open_ && (wparam == SIZE_RESTORED || wparam == SIZE_MAXIMIZED)) {
            self->Raise(Event::kSize);
          }
          break;
        case WM_CLOSE:
          if (self) self->Raise(Event::kClose);
          return 0;  // the window stays until the shell shuts down
        case kWakeMessage:
          return 0;
      }
    } catch (...) {
      // Out of memory for the queue: the event is lost, the window goes on.
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }

  HINSTANCE instance_;
  bool com_initialised_ = false;
  int dpi_x_ = win32::kLogicalDpi;
  int dpi_y_ = win32::kLogicalDpi;
  HWND window_ = nullptr;
  HWND view_window_ = nullptr;
  bool open_ = false;
  const webview::Api* api_ = nullptr;
  webview::Handle view_ = nullptr;
  std::deque<Event> events_;
};

}  // namespace

std::unique_ptr<WindowLayer> InitialiseWindowLayer() {
  return std::make_unique<Win32WindowLayer>();
}

}  // namespace app
