// The Windows window layer driven directly, as the shell drives it: the main window it opens, the
// events its loop gives for size changes and close requests, and what it leaves behind.
#include "app/window_layer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "app/shell.h"
#include "app/win32/dpi.h"
#include "tests/wine/test_support.h"

namespace wine_test {
namespace {

using app::Event;
using app::win32::ToDevicePixels;
using app::win32::ToLogicalPixels;

// A bound on the events one step may raise, so that a fault fails a test instead of hanging it.
constexpr size_t kMaxEvents = 1000;

HWND WindowOfThisThread(const std::wstring& title) {
  struct Search {
    std::wstring title;
    HWND found;
  } search{title, nullptr};
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND window, LPARAM data) noexcept -> BOOL {
        auto* search = reinterpret_cast<Search*>(data);
        wchar_t text[256] = {};
        GetWindowTextW(window, text, 256);
        if (search->title != text) return TRUE;
        search->found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct Dpi {
  int x;
  int y;
};

Dpi ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const Dpi dpi{GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)};
  ReleaseDC(nullptr, screen);
  return dpi;
}

std::wstring ClassNameOf(HWND window) {
  wchar_t name[256] = {};
  const int length = GetClassNameW(window, name, 256);
  return std::wstring(name, length);
}

class WindowLayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(layer_->OpenWindow(app::kWindowWidth, app::kWindowHeight, app::kWindowTitle));
    window_ = WindowOfThisThread(ToWide(app::kWindowTitle));
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override { layer_->ShutDown(); }

  // Asks the window to close and gives the shell's events up to that close, the close left
  // out: all that the steps before raised, in order.
  std::vector<Event> EventsUntilClose() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    std::vector<Event> events;
    while (events.size() < kMaxEvents) {
      const Event event = layer_->WaitForEvent();
      if (event == Event::kClose) return events;
      if (event != Event::kOther) events.push_back(event);
    }
    ADD_FAILURE() << "no close event";
    return events;
  }

  const std::unique_ptr<app::WindowLayer> layer_ = app::InitialiseWindowLayer();
  HWND window_ = nullptr;
};

TEST_F(WindowLayerTest, OpensVisibleMaximizedOverlappedWindowWithTitle) {
  wchar_t title[256] = {};
  GetWindowTextW(window_, title, 256);
  EXPECT_EQ(std::wstring(title), L"Kestrolan Web PlugIn Generator");
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window_, GWL_STYLE));
  EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, static_cast<DWORD>(WS_OVERLAPPEDWINDOW));
  EXPECT_EQ(style & (WS_CHILD | WS_POPUP), 0u);
  EXPECT_TRUE(IsZoomed(window_));
  EXPECT_TRUE(IsWindowVisible(window_));
  // No extended style is asked for; Windows adds WS_EX_WINDOWEDGE to every window with a
  // sizing border by itself, and so does Wine, which reports exactly that.
  EXPECT_EQ(GetWindowLongPtrW(window_, GWL_EXSTYLE), WS_EX_WINDOWEDGE);
  EXPECT_EQ(GetWindow(window_, GW_OWNER), nullptr);
  EXPECT_EQ(GetMenu(window_), nullptr);
}

TEST_F(WindowLayerTest, WindowClassHasButtonFaceArrowCursorAndProgramIcon) {
  EXPECT_EQ(GetClassLongPtrW(window_, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
  EXPECT_EQ(reinterpret_cast<HCURSOR>(GetClassLongPtrW(window_, GCLP_HCURSOR)),
            LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)));  // IDC_ARROW
  // This test program carries the programs' resources; icon group 1 is theirs.
  const HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(reinterpret_cast<HICON>(GetClassLongPtrW(window_, GCLP_HICON)), icon);
  EXPECT_NE(GetClassLongPtrW(window_, GCLP_HICONSM), 0);
}

TEST_F(WindowLayerTest, ClientSizeIsTheWindowsClientAreaInLogicalPixels) {
  RECT client{};
  ASSERT_TRUE(GetClientRect(window_, &client));
  const Dpi dpi = ScreenDpi();
  EXPECT_GT(client.right, 0);
  EXPECT_EQ(layer_->ClientWidth(), ToLogicalPixels(client.right, dpi.x));
  EXPECT_EQ(layer_->ClientHeight(), ToLogicalPixels(client.bottom, dpi.y));
}

