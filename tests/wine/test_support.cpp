// What the Wine tests share: the programs next to the test, child processes, files, registry.
#include "tests/wine/test_support.h"

#include <fstream>
#include <iterator>
#include <random>

#include "installer/win32/utf16.h"

namespace wine_test {
namespace {

using installer::win32::UniqueItemList;
using installer::win32::UniqueKey;

constexpr wchar_t kPendingKey[] = L"Software\\Mardova\\KestrolanWeb\\PlugIns";
constexpr DWORD kDevToolTimeoutMs = 60000;
constexpr DWORD kHelperExitTimeoutMs = 10000;

// Quoted so that the child's CommandLineToArgvW gives `arg` back unchanged: backslashes count
// only before a quote.
std::wstring QuoteArgument(const std::wstring& arg) {
  std::wstring quoted = L"\"";
  size_t backslashes = 0;
  for (const wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    quoted += c;
    backslashes = 0;
  }
  quoted.append(2 * backslashes, L'\\');
  return quoted + L'"';
}

// Starts `program` with the given standard handles, which must be inheritable.
UniqueHandle Start(const std::filesystem::path& program, const std::vector<std::wstring>& args,
                   HANDLE in, HANDLE out, HANDLE err) {
  std::wstring command_line = QuoteArgument(program.wstring());
  for (const std::wstring& arg : args) command_line += L" " + QuoteArgument(arg);
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                      nullptr, &startup, &started)) {
    return UniqueHandle();
  }
  CloseHandle(started.hThread);
  return UniqueHandle(started.hProcess);
}

UniqueHandle OpenInheritable(const std::filesystem::path& path, DWORD access, DWORD creation) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return UniqueHandle(CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  &inherit, creation, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

std::filesystem::path ProgramFolder() {
  wchar_t path[4 * MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, std::size(path));
  return std::filesystem::path(std::wstring(path, length)).parent_path();
}

std::filesystem::path DocumentsFolder() {
  UniqueItemList items;
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderLocation(nullptr, CSIDL_PERSONAL, nullptr, 0, items.Receive())) ||
      !SHGetPathFromIDListW(items.get(), path)) {
    return {};
  }
  return path;
}

std::filesystem::path NewTemporaryFolder() {
  std::random_device random;
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("pg-test-" + std::to_string(random()));
  std::filesystem::create_directories(folder);
  return folder;
}

std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

std::string ToUtf8(const std::wstring& text) { return installer::win32::WideToUtf8(text).value(); }
std::wstring ToWide(const std::string& text) { return installer::win32::Utf8ToWide(text).value(); }

std::string Request(const std::string& file_name, const std::string& data, int index, int total) {
  return R"([{"action":"COMPILE_AND_INSTALL","filename":")" + file_name + R"(","data":")" + data +
         R"(","chunkIndex":)" + std::to_string(index) + R"(,"totalChunks":)" +
         std::to_string(total) + "}]\n";
}

Outcome RunDevTool(const std::vector<std::wstring>& args) {
  const std::filesystem::path folder = NewTemporaryFolder();
  Outcome outcome;
  {
    const UniqueHandle in = OpenInheritable(L"NUL", GENERIC_READ, OPEN_EXISTING);
    const UniqueHandle out = OpenInheritable(folder / L"stdout", GENERIC_WRITE, CREATE_ALWAYS);
    const UniqueHandle err = OpenInheritable(folder / L"stderr", GENERIC_WRITE, CREATE_ALWAYS);
    const ULONGLONG start = GetTickCount64();
    const UniqueHandle process =
        Start(ProgramFolder() / L"plugin-generator-dev.exe", args, in.get(), out.get(), err.get());
    if (!process) {
      outcome.exit_code = ~DWORD{0};
      outcome.err = "cannot start plugin-generator-dev.exe";
      return outcome;
    }
    if (WaitForSingleObject(process.get(), kDevToolTimeoutMs) != WAIT_OBJECT_0) {
      TerminateProcess(process.get(), ~DWORD{0});
      WaitForSingleObject(process.get(), INFINITE);
    }
    outcome.milliseconds = GetTickCount64() - start;
    GetExitCodeProcess(process.get(), &outcome.exit_code);
  }
  outcome.out = ReadBytes(folder / L"stdout");
  outcome.err = ReadBytes(folder / L"stderr");
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
  return outcome;
}

