// The Windows installer under Wine: silent installation per user and per machine, the installed
// program, and silent uninstallation, which takes away what was installed and nothing of the
// user's.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/wine/executable_file.h"
#include "tests/wine/program_window.h"

namespace wine_test {
namespace {

namespace fs = std::filesystem;
using installer::win32::UniqueKey;

constexpr wchar_t kProduct[] = L"Kestrolan Web PlugIn Generator";
constexpr wchar_t kUninstallKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\KestrolanWebPlugInGenerator";
constexpr DWORD kSetupTimeoutMs = 60000;

fs::path SetupFile() {
  return ProgramFolder() / L"package" /
         (L"plugin-generator-setup-" + ToWide(PROGRAM_VERSION) + L".exe");
}

fs::path KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR path = nullptr;
  fs::path folder;
  if (SUCCEEDED(SHGetKnownFolderPath(id, 0, nullptr, &path))) folder = path;
  CoTaskMemFree(path);
  return folder;
}

// Runs `program` with `arguments` as they are: NSIS wants /D= and _?= last and unquoted. Gives
// the exit code, or nothing when it did not start or end in time.
std::optional<DWORD> RunToEnd(const fs::path& program, const std::wstring& arguments) {
  std::wstring command_line = L"\"" + program.wstring() + L"\" " + arguments;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &started)) {
    return std::nullopt;
  }
  CloseHandle(started.hThread);
  const UniqueHandle process(started.hProcess);
  if (WaitForSingleObject(process.get(), kSetupTimeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(process.get(), 1);
    return std::nullopt;
  }
  DWORD code = 0;
  GetExitCodeProcess(process.get(), &code);
  return code;
}

std::optional<std::wstring> RegistryText(HKEY root, const wchar_t* key_name, const wchar_t* name) {
  UniqueKey key;
  if (RegOpenKeyExW(root, key_name, 0, KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  wchar_t data[1024] = {};
  DWORD size = sizeof data - sizeof(wchar_t), type = 0;
  if (RegQueryValueExW(key.get(), name, nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ) {
    return std::nullopt;
  }
  return std::wstring(data);
}

bool KeyExists(HKEY root, const wchar_t* key_name) {
  UniqueKey key;
  return RegOpenKeyExW(root, key_name, 0, KEY_READ, key.Receive()) == ERROR_SUCCESS;
}

struct Shortcut {
  std::wstring target;
  std::wstring icon;
  int icon_index;
  bool operator==(const Shortcut&) const = default;
};

// What a .lnk file points at, read through the shell.
std::optional<Shortcut> ReadShortcut(const fs::path& file) {
  if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return std::nullopt;
  std::optional<Shortcut> shortcut;
  IShellLinkW* link = nullptr;
  IPersistFile* persist = nullptr;
  wchar_t target[MAX_PATH] = {}, icon[MAX_PATH] = {};
  int icon_index = 0;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
      SUCCEEDED(persist->Load(file.c_str(), STGM_READ)) &&
      SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, 0)) &&
      SUCCEEDED(link->GetIconLocation(icon, MAX_PATH, &icon_index))) {
    shortcut = Shortcut{target, icon, icon_index};
  }
  if (persist) persist->Release();
  if (link) link->Release();
  CoUninitialize();
  return shortcut;
}

std::vector<std::wstring> Entries(const fs::path& folder) {
  std::vector<std::wstring> names;
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(folder, ignored)) {
    names.push_back(entry.path().filename().wstring());
  }
  std::sort(names.begin(), names.end());
  return names;
}

struct Mode {
  const char* name;
  std::wstring arguments;
  fs::path folder;    // where the program goes by default
  fs::path shortcut;  // its Start-menu entry
  HKEY root;          // of its uninstall key
  HKEY other_root;
};

// Names the case in ctest's list.
void PrintTo(const Mode& mode, std::ostream* out) { *out << mode.name; }

std::vector<Mode> Modes() {
  return {
      {"PerUser", L"/S", KnownFolder(FOLDERID_LocalAppData) / L"Programs" / kProduct,
       KnownFolder(FOLDERID_Programs) / (std::wstring(kProduct) + L".lnk"), HKEY_CURRENT_USER,
       HKEY_LOCAL_MACHINE},
      {"PerMachine", L"/S /ALLUSERS", KnownFolder(FOLDERID_ProgramFiles) / kProduct,
       KnownFolder(FOLDERID_CommonPrograms) / (std::wstring(kProduct) + L".lnk"),
       HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER},
  };
}