TEST_F(WindowLayerTest, OpeningRaisesNoSizeEvent) {
  EXPECT_EQ(EventsUntilClose(), std::vector<Event>{});
}

TEST_F(WindowLayerTest, CloseRequestLeavesTheWindowOpen) {
  EXPECT_EQ(EventsUntilClose(), std::vector<Event>{});
  EXPECT_TRUE(IsWindow(window_));
  EXPECT_TRUE(IsWindowVisible(window_));
}

TEST_F(WindowLayerTest, SizeChangesBeforeTheLoopGiveOneSizeEventAtTheFinalSize) {
  ASSERT_TRUE(ShowWindow(window_, SW_RESTORE));
  EXPECT_EQ(EventsUntilClose(), std::vector<Event>{Event::kSize});
  for (const int width : {500, 640, 700}) {
    SetWindowPos(window_, nullptr, 0, 0, width, width / 2, SWP_NOMOVE | SWP_NOZORDER);
  }
  RECT final_client{};
  GetClientRect(window_, &final_client);
  ASSERT_EQ(layer_->WaitForEvent(), Event::kSize);
  const Dpi dpi = ScreenDpi();
  EXPECT_EQ(layer_->ClientWidth(), ToLogicalPixels(final_client.right, dpi.x));
  EXPECT_EQ(layer_->ClientHeight(), ToLogicalPixels(final_client.bottom, dpi.y));
  EXPECT_EQ(EventsUntilClose(), std::vector<Event>{});
}

TEST_F(WindowLayerTest, MinimizeRaisesNoSizeEventRestoreAndMaximizeOneEach) {
  struct Step {
    const char* name;
    int show;
    size_t size_events;
  };
  const Step steps[] = {
      {"minimize", SW_MINIMIZE, 0},         {"restore to maximized", SW_RESTORE, 1},
      {"restore to normal", SW_RESTORE, 1}, {"minimize again", SW_MINIMIZE, 0},
      {"restore to normal", SW_RESTORE, 1}, {"maximize", SW_MAXIMIZE, 1},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    ShowWindow(window_, step.show);
    EXPECT_EQ(EventsUntilClose(), std::vector<Event>(step.size_events, Event::kSize));
  }
  EXPECT_TRUE(IsZoomed(window_));
}

TEST_F(WindowLayerTest, CloseSentFromAnotherThreadEndsTheWaitAtOnce) {
  EXPECT_EQ(EventsUntilClose(), std::vector<Event>{});  // nothing pending any more
  std::atomic<bool> closed = false;
  std::atomic<ULONGLONG> sent_at = 0;
  std::thread sender([&] {
    Sleep(200);  // the loop is waiting by then
    sent_at = GetTickCount64();
    SendMessageW(window_, WM_CLOSE, 0, 0);
    // If the loop slept on, wake it after a while so the test can fail instead of hang.
    for (int i = 0; i < 50 && !closed; ++i) Sleep(100);
    if (!closed) PostMessageW(window_, WM_NULL, 0, 0);
  });
  Event event = Event::kOther;
  for (size_t i = 0; i < kMaxEvents && event != Event::kClose; ++i) event = layer_->WaitForEvent();
  const ULONGLONG closed_at = GetTickCount64();
  closed = true;
  sender.join();
  EXPECT_EQ(event, Event::kClose);
  EXPECT_LT(closed_at - sent_at, 2000u);
}

TEST_F(WindowLayerTest, WithoutBrowserEngineTheWindowStaysEmpty) {
  // Wine has no WebView2 runtime, so the library is there and the engine is not.
  EXPECT_FALSE(layer_->CreateWebView(layer_->ClientWidth(), layer_->ClientHeight()));
  EXPECT_FALSE(layer_->web_view().has_value());
  EXPECT_EQ(GetWindow(window_, GW_CHILD), nullptr);
  layer_->Navigate("https://www.mardova.com/");
  layer_->ResizeWebView(100, 100);
  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_EQ(EventsUntilClose(), std::vector<Event>{});
}