std::optional<std::wstring> PendingEntry(const std::wstring& name) {
  UniqueKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kPendingKey, 0, KEY_QUERY_VALUE, key.Receive()) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  DWORD type = 0, size = 0;
  if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  std::wstring data(size / sizeof(wchar_t), L'\0');
  if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type,
                       reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  // The data as stored, so a test sees whether the terminating zero was written with the path.
  data.resize(size / sizeof(wchar_t));
  return data;
}

void SetPendingEntry(const std::wstring& name, const std::wstring& path) {
  UniqueKey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kPendingKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      key.Receive(), nullptr) == ERROR_SUCCESS) {
    RegSetValueExW(key.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
  }
}

void DeletePendingEntries() { RegDeleteTreeW(HKEY_CURRENT_USER, kPendingKey); }

HostWindow::HostWindow(const std::vector<std::wstring>& args) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  UniqueHandle child_input, child_output;
  if (!CreatePipe(child_input.Receive(), input_.Receive(), &inherit, 0) ||
      !CreatePipe(output_.Receive(), child_output.Receive(), &inherit, 0)) {
    return;
  }
  SetHandleInformation(input_.get(), HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(output_.get(), HANDLE_FLAG_INHERIT, 0);
  const UniqueHandle no_errors = OpenInheritable(L"NUL", GENERIC_WRITE, OPEN_EXISTING);
  process_ = Start(ProgramFolder() / L"host_window_helper.exe", args, child_input.get(),
                   child_output.get(), no_errors.get());
  // Only the helper may hold the other pipe ends now, so its output ends when it does.
  child_output.Reset();
  ready_ = process_ && ReadLine() == "ready";
}

std::vector<std::string> HostWindow::Finish() {
  if (process_) {
    input_.Reset();  // the helper ends when its input does
    if (WaitForSingleObject(process_.get(), kHelperExitTimeoutMs) != WAIT_OBJECT_0) {
      TerminateProcess(process_.get(), 1);
    }
    while (const std::optional<std::string> line = ReadLine()) lines_.push_back(*line);
    process_.Reset();
    output_.Reset();
  }
  return lines_;
}

std::optional<std::string> HostWindow::ReadLine() {
  for (;;) {
    const size_t end = pending_output_.find('\n');
    if (end != std::string::npos) {
      std::string line = pending_output_.substr(0, end);
      pending_output_.erase(0, end + 1);
      return line;
    }
    char buffer[256];
    DWORD read = 0;
    if (!output_ || !ReadFile(output_.get(), buffer, sizeof buffer, &read, nullptr) || read == 0) {
      return std::nullopt;
    }
    pending_output_.append(buffer, read);
  }
}

void InstallTest::SetUp() {
  ASSERT_FALSE(documents_.empty());
  std::error_code ignored;
  std::filesystem::remove_all(documents_ / L"KestrolanWeb", ignored);
  DeletePendingEntries();
}

void InstallTest::TearDown() {
  std::error_code ignored;
  std::filesystem::remove_all(calls_folder_, ignored);
}

Outcome InstallTest::Replay(const std::string& calls, const std::wstring& file_name) {
  const std::filesystem::path file = calls_folder_ / file_name;
  WriteBytes(file, calls);
  return RunDevTool({L"--replay", file.wstring()});
}

std::filesystem::path InstallTest::PlugInFile(const std::wstring& folder,
                                              const std::wstring& file) const {
  return documents_ / L"KestrolanWeb" / L"PlugIns" / folder / file;
}

}  // namespace wine_test
