// One of our windowed programs running as a process of its own, watched from the test process.
#include "tests/wine/program_window.h"

namespace wine_test {
namespace {

constexpr DWORD kStartTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 10000;
constexpr UINT kCloseTimeoutMs = 5000;

}  // namespace

RunningProgram::RunningProgram(const std::filesystem::path& program) {
  std::wstring command_line = L"\"" + program.wstring() + L"\"";
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     nullptr, &startup, &started)) {
    CloseHandle(started.hThread);
    process_.Reset(started.hProcess);
    id_ = started.dwProcessId;
  }
}

RunningProgram::~RunningProgram() {
  if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_.get(), 1);
    WaitForSingleObject(process_.get(), kExitTimeoutMs);
  }
}

HWND RunningProgram::WaitForWindow(const std::wstring& title) {
  if (!process_) return nullptr;
  // Idle means blocked in GetMessageW with nothing to do: the window is open and the web view
  // settled, either way.
  if (WaitForInputIdle(process_.get(), kStartTimeoutMs) != 0) return nullptr;
  for (HWND window : VisibleWindows()) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    if (title == text) return window;
  }
  return nullptr;
}

std::vector<HWND> RunningProgram::VisibleWindows() const {
  struct Search {
    DWORD id;
    std::vector<HWND> windows;
  } search{id_, {}};
  EnumWindows(
      [](HWND window, LPARAM data) noexcept -> BOOL {
        auto* search = reinterpret_cast<Search*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == search->id && IsWindowVisible(window)) {
          try {
            search->windows.push_back(window);
          } catch (...) {
            return FALSE;
          }
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.windows;
}

std::optional<DWORD> RunningProgram::WaitForExit() {
  DWORD code = 0;
  if (!process_ || WaitForSingleObject(process_.get(), kExitTimeoutMs) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(process_.get(), &code)) {
    return std::nullopt;
  }
  return code;
}

void ExpectEmptyWindowAndCleanEnd(const std::filesystem::path& program) {
  RunningProgram running(program);
  ASSERT_TRUE(running.started()) << program;
  const HWND window = running.WaitForWindow(kProgramTitle);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsZoomed(window));
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
  EXPECT_EQ(style & WS_OVERLAPPEDWINDOW, static_cast<DWORD>(WS_OVERLAPPEDWINDOW));
  EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE), WS_EX_WINDOWEDGE);  // added by the system
  EXPECT_EQ(running.VisibleWindows(), std::vector<HWND>{window});       // no dialog
  EXPECT_EQ(GetWindow(window, GW_CHILD), nullptr);                      // no web view
  // Sent, not posted: the program must wake for a close that reaches it inside GetMessageW.
  DWORD_PTR result = 0;
  EXPECT_NE(SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_NORMAL, kCloseTimeoutMs, &result), 0);
  EXPECT_EQ(running.WaitForExit(), std::optional<DWORD>(0));
}

}  // namespace wine_test