TEST_F(WindowLayerTest, EngineDiskCacheGoesToTheTemporaryFolder) {
  layer_->CreateWebView(layer_->ClientWidth(), layer_->ClientHeight());
  wchar_t temp[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH + 1, temp);
  wchar_t value[1024] = {};
  ASSERT_GT(GetEnvironmentVariableW(L"WEBVIEW2_ADDITIONAL_BROWSER_ARGUMENTS", value, 1024), 0u);
  EXPECT_EQ(std::wstring(value), L"--disk-cache-dir=\"" + std::wstring(temp) + L"WebView2_Cache\"");
}

TEST_F(WindowLayerTest, ComIsASingleThreadedApartmentUntilShutDown) {
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
  layer_->ShutDown();
  const HRESULT after = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  EXPECT_EQ(after, S_OK);
  if (SUCCEEDED(after)) CoUninitialize();
}

TEST_F(WindowLayerTest, ShutDownLeavesNoWindowNorClass) {
  const std::wstring class_name = ClassNameOf(window_);
  layer_->ShutDown();
  EXPECT_FALSE(IsWindow(window_));
  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  EXPECT_FALSE(GetClassInfoExW(GetModuleHandleW(nullptr), class_name.c_str(), &info));
  EXPECT_EQ(layer_->ClientWidth(), 0);
  EXPECT_EQ(layer_->WaitForEvent(), Event::kClose);
}

TEST(WindowLayerWithoutWindowTest, WaitGivesCloseAtOnce) {
  const std::unique_ptr<app::WindowLayer> layer = app::InitialiseWindowLayer();
  EXPECT_EQ(layer->WaitForEvent(), Event::kClose);
  EXPECT_EQ(layer->ClientWidth(), 0);
  EXPECT_EQ(layer->ClientHeight(), 0);
  EXPECT_FALSE(layer->CreateWebView(100, 100));
  layer->ShutDown();
}

TEST(WindowLayerWithoutWindowTest, RestoredWindowHasTheRequestedClientSize) {
  const std::unique_ptr<app::WindowLayer> layer = app::InitialiseWindowLayer();
  ASSERT_TRUE(layer->OpenWindow(640, 480, "requested size"));
  HWND window = WindowOfThisThread(L"requested size");
  ShowWindow(window, SW_RESTORE);
  RECT client{};
  GetClientRect(window, &client);
  const Dpi dpi = ScreenDpi();
  EXPECT_EQ(client.right, ToDevicePixels(640, dpi.x));
  EXPECT_EQ(client.bottom, ToDevicePixels(480, dpi.y));
  layer->ShutDown();
}

// Refuses every window this thread tries to create.
LRESULT CALLBACK RefuseWindows(int code, WPARAM wparam, LPARAM lparam) noexcept {
  if (code == HCBT_CREATEWND) return 1;
  return CallNextHookEx(nullptr, code, wparam, lparam);
}

TEST(WindowLayerWithoutWindowTest, WindowThatCannotBeCreatedLeavesNothingBehind) {
  std::wstring class_name;
  {
    const std::unique_ptr<app::WindowLayer> layer = app::InitialiseWindowLayer();
    ASSERT_TRUE(layer->OpenWindow(640, 480, "class name probe"));
    class_name = ClassNameOf(WindowOfThisThread(L"class name probe"));
    layer->ShutDown();
  }
  const std::unique_ptr<app::WindowLayer> layer = app::InitialiseWindowLayer();
  HHOOK hook = SetWindowsHookExW(WH_CBT, RefuseWindows, nullptr, GetCurrentThreadId());
  ASSERT_NE(hook, nullptr);
  const bool opened = layer->OpenWindow(640, 480, "refused");
  UnhookWindowsHookEx(hook);
  EXPECT_FALSE(opened);
  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  EXPECT_FALSE(GetClassInfoExW(GetModuleHandleW(nullptr), class_name.c_str(), &info));
  EXPECT_EQ(layer->ClientWidth(), 0);
  EXPECT_EQ(layer->WaitForEvent(), Event::kClose);
  // And a later attempt starts from scratch.
  EXPECT_TRUE(layer->OpenWindow(640, 480, "second attempt"));
  layer->ShutDown();
}

}  // namespace
}  // namespace wine_test
