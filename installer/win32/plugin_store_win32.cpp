// Plug-in files on Windows: the shell's Documents folder and Win32 files, UTF-16 at each call.
#include "installer/platform.h"
#include "installer/win32/atomic_file.h"
#include "installer/win32/unique_handles.h"
#include "installer/win32/utf16.h"
#include "installer/win32/windows_headers.h"

namespace installer {
namespace {

using win32::UniqueItemList;

bool IsDirectory(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

class Win32PlugInStore final : public PlugInStore {
 public:
  std::optional<std::string> DocumentsFolder() override {
    UniqueItemList items;
    if (FAILED(SHGetFolderLocation(nullptr, CSIDL_PERSONAL, nullptr, 0, items.Receive()))) {
      return std::nullopt;
    }
    wchar_t path[MAX_PATH] = {};
    if (!SHGetPathFromIDListW(items.get(), path) || path[0] == L'\0') return std::nullopt;
    std::optional<std::string> folder = win32::WideToUtf8(path);
    if (folder && folder->back() != '\\') *folder += '\\';
    return folder;
  }

  char Separator() const override { return '\\'; }

  bool MakeFolder(const std::string& path) override {
    std::optional<std::wstring> folder = win32::Utf8ToWide(path);
    if (!folder) return false;
    while (!folder->empty() && (folder->back() == L'\\' || folder->back() == L'/')) {
      folder->pop_back();
    }
    if (folder->empty() || folder->size() >= win32::kMaxPath) return false;
    if (IsDirectory(*folder)) return true;
    // Another program may make the folder at the same moment; what counts is that it exists.
    CreateDirectoryW(folder->c_str(), nullptr);
    return IsDirectory(*folder);
  }

  bool ReplaceFile(const std::string& path, std::string_view bytes) override {
    const std::optional<std::wstring> wide = win32::Utf8ToWide(path);
    return wide && win32::ReplaceFileAtomically(*wide, bytes);
  }
};

}  // namespace

std::unique_ptr<PlugInStore> MakePlatformPlugInStore() {
  return std::make_unique<Win32PlugInStore>();
}

}  // namespace installer
