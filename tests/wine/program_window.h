// One of our windowed programs running as a process of its own, watched from the test process.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/wine/test_support.h"

namespace wine_test {

inline constexpr wchar_t kProgramTitle[] = L"Kestrolan Web PlugIn Generator";

// The icon of the programs and their installer, drawn into the build folder by
// cmake/icons.cmake.
inline std::filesystem::path ProgramIco() {
  return ProgramFolder() / L"icons" / L"plugin-generator.ico";
}

class RunningProgram {
 public:
  explicit RunningProgram(const std::filesystem::path& program);
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;
  // Ends the process if it is still running, so that no test leaves one behind.
  ~RunningProgram();

  bool started() const { return static_cast<bool>(process_); }
  // The process's visible top-level window of this title, once the process waits for input;
  // nullptr when there is none by then, or the process ended first.
  HWND WaitForWindow(const std::wstring& title);
  // Every visible top-level window of the process.
  std::vector<HWND> VisibleWindows() const;
  // The exit code; nothing when the process did not end within the timeout.
  std::optional<DWORD> WaitForExit();

 private:
  UniqueHandle process_;
  DWORD id_ = 0;
};

// Starts `program` and checks that it opens our main window, empty (no browser engine under
// Wine) and with no dialog, and that a close request sent to it from here ends it with exit
// code 0.
void ExpectEmptyWindowAndCleanEnd(const std::filesystem::path& program);

}  // namespace wine_test
