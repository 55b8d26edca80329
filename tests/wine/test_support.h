// What the Wine tests share: the programs next to the test, child processes, files, registry.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "installer/win32/unique_handles.h"
#include "installer/win32/windows_headers.h"

namespace wine_test {

using installer::win32::UniqueHandle;

// The folder of the running test program; the programs it drives are built next to it.
std::filesystem::path ProgramFolder();
// The Documents folder as the shell reports it.
std::filesystem::path DocumentsFolder();
// A new, empty folder under the system's temporary folder.
std::filesystem::path NewTemporaryFolder();

std::string ReadBytes(const std::filesystem::path& path);
void WriteBytes(const std::filesystem::path& path, const std::string& bytes);
std::string ToUtf8(const std::wstring& text);
std::wstring ToWide(const std::string& text);

// The argument text of one HostAction call, as the page sends it, with its line end.
std::string Request(const std::string& file_name, const std::string& data, int index = 0,
                    int total = 1);

struct Outcome {
  DWORD exit_code = 0;
  std::string out;
  std::string err;
  ULONGLONG milliseconds = 0;
};

// Runs plugin-generator-dev.exe with `args` and waits for it to end.
Outcome RunDevTool(const std::vector<std::wstring>& args);

// Pending plug-in entries: values of HKCU\Software\Mardova\KestrolanWeb\PlugIns.
std::optional<std::wstring> PendingEntry(const std::wstring& name);
void SetPendingEntry(const std::wstring& name, const std::wstring& path);
void DeletePendingEntries();

// host_window_helper.exe, running with a top-level window, until Finish().
class HostWindow {
 public:
  // Starts the helper with `args` and waits until its window exists.
  explicit HostWindow(const std::vector<std::wstring>& args = {});
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;
  ~HostWindow() { Finish(); }

  bool ready() const { return ready_; }
  // Ends the helper and gives the lines it printed after "ready", "done" included.
  std::vector<std::string> Finish();

 private:
  std::optional<std::string> ReadLine();

  UniqueHandle process_;
  UniqueHandle input_;
  UniqueHandle output_;
  std::string pending_output_;
  bool ready_ = false;
  std::vector<std::string> lines_;
};

inline constexpr char kSuccessReply[] = "{\"status\":\"success\"}\n";
inline constexpr char kErrorReply[] = "{\"status\":\"error\"}\n";

// Tests that install plug-ins through the dev tool: each starts with no plug-in folder and no
// pending entries.
class InstallTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Replays `calls` from a file of the given name.
  Outcome Replay(const std::string& calls, const std::wstring& file_name = L"calls.txt");
  // Where a plug-in file goes: Documents\KestrolanWeb\PlugIns\<folder>\<file>.
  std::filesystem::path PlugInFile(const std::wstring& folder, const std::wstring& file) const;

  const std::filesystem::path documents_ = DocumentsFolder();
  const std::filesystem::path calls_folder_ = NewTemporaryFolder();
};

}  // namespace wine_test
