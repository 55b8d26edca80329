// A stand-in for the host product's main window, run by the Wine tests as a separate process.
//   host_window_helper [--class NAME] [--title TEXT] [--stall]
// Prints "ready" once its top-level window exists, then for each plug-in message a line
// "message <wParam> <atom name>", and "done" when it ends: when its window is closed or its
// standard input reaches its end (so it never outlives a test that crashed). With --stall it
// handles no message after "ready", like a host product that hangs.
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "installer/win32/unique_handles.h"
#include "installer/win32/utf16.h"
#include "installer/win32/windows_headers.h"

namespace {

// The host product's plug-in message, as installer/win32/host_notice_win32.cpp sends it.
constexpr UINT kPlugInArrivedMessage = 0x465;

HANDLE input_closed = nullptr;
HWND window = nullptr;

void PrintLine(const std::string& line) {
  std::fputs((line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

void PrintPlugInMessage(WPARAM length, ATOM atom) {
  wchar_t name[256] = {};
  const UINT name_length = GlobalGetAtomNameW(atom, name, 256);
  const auto utf8 = installer::win32::WideToUtf8(std::wstring_view(name, name_length));
  PrintLine("message " + std::to_string(length) + " " + utf8.value_or("<not UTF-16>"));
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
  try {
    switch (message) {
      case kPlugInArrivedMessage:
        PrintPlugInMessage(wparam, static_cast<ATOM>(lparam));
        return 0;
      case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
      case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
  } catch (...) {
    PrintLine("exception");
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

DWORD WINAPI WatchInput(void*) noexcept {
  char buffer[64];
  DWORD read = 0;
  while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &read, nullptr) &&
         read > 0) {
  }
  SetEvent(input_closed);
  PostMessageW(window, WM_CLOSE, 0, 0);
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  std::wstring class_name = L"TMainForm", title = L"Kestrolan Web";
  bool stall = false;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--stall") {
      stall = true;
    } else if (arg == L"--class" && i + 1 < argc) {
      class_name = argv[++i];
    } else if (arg == L"--title" && i + 1 < argc) {
      title = argv[++i];
    } else {
      PrintLine("usage: host_window_helper [--class NAME] [--title TEXT] [--stall]");
      return 2;
    }
  }

  WNDCLASSEXW window_class = {};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = class_name.c_str();
  if (!RegisterClassExW(&window_class)) return 3;
  window = CreateWindowExW(0, class_name.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 200,
                           100, nullptr, nullptr, window_class.hInstance, nullptr);
  const installer::win32::UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  input_closed = event.get();
  if (window == nullptr || !event) return 4;
  const installer::win32::UniqueHandle watcher(
      CreateThread(nullptr, 0, WatchInput, nullptr, 0, nullptr));
  if (!watcher) return 5;
  PrintLine("ready");

  if (stall) {
    WaitForSingleObject(input_closed, INFINITE);
  } else {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  }
  PrintLine("done");
  return 0;
}