class InstallerTest : public ::testing::TestWithParam<Mode> {
 protected:
  void SetUp() override {
    ASSERT_FALSE(documents_.empty());
    ASSERT_TRUE(fs::exists(SetupFile())) << SetupFile();
    RemoveInstallation();
    fs::create_directories(plug_in_.parent_path());
    WriteBytes(plug_in_, "hello");
    SetPendingEntry(L"demo.js", plug_in_.wstring());
  }
  void TearDown() override {
    RemoveInstallation();
    std::error_code ignored;
    fs::remove_all(documents_ / L"KestrolanWeb", ignored);
    DeletePendingEntries();
  }

  // What an earlier, failed run may have left.
  void RemoveInstallation() {
    std::error_code ignored;
    fs::remove_all(GetParam().folder, ignored);
    fs::remove(GetParam().shortcut, ignored);
    RegDeleteTreeW(GetParam().root, kUninstallKey);
  }

  const fs::path documents_ = DocumentsFolder();
  const fs::path plug_in_ = documents_ / L"KestrolanWeb" / L"PlugIns" / L"demo" / L"demo.js";
};

TEST_P(InstallerTest, SilentInstallRunsAndSilentUninstallRemovesOnlyWhatItInstalled) {
  const Mode& mode = GetParam();
  ASSERT_EQ(RunToEnd(SetupFile(), mode.arguments), std::optional<DWORD>(0));

  EXPECT_EQ(
      Entries(mode.folder),
      (std::vector<std::wstring>{L"libwebview.dll", L"plugin-generator.exe", L"uninstall.exe"}));
  EXPECT_EQ(ReadBytes(mode.folder / L"plugin-generator.exe"),
            ReadBytes(ProgramFolder() / L"plugin-generator.exe"));
  EXPECT_EQ(ReadBytes(mode.folder / L"libwebview.dll"),
            ReadBytes(ProgramFolder() / L"libwebview.dll"));
  const std::wstring program = (mode.folder / L"plugin-generator.exe").wstring();
  EXPECT_EQ(ReadShortcut(mode.shortcut), (Shortcut{program, program, 0})) << mode.shortcut;
  EXPECT_EQ(RegistryText(mode.root, kUninstallKey, L"DisplayName"), kProduct);
  EXPECT_EQ(RegistryText(mode.root, kUninstallKey, L"DisplayVersion"), ToWide(PROGRAM_VERSION));
  EXPECT_EQ(RegistryText(mode.root, kUninstallKey, L"Publisher"), L"Mardova");
  EXPECT_EQ(RegistryText(mode.root, kUninstallKey, L"InstallLocation"), mode.folder.wstring());
  EXPECT_EQ(RegistryText(mode.root, kUninstallKey, L"UninstallString"),
            L"\"" + (mode.folder / L"uninstall.exe").wstring() + L"\"");
  EXPECT_FALSE(KeyExists(mode.other_root, kUninstallKey));

  ExpectEmptyWindowAndCleanEnd(mode.folder / L"plugin-generator.exe");

  // _?= runs the uninstaller where it is and until it ends, instead of from a copy in the
  // temporary folder; so it cannot delete itself, and only it may be left.
  ASSERT_EQ(RunToEnd(mode.folder / L"uninstall.exe", L"/S _?=" + mode.folder.wstring()),
            std::optional<DWORD>(0));
  EXPECT_EQ(Entries(mode.folder), std::vector<std::wstring>{L"uninstall.exe"});
  EXPECT_FALSE(fs::exists(mode.shortcut));
  EXPECT_FALSE(KeyExists(mode.root, kUninstallKey));
  EXPECT_EQ(ReadBytes(plug_in_), "hello");
  EXPECT_EQ(PendingEntry(L"demo.js"), plug_in_.wstring() + L'\0');
}

INSTANTIATE_TEST_SUITE_P(Modes, InstallerTest, ::testing::ValuesIn(Modes()));

TEST(SetupFileTest, CarriesProductVersionAndProgramIcon) {
  const FileVersion version(SetupFile());
  EXPECT_EQ(version.Text(L"ProductName"), kProduct);
  EXPECT_EQ(version.Text(L"CompanyName"), L"Mardova");
  EXPECT_EQ(version.Text(L"ProductVersion"), ToWide(PROGRAM_VERSION));
  ASSERT_NE(version.fixed(), nullptr);
  EXPECT_EQ(version.fixed()->dwProductVersionMS,
            static_cast<DWORD>(MAKELONG(PROGRAM_VERSION_MINOR, PROGRAM_VERSION_MAJOR)));

  const Resources resources(SetupFile());
  const std::optional<int> group = resources.FirstIconGroup();
  ASSERT_TRUE(group.has_value());
  std::optional<std::vector<std::string>> images = resources.IconImages(*group);
  ASSERT_TRUE(images.has_value());
  std::vector<std::string> expected = IcoImages(ReadBytes(ProgramIco()));
  std::sort(images->begin(), images->end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(*images, expected);
}

}  // namespace
}  // namespace wine_test
